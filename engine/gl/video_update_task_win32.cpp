#include <windows.h>
#include <dwmapi.h>

#include <GL/gl.h>

#include "engine/core/frame_pacer.h"
#include "engine/core/kernel.h"
#include "engine/core/log.h"
#include "engine/gl/gl_extensions_win32.h"
#include "engine/gl/gl_window_settings.h"
#include "engine/gl/gl_window_win32.h"
#include "engine/gl/video_frame_rate.h"
#include "engine/gl/video_update_task.h"

namespace {
// The compositor's exact refresh rate, 0 when there is none to ask (no
// dwmapi.dll before Vista, composition off on Windows 7). Called for the
// whole desktop: Windows 8.1 on refuses a window here.
double CompositorRefreshHz() {
  HMODULE dwm = LoadLibraryW(L"dwmapi.dll");
  if (dwm == nullptr) return 0.0;
  using TimingInfo = HRESULT(WINAPI*)(HWND, DWM_TIMING_INFO*);
  auto query = reinterpret_cast<TimingInfo>(
      reinterpret_cast<void*>(GetProcAddress(dwm, "DwmGetCompositionTimingInfo")));
  double hz = 0.0;
  DWM_TIMING_INFO info{};
  info.cbSize = sizeof(info);
  if (query != nullptr && SUCCEEDED(query(nullptr, &info)) && info.rateRefresh.uiDenominator != 0)
    hz = static_cast<double>(info.rateRefresh.uiNumerator) / static_cast<double>(info.rateRefresh.uiDenominator);
  FreeLibrary(dwm);
  return hz;
}

// Paces the kernel to the display the window is on: no more frames than it
// shows, a preview (it has a parent window) fewer still. VREFRESH is the rate
// of the display the window's device context belongs to, taken after any
// full-screen mode switch. On the loop's thread, with the context current.
void PaceToDisplay(GLWindowBase& window) {
  const bool preview = GLWindowSettings::Instance()->parentWindow != nullptr;
  const int32_t refreshHz = GetDeviceCaps(window.dc, VREFRESH);
  const double compositorHz = CompositorRefreshHz();
  // Without WGL_EXT_swap_control the driver's policy is unknown: paced as if
  // the swap never waits.
  const bool verticalSync = GLExt().wglGetSwapIntervalEXT != nullptr && GLExt().wglGetSwapIntervalEXT() > 0;
  const double periodMs = FramePeriodMs(refreshHz, compositorHz, preview, verticalSync);
  VekKernelBase& kernel = *VekKernel::Instance();
  kernel.SetFramePeriod(periodMs);
  kernel.SetDisplayPeriod(1000.0 / RefreshHz(refreshHz, compositorHz));
  MainLog() << "<i> " << "Frame period:" << periodMs << " ms (display refresh " << refreshHz << " Hz, compositor "
            << compositorHz << " Hz, vertical sync " << (verticalSync ? "on" : "off") << ")\n";
}
}  // namespace

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
  PaceToDisplay(*GLWindow::Instance());
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
  // Both are asked every frame: each uses up what it reports.
  const bool swapIntervalApplied = window.ApplyRequestedSwapInterval();
  if (window.TakeDisplayChange() || swapIntervalApplied) PaceToDisplay(window);
  window.Present();
  window.FinishModeSwitch();
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
