// Click cadence: the period between two button presses as a target window sees them, minus the
// interval that was asked for.
#include <algorithm>
#include <cmath>
#include <fstream>
#include <filesystem>
#include <thread>

#include "benches.h"

namespace kestul::bench {

namespace {

constexpr RECT kTargetArea{900, 400, 1500, 900};
constexpr ULONG_PTR kAppMarker = 0x4B455354;

struct Cadence {
  std::vector<double> offsetsMs;  // period - interval of each pair of consecutive presses
  std::vector<double> holdsMs;    // press to release
  int presses = 0;
  int outOfStep = 0;  // periods below half or above one and a half intervals: a lost or doubled click
  int unpaired = 0;   // two presses without a release between them
};

void Measure(const std::vector<ButtonEvent>& events, double intervalMs, Cadence& into) {
  double lastDown = -1;
  bool open = false;
  for (const ButtonEvent& e : events) {
    if (!e.down) {
      if (open) into.holdsMs.push_back((e.at - lastDown) * 1000.0);
      open = false;
      continue;
    }
    ++into.presses;
    if (open) ++into.unpaired;
    if (lastDown >= 0) {
      const double periodMs = (e.at - lastDown) * 1000.0;
      into.offsetsMs.push_back(periodMs - intervalMs);
      if (periodMs < 0.5 * intervalMs || periodMs > 1.5 * intervalMs) ++into.outOfStep;
    }
    lastDown = e.at;
    open = true;
  }
}

void AddCadence(RawResults& results, const std::string& subject, int intervalMs, const Cadence& c) {
  const std::string bench = "cadence-" + std::to_string(intervalMs);
  results.Add(bench, subject, "offset-median-ms", Median(c.offsetsMs));
  results.Add(bench, subject, "offset-p99-ms", Percentile(c.offsetsMs, 99));
  results.Add(bench, subject, "offset-max-ms", Percentile(c.offsetsMs, 100));
  results.Add(bench, subject, "hold-median-ms", Median(c.holdsMs));
  results.Add(bench, subject, "presses", c.presses);
  results.Add(bench, subject, "periods", static_cast<double>(c.offsetsMs.size()));
}

// Counts the presses the program injects, recognised by its marker, as the system handles them.
int g_injectedPresses = 0;
LRESULT CALLBACK CountInjected(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION && wParam == WM_LBUTTONDOWN &&
      reinterpret_cast<const MSLLHOOKSTRUCT*>(lParam)->dwExtraInfo == kAppMarker) {
    ++g_injectedPresses;
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

bool ClickRun(RunningApp& app, ClickTarget& target, int intervalMs, int clicks) {
  target.Clear();
  if (!app.StartClicking(static_cast<std::uint32_t>(intervalMs), target)) return false;
  const double timeout = clicks * (intervalMs + 50) / 1000.0 + 10.0;
  const bool got = PumpUntil([&] { return target.Downs() >= clicks; }, timeout);
  app.StopClicking();
  PumpFor(0.2);  // presses still queued for the target
  return got;
}

// The platform's floor for this timing model: a thread in this process that does only what the
// worker does (inject a click, then wait on an event for the interval), into the same target.
bool WaitLoopRun(ClickTarget& target, int intervalMs, int clicks) {
  target.Clear();
  HANDLE never = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  if (never == nullptr) return false;
  std::thread loop([=] {
    INPUT click[2] = {};
    click[0].type = click[1].type = INPUT_MOUSE;
    click[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    click[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    for (int i = 0; i < clicks; ++i) {
      SendInput(2, click, sizeof(INPUT));
      WaitForSingleObject(never, static_cast<DWORD>(intervalMs));
    }
  });
  const double timeout = clicks * (intervalMs + 50) / 1000.0 + 10.0;
  const bool got = PumpUntil([&] { return target.Downs() >= clicks; }, timeout);
  loop.join();
  PumpFor(0.2);
  CloseHandle(never);
  return got;
}

}  // namespace

int CadenceOfApp(RawResults& results, int intervalMs, int clicks, int runs) {
  ClickTarget target(kTargetArea);
  RunningApp app(static_cast<std::uint32_t>(intervalMs));
  if (app.window == nullptr) return 1;
  const POINT centre = target.Centre();
  SetCursorPos(centre.x, centre.y);
  Cadence cadence;
  for (int run = 0; run < runs; ++run) {
    if (!ClickRun(app, target, intervalMs, clicks)) return 1;
    Measure(target.events(), intervalMs, cadence);
  }
  AddCadence(results, "kestul", intervalMs, cadence);
  results.Add("cadence-" + std::to_string(intervalMs), "kestul", "out-of-step", cadence.outOfStep);
  results.Add("cadence-" + std::to_string(intervalMs), "kestul", "unpaired", cadence.unpaired);

  // Accounting run: a low-level hook counts what the program injected, the target what arrived.
  // Under Wine the injecting thread waits for such a hook, so this run is kept out of the timing.
  if (intervalMs <= 100) {
    HHOOK hook = SetWindowsHookExW(WH_MOUSE_LL, CountInjected, GetModuleHandleW(nullptr), 0);
    if (hook == nullptr) return 1;
    g_injectedPresses = 0;
    const bool ran = ClickRun(app, target, intervalMs, clicks);
    PumpFor(0.3);
    UnhookWindowsHookEx(hook);
    if (!ran) return 1;
    Cadence counted;
    Measure(target.events(), intervalMs, counted);
    const std::string bench = "cadence-" + std::to_string(intervalMs);
    results.Add(bench, "kestul", "accounted-injected", g_injectedPresses);
    results.Add(bench, "kestul", "accounted-received", counted.presses);
    results.Add(bench, "kestul", "accounted-lost", std::max(0, g_injectedPresses - counted.presses));
    results.Add(bench, "kestul", "accounted-doubled", std::max(0, counted.presses - g_injectedPresses));
    results.Add(bench, "kestul", "hooked-offset-median-ms", Median(counted.offsetsMs));
  }
  if (app.process.Close(app.window) != 0) return 1;

  Cadence floor;
  for (int run = 0; run < runs; ++run) {
    if (!WaitLoopRun(target, intervalMs, clicks)) return 1;
    Measure(target.events(), intervalMs, floor);
  }
  AddCadence(results, "waitloop", intervalMs, floor);
  return 0;
}

int CadenceOfXdotool(RawResults& results, int delayMs, int clicks, const std::wstring& readyFile) {
  ClickTarget target(kTargetArea);
  const POINT centre = target.Centre();
  {
    std::ofstream ready(std::filesystem::path(readyFile), std::ios::trunc);
    ready << centre.x << ' ' << centre.y << "\n";
  }
  const double timeout = clicks * (delayMs + 100) / 1000.0 + 20.0;
  PumpUntil([&] { return target.Downs() >= clicks; }, timeout);
  PumpFor(0.5);  // a press beyond the count would be a doubled click
  Cadence cadence;
  Measure(target.events(), delayMs, cadence);
  AddCadence(results, "xdotool", delayMs, cadence);
  const std::string bench = "cadence-" + std::to_string(delayMs);
  results.Add(bench, "xdotool", "accounted-injected", clicks);
  results.Add(bench, "xdotool", "accounted-received", cadence.presses);
  results.Add(bench, "xdotool", "accounted-lost", std::max(0, clicks - cadence.presses));
  results.Add(bench, "xdotool", "accounted-doubled", std::max(0, cadence.presses - clicks));
  std::error_code ignored;
  std::filesystem::remove(std::filesystem::path(readyFile), ignored);
  return cadence.presses > 0 ? 0 : 1;
}

}  // namespace kestul::bench
