#include "config/controls/theme_library_win32.h"

const ThemeLibrary& ThemeLibrary::Get() {
  static const ThemeLibrary library = [] {
    ThemeLibrary t;
    // Kept loaded for the rest of the process: theme handles point into it.
    HMODULE module = LoadLibraryW(L"uxtheme.dll");
    if (module == nullptr) return t;
    t.open = reinterpret_cast<OpenFn>(reinterpret_cast<void*>(GetProcAddress(module, "OpenThemeData")));
    t.close = reinterpret_cast<CloseFn>(reinterpret_cast<void*>(GetProcAddress(module, "CloseThemeData")));
    t.drawBackground =
        reinterpret_cast<DrawBackgroundFn>(reinterpret_cast<void*>(GetProcAddress(module, "DrawThemeBackground")));
    t.drawParentBackground = reinterpret_cast<DrawParentBackgroundFn>(
        reinterpret_cast<void*>(GetProcAddress(module, "DrawThemeParentBackground")));
    t.contentRect = reinterpret_cast<ContentRectFn>(
        reinterpret_cast<void*>(GetProcAddress(module, "GetThemeBackgroundContentRect")));
    return t;
  }();
  return library;
}
