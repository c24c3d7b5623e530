// Idle cost: the CPU time the program takes while it waits for the user, second by second, beside a
// bare window measured over the same seconds.
#include "bench.h"
#include "support/process_resources.h"

namespace kestul::bench {

int Run(Bench& harness) {
  AppProcess bare({}, BuiltFile(L"bare_window.exe"));
  if (!harness.Start() || bare.WaitForWindow(L"KestulBareWindow") == nullptr) {
    return harness.table.Abort("a window did not appear");
  }
  PumpFor(3000);  // whatever follows the first paint

  constexpr int kSeconds = 30;
  std::vector<double> appMs, bareMs;
  double appLast = CpuMs(harness.app.process()), bareLast = CpuMs(bare.process());
  for (int second = 0; second < kSeconds; ++second) {
    PumpFor(1000);
    const double appNow = CpuMs(harness.app.process()), bareNow = CpuMs(bare.process());
    appMs.push_back(appNow - appLast);
    bareMs.push_back(bareNow - bareLast);
    appLast = appNow;
    bareLast = bareNow;
  }
  double appTotal = 0, bareTotal = 0;
  for (int i = 0; i < kSeconds; ++i) {
    appTotal += appMs[static_cast<std::size_t>(i)];
    bareTotal += bareMs[static_cast<std::size_t>(i)];
  }
  // Process times move in steps of the system's clock: 10 ms under Wine, 15.6 ms on Windows.
  constexpr double kClockStepMs = 15.625;
  harness.table.Row("idle cost", "CPU ms per second idle, median / p99", Text(SpreadOf(appMs), 1),
                    "bare window " + Text(SpreadOf(bareMs), 1));
  harness.table.Row("idle cost", "CPU ms over " + std::to_string(kSeconds) + " s idle", Fixed(appTotal, 0),
                    "bare window " + Fixed(bareTotal, 0), "<= 1.2 x bare + one clock step",
                    appTotal <= 1.2 * bareTotal + kClockStepMs);
  if (harness.app.Close() != 0 || bare.Close() != 0)
    return harness.table.Abort("a window did not close cleanly");
  return harness.table.ExitCode();
}

}  // namespace kestul::bench
