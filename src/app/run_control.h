// Whether and how clicking starts and stops, and how the run state is shown.
#pragma once

#include <windows.h>

#include <cstdint>

#include "app/app_state.h"

namespace kestul {

void StartClicking(AppState& state);
void StopClicking(AppState& state);
void ToggleClicking(AppState& state);
// The one writer of the run state: every change is shown at once.
void SetRunState(AppState& state, RunState runState);
// Shows the run state as it is (after the views or the hotkeys changed).
void UpdateRunStateDisplay(const AppState& state);
// False after a failed write, which has already been reported.
bool SaveSettingsIfNeeded(AppState& state);
// The value is written only on success.
bool ReadIntervalField(HWND field, std::uint32_t& value);
void ReadOptionButtons(AppState& state);

// A message box owned by the main window with an OK button.
void ShowMessage(const AppState& state, const wchar_t* text, const wchar_t* caption, UINT icon);
// Faulted, shown, then the message.
void FailWithMessage(AppState& state, const wchar_t* text, const wchar_t* caption, UINT icon);

}  // namespace kestul
