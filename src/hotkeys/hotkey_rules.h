// The platform-free decisions of the global triggers.
#pragma once

#include <cstdint>
#include <string>

#include "settings/toggle_binding.h"

namespace kestul {

// The "ホットキー競合" text for the triggers that could not be registered; empty when none failed.
std::wstring HotkeyConflictText(bool f6Failed, bool f9Failed, bool toggleFailed, ToggleBinding binding);

enum class SideButtonAction { Pass, Swallow, SwallowAndToggle };

constexpr std::uint32_t kMessageXButtonDown = 0x020B;
constexpr std::uint32_t kMessageXButtonUp = 0x020C;

// `xButton` is the high word of the hook record's mouseData (1 or 2 for the side buttons);
// `passThrough` lets every button go on (the settings view).
SideButtonAction DecideSideButton(bool passThrough, ToggleBinding binding, std::uint32_t message,
                                  std::uint32_t xButton);

}  // namespace kestul
