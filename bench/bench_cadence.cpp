// Click cadence: the period between two presses as a window receives them, minus the interval that
// was asked for. Beside the program runs the bare wait loop its worker is built on, in this
// process: the same click (SendInputAdapter), then WaitForSingleObject on an event for the interval.
// Both take turns in blocks, so a busy moment of a shared machine weighs on both alike.
#include <thread>

#include "bench.h"
#include "clicker/send_input_adapter.h"
#include "common/unique_handle.h"

namespace kestul::bench {
namespace {

struct Cadence {
  std::vector<double> offsetsMs;
  int outOfStep = 0;  // a period below half or above one and a half intervals, or a press without release
};

void Measure(const RecordingWindow& target, int intervalMs, Cadence& into) {
  double lastPress = -1;
  bool pressed = false;
  for (const Received& r : target.received()) {
    if (r.message == WM_LBUTTONUP) pressed = false;
    if (r.message != WM_LBUTTONDOWN) continue;
    if (pressed) ++into.outOfStep;
    if (lastPress >= 0) {
      const double period = r.at - lastPress;
      into.offsetsMs.push_back(period - intervalMs);
      if (period < 0.5 * intervalMs || period > 1.5 * intervalMs) ++into.outOfStep;
    }
    lastPress = r.at;
    pressed = true;
  }
}

bool Presses(const RecordingWindow& target, int clicks, int intervalMs) {
  const auto timeout = static_cast<DWORD>(clicks * (intervalMs + 50) + 10000);
  return WaitUntil([&] { return target.Count(WM_LBUTTONDOWN) >= clicks; }, timeout);
}

bool ProgramBlock(const AppProcess& app, RecordingWindow& target, int intervalMs, int clicks) {
  target.Clear();
  SetControlText(app.Control(IDC_INTERVAL), std::to_wstring(intervalMs));
  PostButtonClick(app.window(), IDC_START_STOP);
  const bool clicked = Presses(target, clicks, intervalMs);
  PostButtonClick(app.window(), IDC_START_STOP);
  const bool stopped = TextBecomes(app.Control(IDC_START_STOP), kStartCaption);
  PumpFor(200);  // presses still on their way belong to this block
  return clicked && stopped;
}

bool WaitLoopBlock(RecordingWindow& target, int intervalMs, int clicks) {
  target.Clear();
  const UniqueKernelHandle never(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  std::thread loop([&] {
    SendInputAdapter adapter;
    const ClickRequest request{0, 0, static_cast<std::uint32_t>(intervalMs), 0, 0};
    for (int i = 0; i < clicks; ++i) {
      adapter.SendClick(request);
      WaitForSingleObject(never.get(), static_cast<DWORD>(intervalMs));
    }
  });
  const bool clicked = Presses(target, clicks, intervalMs);
  loop.join();
  PumpFor(200);
  return clicked;
}

}  // namespace
}  // namespace kestul::bench

int main() {
  using namespace kestul::bench;
  Bench bench;
  if (!bench.Start()) return bench.table.Abort("the program did not start");
  AppProcess& app = bench.app;
  RecordingWindow& target = bench.target;
  Table& table = bench.table;

  struct Plan {
    int intervalMs, clicksPerBlock, blocks;
  };
  for (const Plan plan : {Plan{20, 125, 4}, Plan{100, 50, 4}, Plan{1000, 11, 3}}) {
    Cadence program, loop;
    for (int block = 0; block < plan.blocks; ++block) {
      if (!ProgramBlock(app, target, plan.intervalMs, plan.clicksPerBlock)) return table.Abort("no clicks");
      Measure(target, plan.intervalMs, program);
      if (!WaitLoopBlock(target, plan.intervalMs, plan.clicksPerBlock)) return table.Abort("no loop clicks");
      Measure(target, plan.intervalMs, loop);
    }
    const Spread p = SpreadOf(program.offsetsMs), l = SpreadOf(loop.offsetsMs);
    const std::string name = "cadence " + std::to_string(plan.intervalMs) + " ms";
    table.Row(
        name,
        "period - interval, median / p99 (ms), " + std::to_string(program.offsetsMs.size()) + " periods",
        Text(p), "bare wait loop " + Text(l), "<= loop + 1 / + 5 ms",
        p.median <= l.median + 1.0 && p.p99 <= l.p99 + 5.0);
    table.Row(name, "periods out of step (a click lost or doubled)", std::to_string(program.outOfStep),
              "bare wait loop " + std::to_string(loop.outOfStep), "none", program.outOfStep == 0);
  }
  if (app.Close() != 0) return table.Abort("the program did not close cleanly");
  return table.ExitCode();
}
