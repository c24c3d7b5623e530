// The saved position as shown on the option button and in the settings view.
#pragma once

#include "app/app_state.h"

namespace kestul {

void UpdatePositionLabels(const AppState& state);

}  // namespace kestul
