#include "ui/ui_rules.h"

namespace kestul {

std::wstring PositionText(bool positionSaved, std::int32_t x, std::int32_t y) {
  if (!positionSaved) return L"未登録";
  return L"X=" + std::to_wstring(x) + L" / Y=" + std::to_wstring(y);
}

}  // namespace kestul
