// The start/stop trigger as a small integer code, and its text, key and display forms.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kestul {

// 1..11 for F1..F11 except 6 and 9; 100 and 101 for mouse side buttons 1 and 2.
using ToggleBinding = std::int32_t;

constexpr ToggleBinding kDefaultToggleBinding = 8;
constexpr ToggleBinding kToggleMouseX1 = 100;
constexpr ToggleBinding kToggleMouseX2 = 101;

// Parses a text code of the settings file ("f1".."f11", "mouse_x1", "mouse_x2").
bool ParseToggleBinding(std::string_view text, ToggleBinding& code);
// Only valid codes are formatted; anything else but 1..11 and 100 reads as "mouse_x2".
std::string FormatToggleBinding(ToggleBinding code);
bool IsMouseBinding(ToggleBinding code);
// VK_F1..VK_F11 for function-key codes, 0 for the side buttons.
std::uint32_t ToggleBindingVirtualKey(ToggleBinding code);
std::wstring ToggleBindingDisplayName(ToggleBinding code);

}  // namespace kestul
