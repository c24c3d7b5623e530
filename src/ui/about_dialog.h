// The About dialog: product, version, the product page link and the copyright line.
#pragma once

#include <windows.h>

namespace kestul {

INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace kestul
