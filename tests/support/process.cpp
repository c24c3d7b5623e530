#include "support/process.h"

#include "support/recording_window.h"
#include "support/window_access.h"

namespace kestul::test {

namespace {

std::wstring QuoteArgument(const std::wstring& argument) {
  // Enough for our folders: no embedded quotes; trailing backslashes doubled before the quote.
  std::wstring quoted = L"\"" + argument;
  std::size_t slashes = 0;
  for (auto it = argument.rbegin(); it != argument.rend() && *it == L'\\'; ++it) ++slashes;
  quoted.append(slashes, L'\\');
  return quoted + L"\"";
}

}  // namespace

std::wstring BuiltFile(const std::wstring& name) {
  wchar_t self[MAX_PATH];
  const DWORD length = GetModuleFileNameW(nullptr, self, MAX_PATH);
  const std::wstring path(self, length);
  return path.substr(0, path.find_last_of(L"\\/") + 1) + name;
}

std::wstring EnvironmentValue(const wchar_t* name) {
  std::wstring value(64, L'\0');
  for (;;) {
    const DWORD length = GetEnvironmentVariableW(name, value.data(), static_cast<DWORD>(value.size()));
    if (length < value.size()) {
      value.resize(length);
      return value;
    }
    value.resize(length);  // too small: `length` is the size needed, terminator included
  }
}

DWORD LaunchProcess(std::wstring commandLine, PROCESS_INFORMATION& started) {
  DWORD error = 0;
  for (int attempt = 0; attempt < 5; ++attempt) {
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    if (CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                       &started) != FALSE) {
      return 0;
    }
    error = GetLastError();
    Sleep(200);
  }
  return error;
}

bool AppProcess::Launch(const std::vector<std::wstring>& arguments, const std::wstring& exe) {
  std::wstring commandLine = QuoteArgument(exe);
  for (const std::wstring& argument : arguments) commandLine += L" " + QuoteArgument(argument);
  PROCESS_INFORMATION info{};
  if (process_ || LaunchProcess(commandLine, info) != 0) return false;
  const UniqueKernelHandle thread(info.hThread);
  process_.reset(info.hProcess);
  pid_ = info.dwProcessId;
  return true;
}

AppProcess::~AppProcess() {
  if (!process_) return;
  if (WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT) {
    // Answer whatever box is still open, then close; kill only a copy that will not end.
    for (int i = 0; i < 10; ++i) {
      HWND box = AnyMessageBox(pid_);
      if (box == nullptr) break;
      DismissMessageBox(box);
    }
    if (window_ != nullptr) PostMessageW(window_, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process_.get(), 5000) == WAIT_TIMEOUT) TerminateProcess(process_.get(), 99);
    WaitForSingleObject(process_.get(), 5000);
  }
}

HWND AppProcess::WaitForWindow(const wchar_t* className, DWORD timeoutMs, DWORD pollMs) {
  const auto shown = [&] {
    window_ = FindProcessWindow(pid_, className, nullptr);
    return window_ != nullptr && IsWindowVisible(window_);
  };
  return WaitUntil(shown, timeoutMs, pollMs) ? window_ : nullptr;
}

DWORD AppProcess::WaitForExit(DWORD timeoutMs) {
  if (!process_) return STILL_ACTIVE;
  WaitUntil([this] { return WaitForSingleObject(process_.get(), 0) == WAIT_OBJECT_0; }, timeoutMs);
  DWORD code = STILL_ACTIVE;
  GetExitCodeProcess(process_.get(), &code);
  return code;
}

DWORD AppProcess::Close(DWORD timeoutMs) {
  if (window_ != nullptr) PostMessageW(window_, WM_CLOSE, 0, 0);
  return WaitForExit(timeoutMs);
}

}  // namespace kestul::test
