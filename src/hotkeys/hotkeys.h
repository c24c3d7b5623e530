// Global hotkeys F6, F9 and the start/stop key, and the side-button hook in their place.
#pragma once

#include <windows.h>

#include "app/app_state.h"

namespace kestul {

// Replaces the installed trigger, putting the old one back when the new one fails.
bool RebindToggle(AppState& state, ToggleBinding code);

// Window creation: F6, F9 and the loaded binding, with one message for whatever failed.
void RegisterHotkeysForWindow(AppState& state);
// Window destruction: every trigger released.
void UnregisterHotkeysForWindow(AppState& state);

}  // namespace kestul
