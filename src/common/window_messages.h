// The program's two private window messages, shared by the worker, the hook and the window.
#pragma once

#include <windows.h>

namespace kestul {

// wParam: run id of the reporting run; lParam: a ClickStatus value. Always posted.
constexpr UINT WM_CLICKER_STATUS = WM_APP + 1;
// Posted by the side-button hook; wParam and lParam are 0.
constexpr UINT WM_CLICKER_TOGGLE = WM_APP + 2;

}  // namespace kestul
