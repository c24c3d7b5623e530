// The main window: its creation, its message loop, and its procedure, which binds AppState and
// routes every message to its handler.
#pragma once

#include <windows.h>

#include "app/app_state.h"

namespace kestul {

constexpr wchar_t kMainWindowClass[] = L"KESTULAutoClickerWindow";
constexpr DWORD kMainWindowStyle = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
// The client area at 96 DPI; it scales with the DPI of the window's monitor.
constexpr int kClientWidth96 = 380;
constexpr int kClientHeight96 = 330;

// The window (menu bar included) whose client area is the scaled client size at `dpi`.
SIZE MainWindowOuterSize(UINT dpi);

// Registers the class and creates the window with its menu, bound to `state` and sized for the
// DPI of the monitor it opens on, but not shown. Null on failure.
HWND CreateMainWindow(HINSTANCE instance, AppState& state);
// Until WM_QUIT; returns its exit code.
int RunMessageLoop(HWND window);

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace kestul
