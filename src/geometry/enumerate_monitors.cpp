#include "geometry/enumerate_monitors.h"

#include <windows.h>

namespace kestul {

namespace {

BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM layout) {
  MONITORINFO info{};
  info.cbSize = sizeof(info);
  if (GetMonitorInfoW(monitor, &info) != FALSE) {
    const RECT& r = info.rcMonitor;
    reinterpret_cast<MonitorLayout*>(layout)->push_back({r.left, r.top, r.right, r.bottom});
  }
  return TRUE;  // one failing monitor must not end the enumeration
}

}  // namespace

MonitorLayout EnumerateMonitors() {
  MonitorLayout layout;
  EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&layout));
  SortMonitorLayout(layout);
  return layout;
}

}  // namespace kestul
