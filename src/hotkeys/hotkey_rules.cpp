#include "hotkeys/hotkey_rules.h"

#include "common/message_texts.h"

namespace kestul {

std::wstring HotkeyConflictText(bool f6Failed, bool f9Failed, bool toggleFailed, ToggleBinding binding) {
  std::wstring list;
  if (f6Failed) list += L"F6 ";
  if (f9Failed) list += L"F9 ";
  if (toggleFailed) list += ToggleBindingDisplayName(binding) + L" ";
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
