// The start/stop trigger as a small integer code, and its text, key and display forms.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kestul {

// n for Fn; 100 and 101 for mouse side buttons 1 and 2.
using ToggleBinding = std::int32_t;

constexpr ToggleBinding kDefaultToggleBinding = 8;
constexpr ToggleBinding kToggleMouseX1 = 100;
constexpr ToggleBinding kToggleMouseX2 = 101;
// Every key the user may choose, in the order the settings view lists them. F6 and F9 are fixed
// to registration and the emergency stop.
inline constexpr ToggleBinding kToggleBindings[] = {
    1, 2, 3, 4, 5, 7, 8, 10, 11, kToggleMouseX1, kToggleMouseX2};

// Parses a text code of the settings file ("f1".."f11", "mouse_x1", "mouse_x2").
bool ParseToggleBinding(std::string_view text, ToggleBinding& code);
// Only codes of kToggleBindings are formatted.
std::string FormatToggleBinding(ToggleBinding code);
bool IsMouseBinding(ToggleBinding code);
// VK_F1, which the Windows build checks against the SDK's.
constexpr std::uint32_t kVirtualKeyF1 = 0x70;
// VK_F1..VK_F11 for function-key codes, 0 for the side buttons.
std::uint32_t ToggleBindingVirtualKey(ToggleBinding code);
std::wstring ToggleBindingDisplayName(ToggleBinding code);

}  // namespace kestul
