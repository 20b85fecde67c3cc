// Builds without a screen (the native tests): the desktop has no size.
#include "engine/gl/gl_window_settings.h"

void QueryDesktopSize(int32_t& width, int32_t& height) {
  width = 0;
  height = 0;
}
