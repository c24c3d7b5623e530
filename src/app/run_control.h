// Whether and how clicking starts and stops, and how the run state is shown.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

#include "app/app_state.h"
#include "app/run_rules.h"

namespace kestul {

// What the window's present situation lets `command` do.
Verdict DecideFor(const AppState& state, Command command);

void StartClicking(AppState& state);
void StopClicking(AppState& state);
// The one writer of the run state: every change is shown at once.
void SetRunState(AppState& state, RunState runState);
// Shows the run state as it is (after the views or the hotkeys changed).
void UpdateRunStateDisplay(const AppState& state);
// False after a failed write, which has already been reported.
bool SaveSettingsIfNeeded(AppState& state);
// The same without the report: false with the error text to show.
bool WriteSettingsIfNeeded(AppState& state, std::wstring& error);
// Faulted, shown, then the save error.
void ReportSaveError(AppState& state, const std::wstring& error);

// What the main view's inputs hold; the interval only when the field's text is a valid one.
struct MainViewChoices {
  ClickMode mode = ClickMode::Current;
  ClickButton button = ClickButton::Left;
  std::optional<std::uint32_t> interval;
};
MainViewChoices ReadMainView(const AppState& state);
// Puts them into the settings: the position and the button, and the interval when it is valid.
void KeepMainViewChoices(AppSettings& settings, const MainViewChoices& choices);

// A message box owned by the main window with an OK button. Its loop dispatches the window's
// messages while it is open, which the gate (DecideFor) knows of.
void ShowMessage(AppState& state, const wchar_t* text, const wchar_t* caption, UINT icon);
// Faulted, shown, then the message.
void FailWithMessage(AppState& state, const wchar_t* text, const wchar_t* caption, UINT icon);

}  // namespace kestul
