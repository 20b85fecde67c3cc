#include "app/task_engine_link_win32.h"

#include <windows.h>

#include <GL/gl.h>

#include "engine/gl/gl_window_settings.h"
#include "engine/gl/gl_window_win32.h"
#include "life/vivarn_task.h"

namespace {

void PassClearColour(const float rgba[4]) {
  GLWindow::Instance();  // the window object exists before anything asks it to draw
  // A no-op without a current context (the pages' thread, start-up); the
  // background quad covers the field's area on every frame anyway.
  glClearColor(rgba[0], rgba[1], rgba[2], rgba[3]);
}

class EngineTaskHost : public ITaskHost {
 public:
  OutputSize CurrentOutputSize() const override {
    const GLWindowSettingsBase& settings = *GLWindowSettings::Instance();
    return OutputSize{settings.CurrentWidth(), settings.CurrentHeight()};
  }
  std::vector<OutputSize> FieldSizes() const override {
    const GLWindowSettingsBase& settings = *GLWindowSettings::Instance();
    std::vector<OutputSize> sizes;
    for (size_t i = 0; i < settings.FieldCount(); ++i) {
      const GLViewportRect area = settings.FieldArea(i);
      sizes.push_back(OutputSize{area.width, area.height});
    }
    return sizes;
  }
  // Not the thread that owns the context: the kernel thread applies the
  // request at its next frame.
  void VerticalSyncChanged(uint32_t swapInterval) override {
    GLWindowSettings::Instance()->RequestSwapInterval(static_cast<int32_t>(swapInterval));
  }
  void BackgroundChanged(const float rgba[4]) override { PassClearColour(rgba); }
};

}  // namespace

void ConnectTaskToEngine() {
  static EngineTaskHost host;
  VivarnTaskBse& task = *VivarnTask::Instance().get();
  task.SetHost(&host);
  const LifeSettings settings = task.Settings();
  GLWindowSettingsBase& window = *GLWindowSettings::Instance();
  // The window applies it as it makes its context: no request yet.
  window.swapInterval = static_cast<int32_t>(settings.VSyncOn);
  // Read when full screen lays out the monitors.
  window.monitorSpan = static_cast<MonitorSpan>(settings.EffectiveMonitors());
  PassClearColour(settings.BkColor);
  // The window calls it on the kernel thread, between frames.
  GLWindow::Instance()->outputResized = [] { VivarnTask::Instance()->FollowOutputSize(); };
}
