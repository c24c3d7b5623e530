#include "hotkeys/hotkey_rules.h"

#include "common/message_texts.h"

namespace kestul {

std::wstring HotkeyConflictText(const HotkeyFailures& failed, ToggleBinding binding) {
  std::wstring list;
  if (failed.registerPosition) list += L"F6 ";
  if (failed.emergencyStop) list += L"F9 ";
  if (failed.toggle) list += ToggleBindingDisplayName(binding) + L" ";
  if (list.empty()) return {};
  return kHotkeyConflictText + list + kHotkeyConflictTextAfterKeys;
}

SideButtonAction DecideSideButton(bool passThrough, ToggleBinding binding, std::uint32_t message,
                                  std::uint32_t xButton) {
  if (passThrough || !IsMouseBinding(binding)) return SideButtonAction::Pass;
  if (message != kMessageXButtonDown && message != kMessageXButtonUp) return SideButtonAction::Pass;
  const std::uint32_t wanted = binding == kToggleMouseX1 ? 1 : 2;
  if (xButton != wanted) return SideButtonAction::Pass;
  return message == kMessageXButtonDown ? SideButtonAction::SwallowAndToggle : SideButtonAction::Swallow;
}

}  // namespace kestul
