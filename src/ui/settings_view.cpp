#include "ui/settings_view.h"

#include <string>

#include "app/run_control.h"
#include "common/message_texts.h"
#include "hotkeys/hotkeys.h"
#include "ui/controls.h"

namespace kestul {

void FillKeySelector(const AppState& state) {
  HWND selector = Control(state, IDC_TOGGLE_KEY);
  for (const ToggleBinding code : kToggleBindings) {
    const LRESULT index = SendMessageW(selector, CB_ADDSTRING, 0,
                                       reinterpret_cast<LPARAM>(ToggleBindingDisplayName(code).c_str()));
    SendMessageW(selector, CB_SETITEMDATA, static_cast<WPARAM>(index), static_cast<LPARAM>(code));
  }
}

void ShowView(AppState& state, View shown) {
  const bool showSettings = shown == View::Settings;
  state.inSettingsView = showSettings;
  if (state.sideButtonHook) state.sideButtonHook->SetPassThrough(showSettings);
  // The view that goes first, then the one that comes.
  for (const ControlSpec& c : kControls) {
    if (c.view != shown) ShowWindow(Control(state, c.id), SW_HIDE);
  }
  for (const ControlSpec& c : kControls) {
    if (c.view == shown) ShowWindow(Control(state, c.id), SW_SHOW);
  }
  SetWindowTextW(state.window, showSettings ? kSettingsTitle : kMainTitle);
  if (showSettings) {
    HWND selector = Control(state, IDC_TOGGLE_KEY);
    const LRESULT count = SendMessageW(selector, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
      if (SendMessageW(selector, CB_GETITEMDATA, static_cast<WPARAM>(i), 0) ==
          state.settings.toggle_binding) {
        SendMessageW(selector, CB_SETCURSEL, static_cast<WPARAM>(i), 0);
        break;
      }
    }
    SetFocus(selector);
  } else {
    UpdateRunStateDisplay(state);
    SetFocus(Control(state, IDC_START_STOP));
  }
  InvalidateRect(state.window, nullptr, TRUE);
}

void ApplySettingsView(AppState& state) {
  HWND selector = Control(state, IDC_TOGGLE_KEY);
  const LRESULT index = SendMessageW(selector, CB_GETCURSEL, 0, 0);
  if (index == CB_ERR) return;
  const auto chosen =
      static_cast<ToggleBinding>(SendMessageW(selector, CB_GETITEMDATA, static_cast<WPARAM>(index), 0));
  const ToggleBinding previous = state.settings.toggle_binding;

  const MainViewChoices choices = ReadMainView(state);
  if (!choices.interval) {
    ShowMessage(state, kIntervalErrorText, kInputErrorCaption, MB_ICONWARNING);
    return;
  }
  KeepMainViewChoices(state.settings, choices);

  if (chosen != previous && !RebindToggle(state, chosen)) {
    ShowMessage(state, kKeyTakenText, kKeyTakenCaption, MB_ICONWARNING);
    return;
  }
  state.settingsChanged = true;
  std::wstring error;
  if (!WriteSettingsIfNeeded(state, error)) {
    // The old key is in force and in memory again before the box says the new one was not
    // applied, so that nothing saved later (or the next launch) binds it.
    if (chosen != previous) RebindToggle(state, previous);
    ReportSaveError(state, error);
    return;
  }
  ShowView(state, View::Main);
}

void LeaveSettingsView(AppState& state) {
  ShowView(state, View::Main);
}

}  // namespace kestul
