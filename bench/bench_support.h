// Shared pieces of the benchmark programs: a high-resolution clock, order statistics, launching and
// reading the real exe, a window that timestamps the clicks it receives, and the raw-results file.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "support/files.h"
#include "support/process.h"

namespace kestul::bench {

// The temporary folder and the program's path are the tests' own.
using test::AppExePath;
using test::TempFolder;

// Seconds on QueryPerformanceCounter; GetTickCount's 10-16 ms steps would hide what is measured.
double Now();

// Nearest-rank percentile (0 < p <= 100) of the values; 0 for none.
double Percentile(std::vector<double> values, double p);
inline double Median(const std::vector<double>& values) {
  return Percentile(values, 50);
}

// The bare window built beside this executable.
std::wstring MinimalExePath();

// One started process. The destructor asks its main window to close and kills it if it will not.
class Process {
 public:
  Process(const std::wstring& exe, const std::vector<std::wstring>& arguments);
  ~Process();
  Process(const Process&) = delete;
  Process& operator=(const Process&) = delete;

  bool started() const { return process_ != nullptr; }
  HANDLE handle() const { return process_; }
  DWORD pid() const { return pid_; }
  double launchedAt() const { return launchedAt_; }
  // The visible top-level window of the given class, or null after the timeout.
  HWND WaitForWindow(const wchar_t* className, DWORD timeoutMs = 15000);
  // WM_CLOSE to `window`, then waits for the exit; the exit code or STILL_ACTIVE.
  DWORD Close(HWND window, DWORD timeoutMs = 15000);

 private:
  HANDLE process_ = nullptr;
  DWORD pid_ = 0;
  double launchedAt_ = 0;
};

HWND FindProcessWindow(DWORD pid, const wchar_t* className);
// The stored text of a window of any process, read without a message to its owner, so polling it
// does not load the thread whose reaction is being timed.
std::wstring StoredText(HWND window);

// Dispatches this thread's messages until `done` or the timeout; wakes as soon as input arrives.
bool PumpUntil(const std::function<bool()>& done, double timeoutSeconds);
void PumpFor(double seconds);

void PostButtonClick(HWND window, int id);
void PressKey(WORD virtualKey);

// A topmost window that records when every button press and release reaches it.
struct ButtonEvent {
  bool down = false;
  double at = 0;  // Now() when the window procedure saw it
};
class ClickTarget {
 public:
  explicit ClickTarget(const RECT& area);
  ~ClickTarget();
  ClickTarget(const ClickTarget&) = delete;
  ClickTarget& operator=(const ClickTarget&) = delete;
  const std::vector<ButtonEvent>& events() const { return events_; }
  int Downs() const { return downs_; }
  void Clear() {
    events_.clear();
    downs_ = 0;
  }
  POINT Centre() const;

 private:
  static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  HWND window_ = nullptr;
  RECT area_{};
  std::vector<ButtonEvent> events_;
  int downs_ = 0;
};

// Resource figures of another process.
double CpuSeconds(HANDLE process);  // kernel plus user time
struct Memory {
  double privateKiB = 0;     // commit charge (PrivateUsage, or PagefileUsage where that is not filled)
  double workingSetKiB = 0;  // resident set
};
Memory MemoryOf(HANDLE process);
double FileKiB(const std::wstring& path);

// Raw results: one line "benchmark,subject,metric,value" per figure, appended to a CSV file.
class RawResults {
 public:
  explicit RawResults(const std::wstring& path) : path_(path) {}
  void Add(const std::string& benchmark, const std::string& subject, const std::string& metric, double value);

 private:
  std::wstring path_;
};

// The settings file of the real exe with the given interval, clicking where the cursor is.
bool WriteSettings(const std::wstring& folder, std::uint32_t intervalMs);

// Control ids and captions of the main window.
constexpr int kIntervalField = 104, kStartStop = 106;
inline const wchar_t kStartCaption[] = L"開始(&A)";
inline const wchar_t kStopCaption[] = L"停止(&T)";
inline const wchar_t kMainClass[] = L"KESTULAutoClickerWindow";
inline const wchar_t kMinimalClass[] = L"KestulBenchMinimalWindow";

// The real exe started on a fresh settings folder with its main window found.
struct RunningApp {
  TempFolder folder;
  Process process;
  HWND window = nullptr;
  explicit RunningApp(std::uint32_t intervalMs);
  HWND Control(int id) const { return GetDlgItem(window, id); }
  // Types the interval, presses start and waits until the first click has reached `target`.
  bool StartClicking(std::uint32_t intervalMs, const ClickTarget& target);
  bool StopClicking();
};

}  // namespace kestul::bench
