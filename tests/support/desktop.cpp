#include "support/desktop.h"

#include <array>

#include "clicker/send_input_adapter.h"
#include "geometry/enumerate_monitors.h"

namespace kestul::test {

namespace {

// Signatures hold only digits, '-', ',' and ';'.
std::string Narrow(const std::wstring& text) {
  std::string narrow;
  for (const wchar_t ch : text) narrow += static_cast<char>(ch);
  return narrow;
}

}  // namespace

RECT PrimaryWorkArea() {
  MONITORINFO info{};
  info.cbSize = sizeof(info);
  GetMonitorInfoW(MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY), &info);
  return info.rcWork;
}

RECT LeftmostMonitor() {
  const MonitorLayout layout = EnumerateMonitors();
  if (layout.empty()) return PrimaryWorkArea();
  return {layout.front().left, layout.front().top, layout.front().right, layout.front().bottom};
}

RECT TargetArea(const RECT& area) {
  const LONG width = area.right - area.left, height = area.bottom - area.top;
  return {area.left + width * 2 / 5, area.top + height / 4, area.right - width / 10,
          area.bottom - height / 4};
}

POINT PointIn(const RECT& area, int percentX, int percentY) {
  return {area.left + (area.right - area.left) * percentX / 100,
          area.top + (area.bottom - area.top) * percentY / 100};
}

std::string DesktopSignature() {
  return Narrow(LayoutSignature(EnumerateMonitors()));
}

std::string ChangedDesktopSignature() {
  MonitorLayout layout = EnumerateMonitors();
  const VirtualScreen screen = CurrentVirtualScreen();
  const int right = screen.left + screen.width;
  layout.push_back({right, 0, right + 1280, 1024});
  SortMonitorLayout(layout);
  return Narrow(LayoutSignature(layout));
}

POINT OffMonitorPoint() {
  const VirtualScreen screen = CurrentVirtualScreen();
  const int left = screen.left, top = screen.top;
  const int right = left + screen.width - 1, bottom = top + screen.height - 1;
  // Monitors of unequal size leave a corner of the virtual screen uncovered.
  for (const POINT corner :
       std::array<POINT, 4>{{{left, top}, {right, top}, {left, bottom}, {right, bottom}}}) {
    if (MonitorFromPoint(corner, MONITOR_DEFAULTTONULL) == nullptr) return corner;
  }
  return {right + 1, 0};
}

}  // namespace kestul::test
