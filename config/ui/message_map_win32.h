// The message-map contract shared by every window object of the configuration
// UI: windows, dialogs and property pages all answer one function that takes a
// message and says whether it handled it. Also the reflection of child
// notifications from a parent to the child that sent them.
// Depends on: <windows.h> only.
#pragma once

#include <windows.h>

// Reflected messages arrive at the child as kReflectBase + the original
// message (WM_COMMAND becomes OCM_COMMAND), so a control can tell its own
// notifications apart from commands sent to it.
constexpr UINT kReflectBase = WM_USER + 0x1C00;
constexpr UINT OCM_COMMAND = kReflectBase + WM_COMMAND;
constexpr UINT OCM_NOTIFY = kReflectBase + WM_NOTIFY;
constexpr UINT OCM_DRAWITEM = kReflectBase + WM_DRAWITEM;

class CMessageMap {
 public:
  virtual ~CMessageMap() = default;
  // Returns true when the message was handled; `result` is then the answer.
  // Unhandled messages go to the default processing of the window kind.
  virtual bool ProcessWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                    LRESULT& result) = 0;
};

// For a parent's message map: WM_COMMAND from a control, WM_NOTIFY and
// WM_DRAWITEM are sent back to the child window that caused them. Returns true
// (with the child's answer in `result`) when the message was reflected.
bool ReflectNotifications(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
