// The program's output: the size the GL window draws at, full screen or not.
#include "engine/gl/gl_window_settings.h"
#include "life/output_size.h"

OutputSize CurrentOutputSize() {
  const GLWindowSettingsBase& settings = *GLWindowSettings::Instance();
  return OutputSize{settings.CurrentWidth(), settings.CurrentHeight()};
}

void SetOutputSize(int32_t width, int32_t height) {
  GLWindowSettingsBase& settings = *GLWindowSettings::Instance();
  settings.fullScreen = false;
  settings.windowWidth = width;
  settings.windowHeight = height;
}
