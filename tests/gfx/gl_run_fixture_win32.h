// Runs the real kernel with the video update task and a probe task that
// draws and looks at the window from inside the frame loop. Every run has a
// deadline: a probe that sees no end by then stops all tasks itself and
// records that it had to.
#pragma once

#include <windows.h>

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>

#include "engine/core/kernel.h"
#include "engine/core/module.h"
#include "engine/core/singleton.h"
#include "engine/gl/gl_window_win32.h"
#include "engine/gl/video_update_task.h"

inline int64_t CounterNow() {
  LARGE_INTEGER c;
  QueryPerformanceCounter(&c);
  return c.QuadPart;
}

inline double CounterSeconds(int64_t ticks) {
  LARGE_INTEGER f;
  QueryPerformanceFrequency(&f);
  return static_cast<double>(ticks) / static_cast<double>(f.QuadPart);
}

// ShowCursor's display count, left as it was found.
inline int CursorCount() {
  const int count = ShowCursor(TRUE) - 1;
  ShowCursor(FALSE);
  return count;
}

class ProbeTask : public ITask {
 public:
  ProbeTask() {
    name = "Probe";
    order = 100;  // draws before the video task presents
  }
  bool Start() override {
    deadline = GetTickCount64() + 20000;
    if (onStart) onStart();
    return true;
  }
  void Update() override {
    ++frames;
    if (onFrame) onFrame(frames);
    if (GetTickCount64() > deadline && !timedOut) {
      timedOut = true;
      VekKernel::Instance()->StopAllTasks();
    }
  }
  void Stop() override {
    stopped = true;
    const HWND w = GLWindow::Instance()->window;
    windowAliveAtStop = w != nullptr && IsWindow(w);
  }

  std::function<void()> onStart;
  std::function<void(int frame)> onFrame;
  int frames = 0;
  bool stopped = false;
  bool windowAliveAtStop = false;
  bool timedOut = false;

 private:
  ULONGLONG deadline = 0;
};

class MessageRecorder : public IWindowMsgHandler {
 public:
  intptr_t HandleMessage(NativeWindow, uint32_t message, MessageWParam, MessageLParam, bool& handled) override {
    if (message == WM_QUIT) sawQuit = true;
    handled = false;
    return 0;
  }
  bool sawQuit = false;
};

class GLRun : public testing::Test {
 protected:
  void SetUp() override {
    ReleaseSingletons();
    VekModule::Instance()->instance = GetModuleHandleW(nullptr);
    probe = CRefCountPtrT<ProbeTask>(new ProbeTask());
  }
  void TearDown() override {
    probe.Reset();
    ReleaseSingletons();
  }

  GLWindowSettingsBase& Settings() { return *GLWindowSettings::Instance(); }
  GLWindowBase& Window() { return *GLWindow::Instance(); }

  // The shell's order: video task first, then the drawing task.
  void Run() {
    VekKernelBase& kernel = *VekKernel::Instance();
    kernel.AddMsgHandler(&messages);
    kernel.AddTask(VideoUpdateTask::Instance().get());
    kernel.AddTask(probe.get());
    kernel.Run();
    EXPECT_FALSE(probe->timedOut) << "the run did not end by itself";
  }

  // Asks the window to close the way a user would.
  void Close() { PostMessageW(Window().window, WM_CLOSE, 0, 0); }

  CRefCountPtrT<ProbeTask> probe;
  MessageRecorder messages;
};

// The figure after "Average FPS Rate:" in `log`, or -1 when there is none.
inline double LoggedFrameRate(const std::string& log) {
  const std::string key = "Average FPS Rate:";
  const size_t at = log.find(key);
  if (at == std::string::npos) return -1.0;
  return std::stod(log.substr(at + key.size()));
}
