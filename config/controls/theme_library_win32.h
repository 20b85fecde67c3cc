// The visual-styles library, loaded at run time: on systems (and wine
// prefixes) without uxtheme.dll, or without an active theme, the controls
// draw the classic way. Loaded once per process.
#pragma once

#include <windows.h>
#include <uxtheme.h>

#include "engine/core/scoped_handle_win32.h"

struct ThemeLibrary {
  using OpenFn = HTHEME(WINAPI*)(HWND, LPCWSTR);
  using CloseFn = HRESULT(WINAPI*)(HTHEME);
  using DrawBackgroundFn = HRESULT(WINAPI*)(HTHEME, HDC, int, int, const RECT*, const RECT*);
  using DrawParentBackgroundFn = HRESULT(WINAPI*)(HWND, HDC, const RECT*);
  using ContentRectFn = HRESULT(WINAPI*)(HTHEME, HDC, int, int, const RECT*, RECT*);

  OpenFn open = nullptr;
  CloseFn close = nullptr;
  DrawBackgroundFn drawBackground = nullptr;
  DrawParentBackgroundFn drawParentBackground = nullptr;
  ContentRectFn contentRect = nullptr;

  bool Available() const { return open && close && drawBackground && drawParentBackground && contentRect; }
  static const ThemeLibrary& Get();
};

// A control's theme data, closed through the library that opened it.
struct ThemeHandleTraits : NullIsNoHandle<HTHEME> {
  static void Close(HTHEME theme) { ThemeLibrary::Get().close(theme); }
};
