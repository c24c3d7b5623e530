// What every benchmark shares: order statistics, one Markdown row per figure (the rows of
// docs/performance.md), the exit code that tells ctest whether every target was met, and the
// program on a private settings folder with a window under the cursor to take its clicks.
#pragma once

#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "support/app_fixture.h"

namespace kestul::bench {

using namespace kestul::test;  // the benchmarks are written in the harness's terms

struct Spread {
  double median = 0;
  double p99 = 0;
};

// Nearest-rank median and 99th percentile; below 100 samples the p99 is the largest.
inline Spread SpreadOf(std::vector<double> samples) {
  if (samples.empty()) return {};
  std::sort(samples.begin(), samples.end());
  const auto rank = [&](double p) {
    const auto r = static_cast<std::size_t>(std::ceil(p / 100.0 * static_cast<double>(samples.size())));
    return samples[std::clamp<std::size_t>(r, 1, samples.size()) - 1];
  };
  return {rank(50), rank(99)};
}

inline std::string Fixed(double value, int decimals = 2) {
  char text[32];
  std::snprintf(text, sizeof(text), "%.*f", decimals, value);
  return text;
}

inline std::string Text(const Spread& s, int decimals = 2) {
  return Fixed(s.median, decimals) + " / " + Fixed(s.p99, decimals);
}

class Table {
 public:
  // The process is per-monitor aware, as the program and the tests are, so that the cursor, the
  // target window and the program share one set of pixels.
  Table() {
    SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
    std::printf(
        "| benchmark | measure | KESTUL | reference | target | result |\n|---|---|---|---|---|---|\n");
  }
  // One row; a row without a target is information only.
  void Row(const std::string& benchmark, const std::string& measure, const std::string& kestul,
           const std::string& reference, const std::string& target = "", bool met = true) {
    const char* result = target.empty() ? "info" : met ? "met" : "MISSED";
    std::printf("| %s | %s | %s | %s | %s | %s |\n", benchmark.c_str(), measure.c_str(), kestul.c_str(),
                reference.c_str(), target.c_str(), result);
    std::fflush(stdout);
    missed_ += met ? 0 : 1;
  }
  // A run that could not be measured at all.
  int Abort(const char* why) {
    std::printf("could not measure: %s\n", why);
    return 2;
  }
  int ExitCode() const {
    if (missed_ > 0) std::printf("%d targets missed\n", missed_);
    return missed_ == 0 ? 0 : 1;
  }

 private:
  int missed_ = 0;
};

// The table first (it makes the process per-monitor aware), then a window of this process under
// the cursor, and the program, started on a private settings folder by Start().
struct Bench {
  Table table;
  TempFolder folder;
  std::vector<std::wstring> arguments{L"--settings-dir", folder.path()};
  RecordingWindow target{TargetArea()};
  AppProcess app;

  // False when the program's main window does not appear.
  bool Start() {
    MoveCursorTo(PointIn(TargetArea(), 50, 50));
    return app.Launch(arguments) && app.WaitForMainWindow() != nullptr;
  }
};

// Each benchmark's own body, called by the one entry point (bench_main.cpp); returns the exit code.
int Run(Bench& harness);

}  // namespace kestul::bench
