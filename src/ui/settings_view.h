// The settings view: the start/stop trigger and the saved position, in the main window.
#pragma once

#include "app/app_state.h"

namespace kestul {

// The eleven trigger choices, each item's data its binding code.
void FillKeySelector(const AppState& state);
void SetSettingsView(AppState& state, bool showSettings);
void ApplySettingsView(AppState& state);
// Cancel, and the close box while the view is shown.
void LeaveSettingsView(AppState& state);

}  // namespace kestul
