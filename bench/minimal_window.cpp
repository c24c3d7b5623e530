// The reference for idle cost, start-up and footprint: a bare Win32 window that only waits in
// GetMessageW. With --hotkey it also registers F9 and flips its title on every press, the floor
// for "key pressed to text changed in another process" under the same system. With --system-dlls
// it first loads the system libraries the program uses besides user32 and gdi32, so that start-up
// can be compared with what loading them costs.
#include <windows.h>

#include <cwchar>

namespace {

constexpr int kHotkeyId = 1;
constexpr const wchar_t* kSystemDlls[] = {L"comctl32.dll", L"uxtheme.dll", L"wtsapi32.dll", L"shell32.dll",
                                          L"ole32.dll"};

LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_HOTKEY: {
      static bool flipped = false;
      flipped = !flipped;
      SetWindowTextW(window, flipped ? L"minimal window pressed" : L"minimal window");
      return 0;
    }
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int showCommand) {
  if (wcsstr(commandLine, L"--system-dlls") != nullptr) {
    for (const wchar_t* dll : kSystemDlls) {
      // Loaded for the life of the process, as the program's own imports are.
      // cppcheck-suppress leakReturnValNotUsed
      if (LoadLibraryW(dll) == nullptr) return 4;
    }
  }
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = Proc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = L"KestulBenchMinimalWindow";
  RegisterClassExW(&wc);
  HWND window =
      CreateWindowExW(0, wc.lpszClassName, L"minimal window", WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
                      CW_USEDEFAULT, CW_USEDEFAULT, 400, 380, nullptr, nullptr, instance, nullptr);
  if (window == nullptr) return 1;
  if (wcsstr(commandLine, L"--hotkey") != nullptr &&
      !RegisterHotKey(window, kHotkeyId, MOD_NOREPEAT, VK_F9)) {
    return 3;
  }
  ShowWindow(window, showCommand);
  UpdateWindow(window);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return static_cast<int>(msg.wParam);
}
