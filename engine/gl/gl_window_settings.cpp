#include "engine/gl/gl_window_settings.h"

#include "engine/core/log.h"

void GLWindowSettingsBase::OnCreate() {
  fullScreen = false;
  swapInterval = 0;
  swapIntervalRequest.Drop();
  colorBits = 32;
  windowX = windowY = 0;
  windowWidth = 640;
  windowHeight = 480;
  QueryDesktopSize(screenWidth, screenHeight);
  monitorSpan = MonitorSpan::AllMonitors;
  multiMonitor = false;
  monitorLayout = MonitorLayout{};
  fieldOfView = 60.0f;
  aspect = CurrentHeight() != 0 ? static_cast<float>(CurrentWidth()) / static_cast<float>(CurrentHeight()) : 1.0f;
  nearPlane = 0.001f;
  farPlane = 100000.0f;
  title.clear();
  parentWindow = nullptr;
  className = L"csGLWindow";
  classRegistered = false;
  LifecycleLog() << "GLWindowSettingsBase this:" << std::hex << static_cast<const void*>(this) << std::dec
                 << " created\n";
}

bool GLWindowSettingsBase::UseMonitorLayout(const MonitorLayout& layout) {
  multiMonitor = !layout.switchDisplayMode;
  if (!multiMonitor) return false;
  monitorLayout = layout;
  screenWidth = layout.fieldWidth;
  screenHeight = layout.fieldHeight;
  return true;
}

size_t GLWindowSettingsBase::FieldCount() const {
  return fullScreen && multiMonitor && parentWindow == nullptr ? monitorLayout.fields.size() : 1;
}

GLViewportRect GLWindowSettingsBase::FieldArea(size_t index) const {
  if (index >= FieldCount()) return GLViewportRect{};
  if (fullScreen && multiMonitor && parentWindow == nullptr) return monitorLayout.fields[index];
  return GLViewportRect{0, 0, CurrentWidth(), CurrentHeight()};
}

void GLWindowSettingsBase::RequestSwapInterval(int32_t interval) {
  swapInterval = interval;
  swapIntervalRequest.Post(interval);
}

void GLWindowSettingsBase::OnDestroy() {
  LifecycleLog() << "GLWindowSettingsBase this:" << std::hex << static_cast<const void*>(this) << std::dec
                 << " destroyed\n";
}
