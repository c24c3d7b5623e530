#include "bench_support.h"

#include <psapi.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>

namespace kestul::bench {

double Now() {
  static const double frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return static_cast<double>(f.QuadPart);
  }();
  LARGE_INTEGER counter;
  QueryPerformanceCounter(&counter);
  return static_cast<double>(counter.QuadPart) / frequency;
}

double Percentile(std::vector<double> values, double p) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  const auto rank = static_cast<std::size_t>(std::ceil(p / 100.0 * static_cast<double>(values.size())));
  return values[std::clamp<std::size_t>(rank, 1, values.size()) - 1];
}

std::wstring MinimalExePath() {
  const std::wstring app = AppExePath();
  return app.substr(0, app.find_last_of(L'\\') + 1) + L"minimal_window.exe";
}

Process::Process(const std::wstring& exe, const std::vector<std::wstring>& arguments) {
  std::wstring commandLine = L"\"" + exe + L"\"";
  for (const std::wstring& argument : arguments) commandLine += L" \"" + argument + L"\"";
  PROCESS_INFORMATION info{};
  launchedAt_ = Now();
  if (test::LaunchProcess(commandLine, info) == 0) {
    CloseHandle(info.hThread);
    process_ = info.hProcess;
    pid_ = info.dwProcessId;
  }
}

Process::~Process() {
  if (process_ == nullptr) return;
  if (WaitForSingleObject(process_, 0) == WAIT_TIMEOUT) {
    EnumWindows(
        [](HWND window, LPARAM pid) -> BOOL {
          DWORD owner = 0;
          GetWindowThreadProcessId(window, &owner);
          if (owner == static_cast<DWORD>(pid)) PostMessageW(window, WM_CLOSE, 0, 0);
          return TRUE;
        },
        static_cast<LPARAM>(pid_));
    if (WaitForSingleObject(process_, 5000) == WAIT_TIMEOUT) TerminateProcess(process_, 99);
    WaitForSingleObject(process_, 5000);
  }
  CloseHandle(process_);
}

HWND Process::WaitForWindow(const wchar_t* className, DWORD timeoutMs) {
  // Polled every millisecond rather than pumped: start-up is timed with this.
  const double deadline = Now() + timeoutMs / 1000.0;
  for (;;) {
    HWND found = FindProcessWindow(pid_, className);
    if (found != nullptr && IsWindowVisible(found)) return found;
    if (Now() > deadline || WaitForSingleObject(process_, 0) != WAIT_TIMEOUT) return nullptr;
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    Sleep(1);
  }
}

DWORD Process::Close(HWND window, DWORD timeoutMs) {
  if (window != nullptr) PostMessageW(window, WM_CLOSE, 0, 0);
  if (process_ == nullptr) return STILL_ACTIVE;
  PumpUntil([this] { return WaitForSingleObject(process_, 0) == WAIT_OBJECT_0; }, timeoutMs / 1000.0);
  DWORD code = STILL_ACTIVE;
  GetExitCodeProcess(process_, &code);
  return code;
}

namespace {
struct FindData {
  DWORD pid;
  const wchar_t* className;
  HWND found;
};
}  // namespace

HWND FindProcessWindow(DWORD pid, const wchar_t* className) {
  FindData data{pid, className, nullptr};
  EnumWindows(
      [](HWND window, LPARAM lParam) -> BOOL {
        auto* d = reinterpret_cast<FindData*>(lParam);
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        wchar_t name[64] = {};
        GetClassNameW(window, name, 64);
        if (owner != d->pid || wcscmp(name, d->className) != 0) return TRUE;
        d->found = window;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&data));
  return data.found;
}

std::wstring StoredText(HWND window) {
  wchar_t buffer[256] = {};
  const int length = InternalGetWindowText(window, buffer, 256);
  return std::wstring(buffer, static_cast<std::size_t>(std::max(length, 0)));
}

bool PumpUntil(const std::function<bool()>& done, double timeoutSeconds) {
  const double deadline = Now() + timeoutSeconds;
  for (;;) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    if (done()) return true;
    const double left = deadline - Now();
    if (left <= 0) return false;
    const DWORD waitMs = static_cast<DWORD>(std::min(left * 1000.0, 10.0)) + 1;
    // No handles: a wait for input or the time-out only.
    // cppcheck-suppress nullPointer
    MsgWaitForMultipleObjectsEx(0, nullptr, waitMs, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
  }
}

void PumpFor(double seconds) {
  PumpUntil([] { return false; }, seconds);
}

void PostButtonClick(HWND window, int id) {
  PostMessageW(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(window, id)));
}

void PressKey(WORD virtualKey) {
  INPUT inputs[2] = {};
  for (INPUT& input : inputs) {
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = virtualKey;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC));
  }
  inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(2, inputs, sizeof(INPUT));
}

namespace {
constexpr wchar_t kTargetClass[] = L"KestulBenchClickTarget";
}  // namespace

ClickTarget::ClickTarget(const RECT& area) : area_(area) {
  static const bool registered = [] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = &ClickTarget::Proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = kTargetClass;
    return RegisterClassExW(&wc) != 0;
  }();
  if (!registered) return;
  events_.reserve(8192);
  window_ = CreateWindowExW(WS_EX_TOPMOST, kTargetClass, L"bench click target", WS_POPUP | WS_VISIBLE,
                            area.left, area.top, area.right - area.left, area.bottom - area.top, nullptr,
                            nullptr, GetModuleHandleW(nullptr), this);
  if (window_ != nullptr) {
    UpdateWindow(window_);
    PumpFor(0.3);
  }
}

ClickTarget::~ClickTarget() {
  if (window_ != nullptr) DestroyWindow(window_);
}

POINT ClickTarget::Centre() const {
  return {(area_.left + area_.right) / 2, (area_.top + area_.bottom) / 2};
}

LRESULT CALLBACK ClickTarget::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  const double at = Now();
  if (message == WM_NCCREATE) {
    SetWindowLongPtrW(
        window, GWLP_USERDATA,
        reinterpret_cast<LONG_PTR>(reinterpret_cast<const CREATESTRUCTW*>(lParam)->lpCreateParams));
  }
  auto* self = reinterpret_cast<ClickTarget*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  switch (message) {
    case WM_LBUTTONDOWN:
      if (self != nullptr) {
        self->events_.push_back({true, at});
        ++self->downs_;
      }
      return 0;
    case WM_LBUTTONUP:
      if (self != nullptr) self->events_.push_back({false, at});
      return 0;
    case WM_MOUSEACTIVATE:
      return MA_NOACTIVATE;
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

double CpuSeconds(HANDLE process) {
  FILETIME created, exited, kernel, user;
  if (!GetProcessTimes(process, &created, &exited, &kernel, &user)) return -1;
  const auto ticks = [](const FILETIME& t) {
    return static_cast<double>((static_cast<std::uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime);
  };
  return (ticks(kernel) + ticks(user)) / 1e7;
}

Memory MemoryOf(HANDLE process) {
  PROCESS_MEMORY_COUNTERS_EX counters{};
  counters.cb = sizeof(counters);
  if (!GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                            sizeof(counters))) {
    return {-1, -1};
  }
  // Wine leaves PrivateUsage at zero; PagefileUsage is the same commit charge on Windows.
  const SIZE_T commit = counters.PrivateUsage != 0 ? counters.PrivateUsage : counters.PagefileUsage;
  return {static_cast<double>(commit) / 1024.0, static_cast<double>(counters.WorkingSetSize) / 1024.0};
}

double FileKiB(const std::wstring& path) {
  std::error_code error;
  const auto size = std::filesystem::file_size(path, error);
  return error ? -1 : static_cast<double>(size) / 1024.0;
}

void RawResults::Add(const std::string& benchmark, const std::string& subject, const std::string& metric,
                     double value) {
  std::ofstream out(std::filesystem::path(path_), std::ios::app);
  char number[64];
  std::snprintf(number, sizeof(number), "%.4f", value);
  out << benchmark << ',' << subject << ',' << metric << ',' << number << "\n";
  std::printf("  %-14s %-10s %-22s %s\n", benchmark.c_str(), subject.c_str(), metric.c_str(), number);
  std::fflush(stdout);
}

bool WriteSettings(const std::wstring& folder, std::uint32_t intervalMs) {
  std::ofstream out(std::filesystem::path(folder) / "settings.ini", std::ios::binary | std::ios::trunc);
  out << "schema_version=1\r\nmode=current\r\nbutton=left\r\ninterval_ms=" << intervalMs
      << "\r\nposition_saved=0\r\nx=0\r\ny=0\r\nmonitor_layout=\r\ntoggle_binding=f8\r\n";
  return static_cast<bool>(out);
}

RunningApp::RunningApp(std::uint32_t intervalMs)
    : process((WriteSettings(folder.path(), intervalMs), AppExePath()), {L"--settings-dir", folder.path()}) {
  if (process.started()) window = process.WaitForWindow(kMainClass);
}

bool RunningApp::StartClicking(std::uint32_t intervalMs, const ClickTarget& target) {
  if (window == nullptr) return false;
  const std::wstring text = std::to_wstring(intervalMs);
  DWORD_PTR ignored = 0;
  SendMessageTimeoutW(Control(kIntervalField), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()),
                      SMTO_ABORTIFHUNG, 2000, &ignored);
  const int before = target.Downs();
  PostButtonClick(window, kStartStop);
  return PumpUntil([&] { return target.Downs() > before; }, 5.0);
}

bool RunningApp::StopClicking() {
  PostButtonClick(window, kStartStop);
  return PumpUntil([&] { return StoredText(Control(kStartStop)) == kStartCaption; }, 5.0);
}

}  // namespace kestul::bench
