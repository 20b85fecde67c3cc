// The kernel's two plug-in interfaces: tasks run once per frame, message
// handlers see every window message of the loop's thread first.
// Portable: window handles and message parameters are plain integers here.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>

#include "engine/core/ref_count.h"

using NativeWindow = void*;     // HWND
using MessageWParam = uintptr_t;  // WPARAM
using MessageLParam = intptr_t;   // LPARAM

class ITask : public IRefCountPtrBase {
 public:
  ~ITask() override = default;

  virtual bool Start() = 0;
  virtual void Update() = 0;
  virtual void Stop() = 0;
  virtual void Pause() { paused.store(true, std::memory_order_relaxed); }
  virtual void Resume() { paused.store(false, std::memory_order_relaxed); }

  // Written by any thread (the configuration sheet stops the preview from the
  // main thread), read by the loop at its next task pass.
  std::atomic<bool> killRequested{false};
  std::atomic<bool> paused{false};
  int32_t order = 5000;
  // Milliseconds, in double so that they stay exact over days of running.
  double timeTotal = 0.0;
  double frameTime = 0.0;
  double timeAccum = 0.0;
  // The previous frame's own duration, not smoothed: what a clock that must
  // not run ahead after a stall counts (0 before the first frame is timed).
  double frameDuration = 0.0;
  // How many display refreshes this frame stands for (RefreshesPerFrame):
  // more than one where frames are paced slower than the display.
  int32_t refreshesPerFrame = 1;
  std::string name = "unnamed";
};

class IWindowMsgHandler {
 public:
  // Set `handled` to consume the message; the result is not used.
  virtual intptr_t HandleMessage(NativeWindow window, uint32_t message, MessageWParam wParam,
                                 MessageLParam lParam, bool& handled) = 0;

 protected:
  ~IWindowMsgHandler() = default;  // owners destroy handlers through their own type
};
