// The About dialog: product, version, the product page link and the copyright line.
#pragma once

#include <windows.h>

namespace kestul {

// Modal: returns when the dialog is closed.
void ShowAboutDialog(HWND owner);

}  // namespace kestul
