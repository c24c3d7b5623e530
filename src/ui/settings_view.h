// The settings view: the start/stop trigger and the saved position, in the main window.
#pragma once

#include "app/app_state.h"
#include "ui/controls.h"

namespace kestul {

// Every trigger choice, each item's data its binding code.
void FillKeySelector(const AppState& state);
void ShowView(AppState& state, View shown);
void ApplySettingsView(AppState& state);
// Cancel, and the close box while the view is shown.
void LeaveSettingsView(AppState& state);

}  // namespace kestul
