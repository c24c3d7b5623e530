// Platform-free arithmetic and texts of the user interface.
#pragma once

#include <cstdint>
#include <string>

namespace kestul {

// (value * dpi + 48) / 96, truncating: rounds non-negative values to the nearest, halves up.
constexpr std::int64_t ScaleForDpi(std::int64_t value, std::int64_t dpi) {
  return (value * dpi + 48) / 96;
}

// "X=<x> / Y=<y>" for a saved position, "未登録" otherwise.
std::wstring PositionText(bool positionSaved, std::int32_t x, std::int32_t y);

}  // namespace kestul
