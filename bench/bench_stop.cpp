// Stop latency: from an injected key to the start/stop button reading the idle caption again.
#include "benches.h"

namespace kestul::bench {

namespace {

constexpr RECT kTargetArea{900, 400, 1500, 900};

// Presses the key and polls the stored text until `done`; seconds, or a negative value on time-out.
// The target's queue is drained while polling so that the clicks of a 20 ms run do not pile up.
double TimeKeyUntil(WORD key, const std::function<bool()>& done) {
  const double pressed = Now();
  PressKey(key);
  for (;;) {
    if (done()) return Now() - pressed;
    if (Now() - pressed > 5.0) return -1;
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    SwitchToThread();
  }
}

}  // namespace

int StopLatency(RawResults& results, int repetitions) {
  {
    ClickTarget target(kTargetArea);
    RunningApp app(100);
    if (app.window == nullptr) return 1;
    const POINT centre = target.Centre();
    SetCursorPos(centre.x, centre.y);
    HWND button = app.Control(kStartStop);
    for (const int interval : {60000, 20}) {
      for (const WORD key : {WORD{VK_F9}, WORD{VK_F8}}) {
        std::vector<double> ms;
        for (int i = 0; i < repetitions; ++i) {
          if (!app.StartClicking(static_cast<std::uint32_t>(interval), target)) return 1;
          PumpFor(0.15);  // into the pause after a click, or into steady clicking
          const double took = TimeKeyUntil(key, [&] { return StoredText(button) == kStartCaption; });
          if (took < 0) return 1;
          ms.push_back(took * 1000.0);
          PumpFor(0.05);
        }
        const std::string bench =
            "stop-" + std::string(key == VK_F9 ? "f9-" : "f8-") + std::to_string(interval);
        results.Add(bench, "kestul", "median-ms", Median(ms));
        results.Add(bench, "kestul", "p99-ms", Percentile(ms, 99));
        results.Add(bench, "kestul", "samples", static_cast<double>(ms.size()));
      }
    }
    if (app.process.Close(app.window) != 0) return 1;
  }
  // The same key path into a bare window that only changes its title: what the system itself costs.
  Process minimal(MinimalExePath(), {L"--hotkey"});
  HWND window = minimal.WaitForWindow(kMinimalClass);
  if (window == nullptr) return 1;
  std::vector<double> ms;
  for (int i = 0; i < repetitions * 4; ++i) {
    const std::wstring before = StoredText(window);
    const double took = TimeKeyUntil(VK_F9, [&] { return StoredText(window) != before; });
    if (took < 0) return 1;
    ms.push_back(took * 1000.0);
    PumpFor(0.1);
  }
  results.Add("stop-reference", "minimal", "median-ms", Median(ms));
  results.Add("stop-reference", "minimal", "p99-ms", Percentile(ms, 99));
  results.Add("stop-reference", "minimal", "samples", static_cast<double>(ms.size()));
  return minimal.Close(window) == 0 ? 0 : 1;
}

}  // namespace kestul::bench
