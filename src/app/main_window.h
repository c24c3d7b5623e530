// The main window's procedure: binds AppState and routes every message to its handler.
#pragma once

#include <windows.h>

namespace kestul {

constexpr wchar_t kMainWindowClass[] = L"KESTULAutoClickerWindow";
constexpr DWORD kMainWindowStyle = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace kestul
