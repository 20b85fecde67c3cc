// What the one GL window of the process should be: size, colour depth, full
// screen or not, parent window, vertical sync. The run mode and the settings
// loader fill it before the kernel starts; afterwards only the window
// procedure writes it (position and size), on the kernel thread. No lock.
// Vertical sync is the exception: the configuration pages change it while
// the preview runs, so it is atomic and reaches the GL context through
// RequestSwapInterval.
// Portable: the window handle is an opaque pointer here.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>

#include "engine/core/ref_count.h"
#include "engine/core/singleton.h"
#include "engine/core/task.h"
#include "engine/gl/monitor_layout.h"
#include "engine/gl/swap_interval_request.h"

// The desktop size in pixels (GetSystemMetrics on Windows; 0 x 0 where there
// is no screen, as in the native build).
void QueryDesktopSize(int32_t& width, int32_t& height);

class GLWindowSettingsBase : public IRefCountPtrBase {
 public:
  void OnCreate() override;
  void OnDestroy() override;

  // The size frames are drawn at: the screen when full screen, else the window.
  int32_t CurrentWidth() const { return fullScreen ? screenWidth : windowWidth; }
  int32_t CurrentHeight() const { return fullScreen ? screenHeight : windowHeight; }

  // Full screen over several monitors: keeps `layout` for the window's
  // placement and viewports and takes its field size as the screen size.
  // For one monitor (or none listed) nothing changes and false is returned:
  // the screen size stays the desktop's and the display mode is switched as
  // ever.
  bool UseMonitorLayout(const MonitorLayout& layout);
  // The fields a frame draws: over several monitors the layout's (one for
  // each monitor with Monitors 2), else one of the current size at 0, 0.
  // FieldArea answers an empty area for an index past the last.
  size_t FieldCount() const;
  GLViewportRect FieldArea(size_t index) const;

  // Any thread: sets swapInterval and asks the kernel thread to apply it to
  // the running window at its next frame.
  void RequestSwapInterval(int32_t interval);

  bool fullScreen = false;
  std::atomic<int32_t> swapInterval{0};  // wglSwapIntervalEXT argument; 0 = no vertical sync
  SwapIntervalRequest swapIntervalRequest;
  int32_t colorBits = 32;
  int32_t windowX = 0;
  int32_t windowY = 0;
  int32_t windowWidth = 640;
  int32_t windowHeight = 480;
  int32_t screenWidth = 0;
  int32_t screenHeight = 0;
  // Set from the saver's settings before the window is made; read only when
  // full screen meets several monitors.
  MonitorSpan monitorSpan = MonitorSpan::AllMonitors;
  bool multiMonitor = false;  // UseMonitorLayout took a layout
  MonitorLayout monitorLayout;
  // Kept for callers that want a perspective; nothing in the engine uses them.
  float fieldOfView = 60.0f;
  float aspect = 640.0f / 480.0f;
  float nearPlane = 0.001f;
  float farPlane = 100000.0f;
  std::wstring title;
  NativeWindow parentWindow = nullptr;  // HWND: preview and configuration modes
  std::wstring className = L"csGLWindow";
  bool classRegistered = false;
};

class GLWindowSettings : public CRefCountPtrT<GLWindowSettingsBase> {
 public:
  using CRefCountPtrT<GLWindowSettingsBase>::CRefCountPtrT;
  static GLWindowSettings& Instance() {
    return SingletonInstance<GLWindowSettings, GLWindowSettingsBase, SingletonSlot::GLWindowSettings>();
  }
};
