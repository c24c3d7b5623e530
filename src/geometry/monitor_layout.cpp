#include "geometry/monitor_layout.h"

#include <algorithm>
#include <tuple>

namespace kestul {

void SortMonitorLayout(MonitorLayout& layout) {
  std::stable_sort(layout.begin(), layout.end(), [](const MonitorRect& a, const MonitorRect& b) {
    return std::tie(a.left, a.top, a.right, a.bottom) < std::tie(b.left, b.top, b.right, b.bottom);
  });
}

std::wstring LayoutSignature(const MonitorLayout& layout) {
  std::wstring signature;
  for (const MonitorRect& m : layout) {
    signature += std::to_wstring(m.left) + L',' + std::to_wstring(m.top) + L',' + std::to_wstring(m.right) +
                 L',' + std::to_wstring(m.bottom) + L';';
  }
  return signature;
}

bool IsPointOnMonitor(ScreenPoint point, const MonitorLayout& layout) {
  return std::any_of(layout.begin(), layout.end(), [point](const MonitorRect& m) {
    return m.left <= point.x && point.x < m.right && m.top <= point.y && point.y < m.bottom;
  });
}

PositionCheck ValidateSavedPosition(bool positionSaved, ScreenPoint point,
                                    const std::wstring& storedSignature, const MonitorLayout& layout) {
  if (!positionSaved) return PositionCheck::NotSaved;
  if (LayoutSignature(layout) != storedSignature) return PositionCheck::LayoutChanged;
  return IsPointOnMonitor(point, layout) ? PositionCheck::Ok : PositionCheck::OffMonitor;
}

}  // namespace kestul
