#include "engine/gl/wine_child_presentation_win32.h"

bool RunningUnderWine() {
  const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  return ntdll && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

bool WineChildPresentation::Begin(HWND child, HWND parent, const wchar_t* className, const wchar_t* title,
                                  HINSTANCE instance) {
  standIn = nullptr;
  overlaysChild = false;
  if (!RunningUnderWine()) return true;
  RECT place{};
  GetClientRect(child, &place);
  DWORD parentProcess = 0;
  GetWindowThreadProcessId(parent, &parentProcess);
  overlaysChild = parentProcess != GetCurrentProcessId();
  HWND owner = nullptr;
  DWORD style = WS_POPUP;
  if (overlaysChild) {
    owner = GetAncestor(parent, GA_ROOT);
    GetWindowRect(child, &place);
    style |= WS_VISIBLE | WS_DISABLED;  // the child underneath keeps the input
  }
  standIn = CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, className, title, style, place.left, place.top,
                            place.right - place.left, place.bottom - place.top, owner, nullptr, instance, nullptr);
  return standIn != nullptr;
}

void WineChildPresentation::Resize(int32_t width, int32_t height) {
  if (standIn) SetWindowPos(standIn, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void WineChildPresentation::BeforeSwap(HWND child) {
  if (!standIn) return;
  if (overlaysChild) {
    FollowChild(child);
    return;
  }
  RECT client{};
  if (GetClientRect(child, &client)) frameCopy.CopyBackBuffer(child, client.right, client.bottom);
}

void WineChildPresentation::FollowChild(HWND child) {
  RECT place{}, overlay{};
  if (!GetWindowRect(child, &place) || !GetWindowRect(standIn, &overlay)) return;
  if (!EqualRect(&place, &overlay)) {
    SetWindowPos(standIn, nullptr, place.left, place.top, place.right - place.left, place.bottom - place.top,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
  }
  const bool shown = IsWindowVisible(child) != FALSE;
  if (shown != (IsWindowVisible(standIn) != FALSE)) ShowWindow(standIn, shown ? SW_SHOWNA : SW_HIDE);
}

void WineChildPresentation::End() {
  // It may be gone already: an overlay goes with its owner, the parent's
  // top-level window.
  if (standIn && IsWindow(standIn)) DestroyWindow(standIn);
  standIn = nullptr;
  overlaysChild = false;
}
