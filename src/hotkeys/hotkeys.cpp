#include "hotkeys/hotkeys.h"

#include <memory>

#include "app/run_control.h"
#include "common/message_texts.h"
#include "hotkeys/hotkey_rules.h"
#include "hotkeys/side_button_hook.h"

namespace kestul {

static_assert(kVirtualKeyF1 == VK_F1);

namespace {

// Empty when the system refuses the key, as when another program holds it.
WindowRegistration OwnedHotkey(HWND window, int id, UINT key) {
  if (RegisterHotKey(window, id, MOD_NOREPEAT, key) == FALSE) return {};
  return WindowRegistration([window, id] { UnregisterHotKey(window, id); });
}

// Installs the trigger for one code, where none is installed.
bool RegisterToggleBinding(AppState& state, ToggleBinding code) {
  if (IsMouseBinding(code)) {
    state.sideButtonHook = std::make_unique<SideButtonHook>(state.window, code, state.inSettingsView);
    if (!state.sideButtonHook->installed()) state.sideButtonHook.reset();
    return static_cast<bool>(state.sideButtonHook);
  }
  state.toggleHotkey = OwnedHotkey(state.window, HOTKEY_TOGGLE, ToggleBindingVirtualKey(code));
  return static_cast<bool>(state.toggleHotkey);
}

void RemoveToggleTrigger(AppState& state) {
  state.toggleHotkey.reset();
  state.sideButtonHook.reset();
}

}  // namespace

bool RebindToggle(AppState& state, ToggleBinding code) {
  const ToggleBinding old = state.settings.toggle_binding;
  RemoveToggleTrigger(state);
  if (RegisterToggleBinding(state, code)) {
    state.settings.toggle_binding = code;
    return true;
  }
  // The old trigger goes back even when F6 or F9 is missing: without it the old key would reach
  // other programs and a bound side button would no longer be swallowed.
  RegisterToggleBinding(state, old);
  return false;
}

void RegisterHotkeysForWindow(AppState& state) {
  state.registerPositionHotkey = OwnedHotkey(state.window, HOTKEY_REGISTER_POSITION, VK_F6);
  state.emergencyStopHotkey = OwnedHotkey(state.window, HOTKEY_EMERGENCY_STOP, VK_F9);
  const bool toggle = RegisterToggleBinding(state, state.settings.toggle_binding);
  const std::wstring conflict = HotkeyConflictText({.registerPosition = !state.registerPositionHotkey,
                                                    .emergencyStop = !state.emergencyStopHotkey,
                                                    .toggle = !toggle},
                                                   state.settings.toggle_binding);
  if (!conflict.empty()) ShowMessage(state, conflict.c_str(), kHotkeyConflictCaption, MB_ICONWARNING);
}

void UnregisterHotkeysForWindow(AppState& state) {
  state.registerPositionHotkey.reset();
  state.emergencyStopHotkey.reset();
  RemoveToggleTrigger(state);
}

}  // namespace kestul
