// kestul_bench.exe COMMAND RAW.csv ARGS... — one benchmark per call, driven by tools/bench.sh.
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

#include "benches.h"

namespace {

double Argument(int argc, wchar_t** argv, int index, double fallback) {
  return index < argc ? std::wcstod(argv[index], nullptr) : fallback;
}

int Usage() {
  std::fputs(
      "usage: kestul_bench cadence RAW INTERVAL CLICKS RUNS | xdotool-target RAW DELAY CLICKS READY |\n"
      "       stop-latency RAW REPS | cost RAW IDLE_S CLICKING_S FOOTPRINT_S | startup RAW REPS |\n"
      "       report RAW OUT.csv OUT.md NOTES\n",
      stderr);
  return 2;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  using namespace kestul::bench;
  // Physical pixels, like the program: the click target and the cursor share its coordinates.
  SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
  if (argc < 3) return Usage();
  const std::wstring command = argv[1];
  if (command == L"report") return argc < 6 ? Usage() : Report(argv[2], argv[3], argv[4], argv[5]);
  RawResults results(argv[2]);
  const auto number = [&](int index, double fallback) { return Argument(argc, argv, index, fallback); };
  if (command == L"cadence") {
    return CadenceOfApp(results, static_cast<int>(number(3, 20)), static_cast<int>(number(4, 500)),
                        static_cast<int>(number(5, 1)));
  }
  if (command == L"xdotool-target") {
    if (argc < 6) return Usage();
    return CadenceOfXdotool(results, static_cast<int>(number(3, 20)), static_cast<int>(number(4, 500)),
                            argv[5]);
  }
  if (command == L"stop-latency") return StopLatency(results, static_cast<int>(number(3, 15)));
  if (command == L"cost") return IdleAndFootprint(results, number(3, 30), number(4, 30), number(5, 60));
  if (command == L"startup") return StartUp(results, static_cast<int>(number(3, 10)));
  return Usage();
}
