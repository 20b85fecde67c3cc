#include "config/controls/window_dpi_win32.h"

#include "config/logic/dpi_scale.h"
#include "engine/core/scoped_handle_win32.h"

namespace {
using GetDpiForWindowFn = UINT(WINAPI*)(HWND);

// Windows 7 and 8 lack GetDpiForWindow, so it is looked up rather than imported.
GetDpiForWindowFn PerWindowDpi() {
  static const GetDpiForWindowFn fn = [] {
    HMODULE user32 = GetModuleHandleW(L"user32.dll");
    return user32 != nullptr ? reinterpret_cast<GetDpiForWindowFn>(
                                   reinterpret_cast<void*>(GetProcAddress(user32, "GetDpiForWindow")))
                             : nullptr;
  }();
  return fn;
}
}  // namespace

int32_t WindowDpi(HWND window) {
  if (window != nullptr) {
    if (GetDpiForWindowFn fn = PerWindowDpi()) {
      const UINT dpi = fn(window);
      if (dpi != 0) return static_cast<int32_t>(dpi);
    }
  }
  const ScopedWindowDc screen(GetDC(nullptr));
  const int dpi = screen ? GetDeviceCaps(screen.get(), LOGPIXELSX) : 0;
  return dpi > 0 ? dpi : kDesignDpi;
}
