// Starting the real KestulAutoClicker.exe (or another program built beside the tests) from a test
// process, and ending it.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "app/main_window.h"
#include "common/unique_handle.h"

namespace kestul::test {

// A file built beside the test executables (the program, a helper exe or DLL).
std::wstring BuiltFile(const std::wstring& name);
inline std::wstring AppExePath() {
  return BuiltFile(L"KestulAutoClicker.exe");
}

// An environment variable's value, empty when it is unset (MSVC deprecates _wgetenv).
std::wstring EnvironmentValue(const wchar_t* name);

// CreateProcessW, tried a few times: a fresh Wine prefix has been seen to refuse the very first
// launch once, while a real fault refuses every attempt. Returns 0 or the last error.
DWORD LaunchProcess(std::wstring commandLine, PROCESS_INFORMATION& started);

// One running copy of the program (the built exe, or a copy of it elsewhere). The destructor
// answers its message boxes and closes it, or kills it if it hangs.
class AppProcess {
 public:
  AppProcess() = default;
  explicit AppProcess(const std::vector<std::wstring>& arguments, const std::wstring& exe = AppExePath()) {
    Launch(arguments, exe);
  }
  ~AppProcess();
  AppProcess(const AppProcess&) = delete;
  AppProcess& operator=(const AppProcess&) = delete;

  bool Launch(const std::vector<std::wstring>& arguments, const std::wstring& exe = AppExePath());
  bool started() const { return static_cast<bool>(process_); }
  DWORD pid() const { return pid_; }
  HANDLE process() const { return process_.get(); }
  // The visible top-level window of the class once it exists, or null after the timeout.
  HWND WaitForWindow(const wchar_t* className, DWORD timeoutMs = 15000, DWORD pollMs = 10);
  HWND WaitForMainWindow(DWORD timeoutMs = 15000) { return WaitForWindow(kMainWindowClass, timeoutMs); }
  HWND window() const { return window_; }
  HWND Control(int id) const { return GetDlgItem(window_, id); }
  // Exit code, or STILL_ACTIVE after the timeout.
  DWORD WaitForExit(DWORD timeoutMs = 15000);
  // WM_CLOSE to the window, then wait for the process to end.
  DWORD Close(DWORD timeoutMs = 15000);

 private:
  UniqueKernelHandle process_;
  DWORD pid_ = 0;
  HWND window_ = nullptr;
};

}  // namespace kestul::test
