// Entry point: one instance per logon, settings loaded and checked, the main window and its loop.
#include <windows.h>

#include <commctrl.h>
#include <objbase.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/main_window.h"
#include "app/run_control.h"
#include "app/run_rules.h"
#include "common/message_texts.h"
#include "common/system_library.h"
#include "common/unique_handle.h"
#include "geometry/enumerate_monitors.h"
#include "settings/settings_store.h"

namespace {

using namespace kestul;

std::vector<std::wstring> CommandLineArguments() {
  int count = 0;
  const UniqueArgv argv(CommandLineToArgvW(GetCommandLineW(), &count));
  if (!argv) return {};
  return {argv.get(), argv.get() + count};
}

std::wstring StartupWarning(const SettingsLoadResult& loaded) {
  const AppSettings& s = loaded.settings;
  // Monitors are enumerated only when a position is saved.
  const bool mismatch =
      s.position_saved && ValidateSavedPosition(s.position_saved, {s.x, s.y}, s.monitor_layout,
                                                EnumerateMonitors()) != PositionCheck::Ok;
  return StartupWarningText(loaded.warning, mismatch);
}

// The About link's ShellExecuteW may start COM objects (URL handlers, shell extensions), which
// need an apartment on the calling thread. Without one they may fail; nothing else depends on it.
class ComApartment {
 public:
  ComApartment() noexcept
      : initialized_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE))) {}
  ~ComApartment() {
    if (initialized_) CoUninitialize();
  }
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;

 private:
  bool initialized_;
};

}  // namespace

// The system headers declare the entry point with their own parameter names.
// NOLINTNEXTLINE(readability-inconsistent-declaration-parameter-name)
int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
  // First of all: a DLL loaded by name from here on (by us, or on demand by a system DLL, as
  // user32 and comctl32 do with uxtheme) comes from System32, never from this exe's folder, where
  // a planted copy may wait.
  SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);

  UniqueKernelHandle mutex(CreateMutexW(nullptr, TRUE, L"Local\\KESTUL.AutoClicker.Instance.v1"));
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

  const ComApartment com;
  AppState state;
  state.settingsFolder = SettingsFolderFromArguments(CommandLineArguments(), GetDefaultSettingsFolder());
  const SettingsLoadResult loaded = LoadSettings(state.settingsFolder);
  state.settings = loaded.settings;
  state.protectSettingsFile = loaded.protectSettingsFile;
  const std::wstring warning = StartupWarning(loaded);

  HWND window = CreateMainWindow(instance, state);
  if (window == nullptr) return 1;
  ShowWindow(window, showCommand);
  UpdateWindow(window);

  if (!warning.empty()) ShowMessage(state, warning.c_str(), kSettingsWarningCaption, MB_ICONWARNING);

  const int exitCode = RunMessageLoop(window);

  state.worker.reset();
  ReleaseMutex(mutex.get());
  return exitCode;
}
