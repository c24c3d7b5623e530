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

// `xButton` is the high word of the hook record's mouseData (1 or 2 for the side buttons).
SideButtonAction DecideSideButton(bool inSettingsView, ToggleBinding binding, std::uint32_t message,
                                  std::uint32_t xButton);

// A low-level hook is called through a message to the thread that installed it, and every mouse
// event on the system waits for it. When that thread is held up past LowLevelHooksTimeout (300 ms
// when not set, never more than 1000 ms from Windows 10 1709 on), Windows removes the hook without
// a word. A save to a local disk took 1 to 2 ms when measured; 100 ms is far above that and well
// below the default timeout, so any call this long may have cost the hook.
constexpr std::uint64_t kMouseHookRiskMs = 100;
constexpr bool MouseHookMayBeGone(std::uint64_t blockedMs) {
  return blockedMs >= kMouseHookRiskMs;
}

}  // namespace kestul
