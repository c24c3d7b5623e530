// What the program costs while it sits there and while it clicks, and how fast it comes up, each
// beside a bare window measured in the same run.
#include <algorithm>

#include "benches.h"

namespace kestul::bench {

namespace {

constexpr RECT kTargetArea{900, 400, 1500, 900};

void AddMemory(RawResults& results, const std::string& stage, const std::string& subject, HANDLE process) {
  const Memory m = MemoryOf(process);
  results.Add("memory-" + stage, subject, "private-kib", m.privateKiB);
  results.Add("memory-" + stage, subject, "working-set-kib", m.workingSetKiB);
}

}  // namespace

int IdleAndFootprint(RawResults& results, double idleSeconds, double clickingSeconds,
                     double footprintSeconds) {
  results.Add("exe-size", "kestul", "kib", FileKiB(AppExePath()));
  results.Add("exe-size", "minimal", "kib", FileKiB(MinimalExePath()));

  ClickTarget target(kTargetArea);
  RunningApp app(1000);
  Process minimal(MinimalExePath(), {});
  HWND minimalWindow = minimal.WaitForWindow(kMinimalClass);
  if (app.window == nullptr || minimalWindow == nullptr) return 1;
  const POINT centre = target.Centre();
  SetCursorPos(centre.x, centre.y);
  PumpFor(3.0);  // let both finish whatever the system does after the first paint
  AddMemory(results, "startup", "kestul", app.process.handle());
  AddMemory(results, "startup", "minimal", minimal.handle());

  // Both measured over the same seconds, so a busy machine weighs on both alike.
  const auto cpuOver = [&](const std::string& bench, double seconds) {
    const double app0 = CpuSeconds(app.process.handle()), min0 = CpuSeconds(minimal.handle());
    const double start = Now();
    PumpFor(seconds);
    const double elapsed = Now() - start;
    results.Add(bench, "kestul", "cpu-ms", (CpuSeconds(app.process.handle()) - app0) * 1000.0);
    results.Add(bench, "minimal", "cpu-ms", (CpuSeconds(minimal.handle()) - min0) * 1000.0);
    results.Add(bench, "kestul", "seconds", elapsed);
  };
  cpuOver("cpu-idle", idleSeconds);

  target.Clear();
  if (!app.StartClicking(1000, target)) return 1;
  cpuOver("cpu-clicking-1000", clickingSeconds);
  results.Add("cpu-clicking-1000", "kestul", "clicks", target.Downs());
  if (!app.StopClicking()) return 1;

  // Memory while clicking as fast as allowed: a sample after a warm-up, then every ten seconds.
  target.Clear();
  if (!app.StartClicking(20, target)) return 1;
  PumpFor(10.0);
  const Memory warm = MemoryOf(app.process.handle());
  AddMemory(results, "warm", "kestul", app.process.handle());
  double highest = warm.privateKiB;
  for (double done = 0; done < footprintSeconds; done += 10.0) {
    PumpFor(std::min(10.0, footprintSeconds - done));
    highest = std::max(highest, MemoryOf(app.process.handle()).privateKiB);
  }
  AddMemory(results, "clicked", "kestul", app.process.handle());
  AddMemory(results, "clicked", "minimal", minimal.handle());
  results.Add("memory-clicked", "kestul", "highest-private-kib", highest);
  results.Add("memory-clicked", "kestul", "seconds", footprintSeconds + 10.0);
  results.Add("memory-clicked", "kestul", "clicks", target.Downs());
  if (!app.StopClicking()) return 1;
  const bool closed = app.process.Close(app.window) == 0;
  return closed && minimal.Close(minimalWindow) == 0 ? 0 : 1;
}

int StartUp(RawResults& results, int repetitions) {
  std::vector<double> appMs, minimalMs, withDllsMs;
  TempFolder folder;
  const auto launchMinimal = [](const std::vector<std::wstring>& arguments, std::vector<double>& ms) {
    Process minimal(MinimalExePath(), arguments);
    HWND window = minimal.WaitForWindow(kMinimalClass);
    if (window == nullptr) return false;
    ms.push_back((Now() - minimal.launchedAt()) * 1000.0);
    return minimal.Close(window) == 0;
  };
  for (int i = 0; i < repetitions; ++i) {
    if (!launchMinimal({}, minimalMs) || !launchMinimal({L"--system-dlls"}, withDllsMs)) return 1;
    {
      Process app(AppExePath(), {L"--settings-dir", folder.path()});
      HWND window = app.WaitForWindow(kMainClass);
      if (window == nullptr) return 1;
      appMs.push_back((Now() - app.launchedAt()) * 1000.0);
      if (app.Close(window) != 0) return 1;
    }
  }
  results.Add("startup", "kestul", "median-ms", Median(appMs));
  results.Add("startup", "kestul", "p99-ms", Percentile(appMs, 99));
  results.Add("startup", "minimal", "median-ms", Median(minimalMs));
  results.Add("startup", "minimal", "p99-ms", Percentile(minimalMs, 99));
  results.Add("startup", "minimal-dlls", "median-ms", Median(withDllsMs));
  results.Add("startup", "minimal-dlls", "p99-ms", Percentile(withDllsMs, 99));
  results.Add("startup", "kestul", "samples", static_cast<double>(appMs.size()));
  return 0;
}

}  // namespace kestul::bench
