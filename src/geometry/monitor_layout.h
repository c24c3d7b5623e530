// The monitor layout, its text signature and the check of a saved position.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kestul {

// A monitor's full area in virtual-screen physical pixels (the fields of RECT).
struct MonitorRect {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t right = 0;
  std::int32_t bottom = 0;
  bool operator==(const MonitorRect&) const = default;
};

using MonitorLayout = std::vector<MonitorRect>;

struct ScreenPoint {
  std::int32_t x = 0;
  std::int32_t y = 0;
};

enum class PositionCheck : std::int32_t { Ok = 0, NotSaved = 1, LayoutChanged = 2, OffMonitor = 3 };

// Ascending by left, then top, then right, then bottom.
void SortMonitorLayout(MonitorLayout& layout);
// "left,top,right,bottom;" per monitor in list order; empty for no monitors.
std::wstring LayoutSignature(const MonitorLayout& layout);
// Left and top inclusive, right and bottom exclusive.
bool IsPointOnMonitor(ScreenPoint point, const MonitorLayout& layout);
PositionCheck ValidateSavedPosition(bool positionSaved, ScreenPoint point,
                                    const std::wstring& storedSignature, const MonitorLayout& layout);

}  // namespace kestul
