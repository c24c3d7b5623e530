// Start-up and footprint: launch to visible window, beside a bare window launched in turn; memory
// after start-up, and whether it grows while the program clicks as fast as it may.
#include <windows.h>

#include <timeapi.h>

#include <filesystem>

#include "bench.h"
#include "support/process_resources.h"

namespace kestul::bench {
namespace {

// Milliseconds from launch to the visible window of the class, or a negative value.
double LaunchMs(AppProcess& process, const std::vector<std::wstring>& arguments, const std::wstring& exe,
                const wchar_t* className) {
  const double launched = NowMs();
  if (!process.Launch(arguments, exe) || process.WaitForWindow(className, 15000, 1) == nullptr) return -1;
  return NowMs() - launched;
}

}  // namespace

int Run(Bench& harness) {
  timeBeginPeriod(1);  // this process's waits only: a 1 ms poll is 1 ms on Windows too
  std::vector<double> appMs, bareMs;
  for (int i = 0; i < 10; ++i) {
    for (const bool program : {true, false}) {
      AppProcess process;
      const double ms = program ? LaunchMs(process, harness.arguments, AppExePath(), kMainWindowClass)
                                : LaunchMs(process, {}, BuiltFile(L"bare_window.exe"), L"KestulBareWindow");
      if (ms < 0 || process.Close() != 0) return harness.table.Abort("a launch failed");
      (program ? appMs : bareMs).push_back(ms);
    }
  }
  const Spread startup = SpreadOf(appMs);
  harness.table.Row("start-up", "launch to visible window, median / p99 (ms), 10 launches", Text(startup, 0),
                    "bare window " + Text(SpreadOf(bareMs), 0), "median <= 500 ms", startup.median <= 500);

  if (!harness.Start()) return harness.table.Abort("the program did not start");
  AppProcess& app = harness.app;
  PumpFor(3000);  // whatever follows the first paint
  const Memory started = MemoryOf(app.process());
  harness.table.Row("footprint", "exe size (KiB)",
                    Fixed(static_cast<double>(std::filesystem::file_size(AppExePath())) / 1024, 0), "");
  harness.table.Row("footprint", "working set after start-up (KiB)", Fixed(started.workingSetKiB, 0), "");
  harness.table.Row("footprint", "private bytes after start-up (KiB)", Fixed(started.privateKiB, 0), "",
                    "<= 32 MiB", started.privateKiB <= 32 * 1024);

  // Clicking every 20 ms: a sample each second after ten seconds of warming up.
  SetControlText(app.Control(IDC_INTERVAL), L"20");
  PostButtonClick(app.window(), IDC_START_STOP);
  PumpFor(10000);
  const double warm = MemoryOf(app.process()).privateKiB;
  std::vector<double> growth;
  for (int second = 0; second < 30; ++second) {
    PumpFor(1000);
    growth.push_back(MemoryOf(app.process()).privateKiB - warm);
  }
  const int clicks = harness.target.Count(WM_LBUTTONDOWN);
  PostButtonClick(app.window(), IDC_START_STOP);
  if (!TextBecomes(app.Control(IDC_START_STOP), kStartCaption))
    return harness.table.Abort("the program did not stop");
  const Spread g = SpreadOf(growth);
  harness.table.Row("footprint",
                    "private bytes growth after 10 s, over 30 s clicking at 20 ms (" +
                        std::to_string(clicks) + " clicks), median / p99 (KiB)",
                    Text(g, 0), "", "p99 <= 256 KiB", g.p99 <= 256);
  if (app.Close() != 0) return harness.table.Abort("the program did not close cleanly");
  return harness.table.ExitCode();
}

}  // namespace kestul::bench
