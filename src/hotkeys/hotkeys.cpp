#include "hotkeys/hotkeys.h"

#include <memory>

#include "app/run_control.h"
#include "hotkeys/hotkey_rules.h"
#include "common/message_texts.h"
#include "hotkeys/side_button_hook.h"

namespace kestul {

namespace {

void RemoveToggleTrigger(AppState& state) {
  UnregisterHotKey(state.window, HOTKEY_TOGGLE);
  state.sideButtonHook.reset();
}

}  // namespace

bool RegisterToggleBinding(AppState& state, ToggleBinding code) {
  if (IsMouseBinding(code)) {
    state.sideButtonHook = std::make_unique<SideButtonHook>(state.window, code, state.inSettingsView);
    if (!state.sideButtonHook->installed()) state.sideButtonHook.reset();
    return static_cast<bool>(state.sideButtonHook);
  }
  return RegisterHotKey(state.window, HOTKEY_TOGGLE, MOD_NOREPEAT, ToggleBindingVirtualKey(code)) != FALSE;
}

bool RebindToggle(AppState& state, ToggleBinding code) {
  const ToggleBinding old = state.settings.toggle_binding;
  RemoveToggleTrigger(state);
  if (RegisterToggleBinding(state, code)) {
    state.hotkeysReady = state.fixedHotkeysOk;
    state.settings.toggle_binding = code;
    return true;
  }
  // The old trigger goes back even when F6 or F9 is missing: without it the old key would reach
  // other programs and a bound side button would no longer be swallowed.
  const bool restored = RegisterToggleBinding(state, old);
  state.hotkeysReady = state.fixedHotkeysOk && restored;
  return false;
}

void UnregisterToggleBinding(AppState& state) {
  RemoveToggleTrigger(state);
}

void RegisterHotkeysForWindow(AppState& state) {
  const bool f6 = RegisterHotKey(state.window, HOTKEY_REGISTER_POSITION, MOD_NOREPEAT, VK_F6) != FALSE;
  const bool f9 = RegisterHotKey(state.window, HOTKEY_EMERGENCY_STOP, MOD_NOREPEAT, VK_F9) != FALSE;
  state.fixedHotkeysOk = f6 && f9;
  const bool toggle = RegisterToggleBinding(state, state.settings.toggle_binding);
  const std::wstring conflict = HotkeyConflictText(!f6, !f9, !toggle, state.settings.toggle_binding);
  if (!conflict.empty()) {
    state.hotkeysReady = false;
    ShowMessage(state, conflict.c_str(), kHotkeyConflictCaption, MB_ICONWARNING);
  }
}

void UnregisterHotkeysForWindow(AppState& state) {
  UnregisterHotKey(state.window, HOTKEY_REGISTER_POSITION);
  UnregisterHotKey(state.window, HOTKEY_EMERGENCY_STOP);
  UnregisterToggleBinding(state);
}

}  // namespace kestul
