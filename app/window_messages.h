// The few Win32 message numbers the portable shell code reacts to. They are
// part of the Windows ABI; saver_app_win32.cpp checks them against
// <windows.h> at compile time.
#pragma once

#include <cstdint>

namespace winmsg {
inline constexpr uint32_t kClose = 0x0010;        // WM_CLOSE
inline constexpr uint32_t kDisplayChange = 0x007E;  // WM_DISPLAYCHANGE
inline constexpr uint32_t kKeyDown = 0x0100;      // WM_KEYDOWN
inline constexpr uint32_t kSysKeyDown = 0x0104;   // WM_SYSKEYDOWN
inline constexpr uint32_t kMouseMove = 0x0200;    // WM_MOUSEMOVE
inline constexpr uint32_t kLButtonDown = 0x0201;  // WM_LBUTTONDOWN
inline constexpr uint32_t kMouseWheel = 0x020A;   // WM_MOUSEWHEEL
inline constexpr uint32_t kMouseLast = 0x020E;    // WM_MOUSELAST (WM_MOUSEHWHEEL)
inline constexpr uint32_t kPowerBroadcast = 0x0218;  // WM_POWERBROADCAST
// WM_POWERBROADCAST's wParam: the power source or battery changed; a
// registered power setting changed (lParam: POWERBROADCAST_SETTING*).
inline constexpr uintptr_t kPbtPowerStatusChange = 0x000A;   // PBT_APMPOWERSTATUSCHANGE
inline constexpr uintptr_t kPbtPowerSettingChange = 0x8013;  // PBT_POWERSETTINGCHANGE
}  // namespace winmsg
