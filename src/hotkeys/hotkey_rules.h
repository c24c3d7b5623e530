// The platform-free decisions of the global triggers.
#pragma once

#include <cstdint>
#include <string>

#include "settings/toggle_binding.h"

namespace kestul {

// Which of the global triggers the system refused.
struct HotkeyFailures {
  bool registerPosition = false;  // F6
  bool emergencyStop = false;     // F9
  bool toggle = false;            // the start/stop key or side button
};

// The "ホットキー競合" text for the triggers that could not be registered; empty when none failed.
std::wstring HotkeyConflictText(const HotkeyFailures& failed, ToggleBinding binding);

enum class SideButtonAction { Pass, Swallow, SwallowAndToggle };

constexpr std::uint32_t kMessageXButtonDown = 0x020B;
constexpr std::uint32_t kMessageXButtonUp = 0x020C;

// `xButton` is the high word of the hook record's mouseData (1 or 2 for the side buttons);
// `passThrough` lets every button go on (the settings view).
SideButtonAction DecideSideButton(bool passThrough, ToggleBinding binding, std::uint32_t message,
                                  std::uint32_t xButton);

}  // namespace kestul
