#include <windows.h>

#include <GL/gl.h>

#include "engine/core/frame_pacer.h"
#include "engine/core/kernel.h"
#include "engine/core/log.h"
#include "engine/gl/gl_window_settings.h"
#include "engine/gl/gl_window_win32.h"
#include "engine/gl/video_frame_rate.h"
#include "engine/gl/video_update_task.h"

VideoUpdateTaskBase::VideoUpdateTaskBase() {
  LARGE_INTEGER f;
  if (QueryPerformanceFrequency(&f) && f.QuadPart > 0) {
    frequency = f.QuadPart;
    msPerTick = 1000.0 / static_cast<double>(frequency);
    RestartTiming();
  }
}

void VideoUpdateTaskBase::OnCreate() {
  name = "Video Update";
  order = 100000;  // after every drawing task: present last
  frames = 0;
  LifecycleLog() << "VideoUpdateTaskBase this:" << std::hex << static_cast<const void*>(this) << std::dec
                 << " created\n";
}

void VideoUpdateTaskBase::OnDestroy() {
  LifecycleLog() << "VideoUpdateTaskBase this:" << std::hex << static_cast<const void*>(this) << std::dec
                 << " destroyed\n";
}

double VideoUpdateTaskBase::ElapsedMs() const {
  LARGE_INTEGER now;
  if (frequency <= 0 || !QueryPerformanceCounter(&now)) return 0.0;
  return static_cast<double>(now.QuadPart - startCounter) * msPerTick;
}

void VideoUpdateTaskBase::RestartTiming() {
  LARGE_INTEGER now;
  startCounter = QueryPerformanceCounter(&now) ? now.QuadPart : 0;
  sampleCount = 0;
  totalTime = 0.0;
  lastInterval = 0.0;
  currentStamp = previousStamp = ElapsedMs();
}

bool VideoUpdateTaskBase::Start() {
  if (!GLWindow::Instance()->Create()) {
    VekKernel::Instance()->Abort(0);
    return false;
  }
  // No more frames than the display shows; a preview (it has a parent
  // window) fewer still. VREFRESH is the rate of the display the window's
  // device context belongs to, taken after any full-screen mode switch.
  GLWindowBase& window = *GLWindow::Instance();
  const bool preview = GLWindowSettings::Instance()->parentWindow != nullptr;
  const int32_t refreshHz = GetDeviceCaps(window.dc, VREFRESH);
  const double periodMs = FramePeriodMs(refreshHz, preview);
  VekKernel::Instance()->SetFramePeriod(periodMs);
  MainLog() << "<i> " << "Frame period:" << periodMs << " ms (display refresh " << refreshHz << " Hz)\n";
  // The reported rate is frames over the span from here to Stop, so a task
  // started a second time in one process counts its own frames only.
  frames = 0;
  RestartTiming();
  return true;
}

void VideoUpdateTaskBase::Update() {
  glFlush();
  ++frames;
  GLWindowBase& window = *GLWindow::Instance();
  // This thread owns the context: vertical-sync changes made elsewhere wait
  // here, and take effect from this frame's swap on.
  window.ApplyRequestedSwapInterval();
  window.Present();
  // The next frame starts from buffers cleared in the current clear colour.
  window.ClearFrame();
}

void VideoUpdateTaskBase::Stop() {
  GLWindow::Instance()->Destroy();
  previousStamp = currentStamp;
  const double now = ElapsedMs();
  ++sampleCount;
  currentStamp = now;
  lastInterval = now - previousStamp;
  totalTime += lastInterval;
  MainLog() << "<i> " << "Average FPS Rate:" << AverageFrameRate(frames, lastInterval) << "\n";
}
