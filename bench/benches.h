// The benchmarks of kestul_bench.exe; each appends its raw figures to the results file.
#pragma once

#include <string>

#include "bench_support.h"

namespace kestul::bench {

// Click cadence of the real exe at `intervalMs`: `runs` runs of `clicks` clicks into a target window.
int CadenceOfApp(RawResults& results, int intervalMs, int clicks, int runs);
// The same target for the xdotool reference: announces itself by creating `readyFile`, then takes
// `clicks` clicks sent from the X side with `delayMs` between them.
int CadenceOfXdotool(RawResults& results, int delayMs, int clicks, const std::wstring& readyFile);
// F9 and the start/stop key to the idle caption, at 60000 and 20 ms, against a bare hotkey window.
int StopLatency(RawResults& results, int repetitions);
// CPU while idle and while clicking, memory after start-up and after clicking, against the bare window.
int IdleAndFootprint(RawResults& results, double idleSeconds, double clickingSeconds,
                     double footprintSeconds);
// Launch to visible main window, alternating with the bare window.
int StartUp(RawResults& results, int repetitions);
// Turns the raw figures into the table: printed, and written as CSV and Markdown.
int Report(const std::wstring& rawPath, const std::wstring& csvPath, const std::wstring& markdownPath,
           const std::wstring& notesPath);

}  // namespace kestul::bench
