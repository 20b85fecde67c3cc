// The desktop size for the GL window settings' full-screen defaults.
#include <windows.h>

#include "engine/gl/gl_window_settings.h"

void QueryDesktopSize(int32_t& width, int32_t& height) {
  width = GetSystemMetrics(SM_CXSCREEN);
  height = GetSystemMetrics(SM_CYSCREEN);
}
