// Stop latency: from F9 or the start/stop key (F8) pressed to the start/stop button reading its idle
// caption again, during a 60 s pause and while clicking every 20 ms. The caption is read as a screen
// reader would, every millisecond: reading it without pause would keep the program busy answering.
// The targets are what a user sees as at once: within one frame at 60 Hz, and three at worst.
#include <windows.h>

#include <timeapi.h>

#include "bench.h"

namespace kestul::bench {

int Run(Bench& harness) {
  timeBeginPeriod(1);  // this process's waits only: a 1 ms poll is 1 ms on Windows too
  if (!harness.Start()) return harness.table.Abort("the program did not start");
  HWND button = harness.app.Control(IDC_START_STOP);

  constexpr int kStops = 20;
  for (const int intervalMs : {60000, 20}) {
    SetControlText(harness.app.Control(IDC_INTERVAL), std::to_wstring(intervalMs));
    for (const WORD key : {WORD{VK_F9}, WORD{VK_F8}}) {
      std::vector<double> ms;
      for (int i = 0; i < kStops; ++i) {
        harness.target.Clear();
        PostButtonClick(harness.app.window(), IDC_START_STOP);
        if (!WaitUntil([&] { return harness.target.Count(WM_LBUTTONUP) > 0; }, 5000))
          return harness.table.Abort("no click");
        PumpFor(100);  // into the pause after a click, or into steady clicking
        const double pressed = NowMs();
        PressKey(key);
        if (!WaitUntil([&] { return WindowText(button) == kStartCaption; }, 5000, 1))
          return harness.table.Abort("no stop");
        ms.push_back(NowMs() - pressed);
        PumpFor(50);
      }
      const Spread s = SpreadOf(ms);
      harness.table.Row("stop latency " + std::string(key == VK_F9 ? "F9" : "F8 (start/stop key)") + " at " +
                            std::to_string(intervalMs) + " ms",
                        "key to idle caption, median / p99 (ms), " + std::to_string(kStops) + " stops",
                        Text(s), "", "median <= 16 ms, p99 <= 50 ms", s.median <= 16.0 && s.p99 <= 50.0);
    }
  }
  if (harness.app.Close() != 0) return harness.table.Abort("the program did not close cleanly");
  return harness.table.ExitCode();
}

}  // namespace kestul::bench
