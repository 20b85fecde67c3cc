// The desktop's monitors as the layout code takes them.
#include <windows.h>

#include "engine/gl/monitor_layout.h"

namespace {
MonitorSource g_source = nullptr;

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

void SetMonitorSource(MonitorSource source) { g_source = source; }

std::vector<MonitorArea> DesktopMonitors() {
  if (g_source) return g_source();
  std::vector<MonitorArea> monitors;
  if (!EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&monitors))) monitors.clear();
  return monitors;
}
