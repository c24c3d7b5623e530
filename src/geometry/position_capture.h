// Registering the cursor's current position as the saved click target.
#pragma once

#include "app/app_state.h"

namespace kestul {

void RegisterCursorPosition(AppState& state);

}  // namespace kestul
