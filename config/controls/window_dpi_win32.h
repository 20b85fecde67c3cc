// The DPI a window is shown at: its own where the system tracks DPI per
// window (Windows 10 1607 on), else the screen's.
#pragma once

#include <windows.h>

#include <cstdint>

int32_t WindowDpi(HWND window);

// Sent to child windows once their parent has handled WM_DPICHANGED
// (Windows 10 1703 on); the headers name it only for newer targets.
#ifndef WM_DPICHANGED_AFTERPARENT
#define WM_DPICHANGED_AFTERPARENT 0x02E3
#endif
