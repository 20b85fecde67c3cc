// A user's click on one item of an open colour picker: button down and up
// posted at the item's centre, so they arrive inside the picker's own loop.
#pragma once

#include <windows.h>

#include "config/controls/picker_wnd_win32.h"

inline void ClickPickerItem(const CPickerWnd& picker, int32_t item) {
  const RECT r = picker.ItemRect(item);
  const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  PostMessageW(picker.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
  PostMessageW(picker.Handle(), WM_LBUTTONUP, 0, at);
}
