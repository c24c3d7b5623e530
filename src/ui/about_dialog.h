// The About dialog: product, version, the product page link and the copyright line.
#pragma once

#include "app/app_state.h"

namespace kestul {

// Modal: returns when the dialog is closed.
void ShowAboutDialog(AppState& state);

}  // namespace kestul
