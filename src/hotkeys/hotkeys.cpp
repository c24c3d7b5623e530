#include "hotkeys/hotkeys.h"

#include <utility>

#include "app/run_control.h"
#include "hotkeys/hotkey_rules.h"
#include "common/message_texts.h"
#include "common/window_messages.h"

namespace kestul {

namespace {

// The state whose window the hook serves; the hook procedure has no other way to reach it.
AppState* hookTarget = nullptr;

void RemoveToggleTrigger(AppState& state) {
  UnregisterHotKey(state.window, HOTKEY_TOGGLE);
  state.mouseHook.reset();
  if (hookTarget == &state) hookTarget = nullptr;
}

}  // namespace

bool RegisterToggleBinding(AppState& state, ToggleBinding code) {
  if (IsMouseBinding(code)) {
    hookTarget = &state;
    state.mouseHook.reset(SetWindowsHookExW(WH_MOUSE_LL, SideButtonHookProc, GetModuleHandleW(nullptr), 0));
    if (!state.mouseHook) {
      hookTarget = nullptr;
      return false;
    }
    return true;
  }
  return RegisterHotKey(state.window, HOTKEY_TOGGLE, MOD_NOREPEAT, ToggleBindingVirtualKey(code)) != FALSE;
}

void RenewMouseHookAfter(AppState& state, ULONGLONG startedMs) {
  if (!state.mouseHook || !MouseHookMayBeGone(GetTickCount64() - startedMs)) return;
  // The new hook is installed before the old one goes, so that no press slips past in between;
  // the newest hook runs first and swallows what it handles, so the two never both act.
  UniqueHook renewed(SetWindowsHookExW(WH_MOUSE_LL, SideButtonHookProc, GetModuleHandleW(nullptr), 0));
  if (renewed) state.mouseHook = std::move(renewed);
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

LRESULT CALLBACK SideButtonHookProc(int code, WPARAM wParam, LPARAM lParam) {
  if (code < 0 || hookTarget == nullptr) return CallNextHookEx(nullptr, code, wParam, lParam);
  const auto* record = reinterpret_cast<const MSLLHOOKSTRUCT*>(lParam);
  const SideButtonAction action =
      DecideSideButton(hookTarget->inSettingsView, hookTarget->settings.toggle_binding,
                       static_cast<std::uint32_t>(wParam), HIWORD(record->mouseData));
  if (action == SideButtonAction::Pass) return CallNextHookEx(nullptr, code, wParam, lParam);
  if (action == SideButtonAction::SwallowAndToggle) PostMessageW(hookTarget->window, WM_CLICKER_TOGGLE, 0, 0);
  return 1;
}

}  // namespace kestul
