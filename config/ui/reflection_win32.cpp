// Reflection of child notifications: the parent hands WM_COMMAND, WM_NOTIFY
// and WM_DRAWITEM back to the child window named in the message.
#include "config/ui/message_map_win32.h"

bool ReflectNotifications(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  HWND child = nullptr;
  switch (message) {
    case WM_COMMAND:
      // Menu and accelerator commands carry no window.
      child = reinterpret_cast<HWND>(lParam);
      break;
    case WM_NOTIFY:
      if (lParam != 0) child = reinterpret_cast<const NMHDR*>(lParam)->hwndFrom;
      break;
    case WM_DRAWITEM:
      // Menus are drawn by their owner, not reflected.
      if (lParam != 0 && wParam != 0) child = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)->hwndItem;
      break;
    default:
      return false;
  }
  if (child == nullptr || !IsWindow(child)) return false;
  result = SendMessageW(child, kReflectBase + message, wParam, lParam);
  return true;
}
