// The desktop's monitors as the layout code takes them.
#include <windows.h>

#include "engine/gl/monitor_layout.h"

namespace {
BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM list) {
  MONITORINFO info{};
  info.cbSize = sizeof(info);
  // A monitor unplugged during the enumeration is left out; the others stay.
  if (!GetMonitorInfoW(monitor, &info)) return TRUE;
  const RECT& r = info.rcMonitor;
  reinterpret_cast<std::vector<MonitorArea>*>(list)->push_back(
      MonitorArea{DesktopRect{r.left, r.top, r.right, r.bottom}, (info.dwFlags & MONITORINFOF_PRIMARY) != 0});
  return TRUE;
}
}  // namespace

std::vector<MonitorArea> DesktopMonitors() {
  std::vector<MonitorArea> monitors;
  if (!EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&monitors))) monitors.clear();
  return monitors;
}
