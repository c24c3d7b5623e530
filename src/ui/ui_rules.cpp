#include "ui/ui_rules.h"

namespace kestul {

namespace {
constexpr std::uint32_t Rgb(std::uint32_t r, std::uint32_t g, std::uint32_t b) {
  return r | (g << 8) | (b << 16);
}
}  // namespace

Palette ChoosePalette(bool highContrast, const Palette& system) {
  if (highContrast) return system;
  return {.background = Rgb(247, 248, 250),
          .text = Rgb(32, 36, 43),
          .hint = Rgb(86, 94, 105),
          .editBackground = Rgb(255, 255, 255),
          .link = Rgb(0, 102, 204)};
}

std::wstring PositionText(bool positionSaved, std::int32_t x, std::int32_t y) {
  if (!positionSaved) return L"未登録";
  return L"X=" + std::to_wstring(x) + L" / Y=" + std::to_wstring(y);
}

}  // namespace kestul
