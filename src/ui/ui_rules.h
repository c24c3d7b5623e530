// Platform-free arithmetic and texts of the user interface.
#pragma once

#include <cstdint>
#include <string>

namespace kestul {

// (value * dpi + 48) / 96, truncating: rounds non-negative values to the nearest, halves up.
constexpr std::int64_t ScaleForDpi(std::int64_t value, std::int64_t dpi) {
  return (value * dpi + 48) / 96;
}

// The colours the window and the About dialog draw with, as COLORREF values (0x00BBGGRR).
struct Palette {
  std::uint32_t background = 0;
  std::uint32_t text = 0;
  std::uint32_t hint = 0;
  std::uint32_t editBackground = 0;
  std::uint32_t link = 0;
  // The system's colours, painted with its own brushes; the About dialog then takes the window's.
  bool systemColours = false;
  bool operator==(const Palette&) const = default;
};

// The program's own colours; with high contrast on, the user's colours (`system`) instead.
Palette ChoosePalette(bool highContrast, const Palette& system);

// "X=<x> / Y=<y>" for a saved position, "未登録" otherwise.
std::wstring PositionText(bool positionSaved, std::int32_t x, std::int32_t y);

}  // namespace kestul
