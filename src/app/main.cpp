// Entry point: one instance per logon, settings loaded and checked, the main window and its loop.
#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/main_window.h"
#include "app/run_rules.h"
#include "common/message_texts.h"
#include "common/system_library.h"
#include "common/unique_handle.h"
#include "geometry/enumerate_monitors.h"
#include "settings/settings_store.h"
#include "ui/ui_rules.h"

namespace {

using namespace kestul;

// Exit code when GetMessageW itself fails and no quit code exists.
constexpr int kMessageLoopFailedExitCode = 3;

std::vector<std::wstring> CommandLineArguments() {
  std::vector<std::wstring> arguments;
  int count = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &count);
  if (argv == nullptr) return arguments;
  arguments.assign(argv, argv + count);
  LocalFree(argv);
  return arguments;
}

std::wstring StartupWarning(const SettingsLoadResult& loaded) {
  bool mismatch = false;
  const AppSettings& s = loaded.settings;
  if (s.position_saved) {
    mismatch =
        ValidateSavedPosition(true, {s.x, s.y}, s.monitor_layout, EnumerateMonitors()) != PositionCheck::Ok;
  }
  return StartupWarningText(loaded.warning, mismatch);
}

void RegisterMainWindowClass(HINSTANCE instance) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = MainWindowProc;
  wc.hInstance = instance;
  wc.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = kMainWindowClass;
  RegisterClassExW(&wc);
}

HMENU BuildMenuBar() {
  UniqueMenu menu(CreateMenu());
  if (!menu) return nullptr;
  if (AppendMenuW(menu.get(), MF_STRING, IDM_SETTINGS, L"設定(&S)") == FALSE ||
      AppendMenuW(menu.get(), MF_STRING, IDM_ABOUT, L"バージョン情報(&A)") == FALSE) {
    return nullptr;
  }
  return menu.release();
}

SIZE OuterSize(int clientWidth, int clientHeight, UINT dpi) {
  RECT rect{0, 0, clientWidth, clientHeight};
  AdjustWindowRectExForDpi(&rect, kMainWindowStyle, TRUE, 0, dpi);
  return {rect.right - rect.left, rect.bottom - rect.top};
}

int RunMessageLoop(HWND window) {
  MSG msg;
  for (;;) {
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0) return static_cast<int>(msg.wParam);
    if (got < 0) return kMessageLoopFailedExitCode;
    if (IsDialogMessageW(window, &msg) == FALSE) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
}

}  // namespace

// The system headers declare the entry point with their own parameter names.
// NOLINTNEXTLINE(readability-inconsistent-declaration-parameter-name)
int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
  // First of all: a DLL loaded by name from here on (by us, or on demand by a system DLL, as
  // user32 and comctl32 do with uxtheme) comes from System32, never from this exe's folder, where
  // a planted copy may wait.
  SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);

  UniqueHandleKernel mutex(CreateMutexW(nullptr, TRUE, L"Local\\KESTUL.AutoClicker.Instance.v1"));
  if (!mutex || GetLastError() == ERROR_ALREADY_EXISTS) {
    MessageBoxW(nullptr, kAlreadyRunningText, kAlreadyRunningCaption, MB_OK | MB_ICONINFORMATION);
    return 2;
  }

  // Not imported either: an import starts up before SetDefaultDllDirectories, and comctl32's
  // start-up registers window classes, which makes Wine's user32 load uxtheme by name, exe folder
  // first. The manifest still redirects this load to version 6; held until the windows are gone.
  const SystemLibrary comctl32(L"comctl32.dll");
  if (auto* initCommonControls = comctl32.Find<decltype(InitCommonControlsEx)>("InitCommonControlsEx")) {
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES};
    initCommonControls(&controls);
  }

  AppState state;
  state.settingsFolder = SettingsFolderFromArguments(CommandLineArguments(), GetDefaultSettingsFolder());
  const SettingsLoadResult loaded = LoadSettings(state.settingsFolder);
  state.settings = loaded.settings;
  state.protectSettingsFile = loaded.protectSettingsFile;
  const std::wstring warning = StartupWarning(loaded);

  RegisterMainWindowClass(instance);
  UniqueMenu menu(BuildMenuBar());
  if (!menu) return 1;

  const SIZE initial = OuterSize(380, 330, 96);
  HWND window = CreateWindowExW(0, kMainWindowClass, L"KESTUL Auto Clicker", kMainWindowStyle, CW_USEDEFAULT,
                                CW_USEDEFAULT, initial.cx, initial.cy, nullptr, menu.get(), instance, &state);
  if (window == nullptr) return 1;
  menu.release();  // the window owns its menu bar from here on

  const UINT dpi = GetDpiForWindow(window);
  const SIZE scaled =
      OuterSize(static_cast<int>(ScaleForDpi(380, dpi)), static_cast<int>(ScaleForDpi(330, dpi)), dpi);
  SetWindowPos(window, nullptr, 0, 0, scaled.cx, scaled.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  ShowWindow(window, showCommand);
  UpdateWindow(window);

  if (!warning.empty()) MessageBoxW(window, warning.c_str(), kSettingsWarningCaption, MB_OK | MB_ICONWARNING);

  const int exitCode = RunMessageLoop(window);

  state.worker.reset();
  ReleaseMutex(mutex.get());
  return exitCode;
}
