// Click cadence: whether every click the program injects reaches the window once, and how late
// each period between two presses ends, as the window receives them. Beside the program runs the
// bare wait loop its worker is built on, in this process: the same click (SendInputAdapter), then
// WaitForSingleObject on an event for the interval. Both take turns in short blocks, so a busy
// moment of a shared machine weighs on both alike.
#include <atomic>
#include <cstdlib>
#include <thread>

#include "bench.h"
#include "clicker/send_input_adapter.h"
#include "common/unique_handle.h"

namespace kestul::bench {
namespace {

// Left presses and releases carrying the program's marker, counted by a low-level mouse hook of
// this thread as they enter the system's input, before any window sees them.
int markedPresses = 0, markedReleases = 0;

LRESULT CALLBACK CountMarked(int code, WPARAM message, LPARAM data) {
  if (code == HC_ACTION && reinterpret_cast<const MSLLHOOKSTRUCT*>(data)->dwExtraInfo == kInjectedMarker) {
    if (message == WM_LBUTTONDOWN) ++markedPresses;
    if (message == WM_LBUTTONUP) ++markedReleases;
  }
  return CallNextHookEx(nullptr, code, message, data);
}

struct Cadence {
  std::vector<double> latenessMs;  // period - interval
  int late = 0;                    // periods over one and a half intervals
  int lostOrDoubled = 0;           // presses or releases received but not injected or the reverse,
                                   // and presses without a release before the next
};

// Adds what the block received to `into`, and clears it for the next block.
void Measure(RecordingWindow& target, int intervalMs, Cadence& into) {
  const int presses = target.Count(WM_LBUTTONDOWN), releases = target.Count(WM_LBUTTONUP);
  into.lostOrDoubled += std::abs(presses - markedPresses) + std::abs(releases - markedReleases);
  double lastPress = -1;
  bool pressed = false;
  for (const Received& r : target.received()) {
    if (r.message == WM_LBUTTONUP) pressed = false;
    if (r.message != WM_LBUTTONDOWN) continue;
    if (pressed) ++into.lostOrDoubled;
    if (lastPress >= 0) {
      const double lateness = r.at - lastPress - intervalMs;
      into.latenessMs.push_back(lateness);
      if (lateness > 0.5 * intervalMs) ++into.late;
    }
    lastPress = r.at;
    pressed = true;
  }
  target.Clear();
  markedPresses = markedReleases = 0;
}

bool Clicks(const RecordingWindow& target, int clicks, int intervalMs) {
  const auto timeout = static_cast<DWORD>(clicks * (intervalMs + 50) + 10000);
  return WaitUntil([&] { return target.Count(WM_LBUTTONUP) >= clicks; }, timeout);
}

// Ten blocks each, at least 100 periods a row, so that the p99 is not simply the slowest period.
constexpr int kBlocks = 10;
struct Plan {
  int intervalMs, clicks;  // clicks per block
};

bool ProgramBlock(Bench& harness, const Plan& plan, Cadence& into) {
  SetControlText(harness.app.Control(IDC_INTERVAL), std::to_wstring(plan.intervalMs));
  PostButtonClick(harness.app.window(), IDC_START_STOP);
  const bool clicked = Clicks(harness.target, plan.clicks, plan.intervalMs);
  PostButtonClick(harness.app.window(), IDC_START_STOP);
  const bool stopped = TextBecomes(harness.app.Control(IDC_START_STOP), kStartCaption);
  PumpFor(200);  // clicks still on their way belong to this block
  Measure(harness.target, plan.intervalMs, into);
  return clicked && stopped;
}

bool WaitLoopBlock(RecordingWindow& target, const Plan& plan, Cadence& into) {
  const UniqueKernelHandle never(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  std::atomic<bool> finished{false};
  std::thread loop([&] {
    SendInputAdapter adapter;
    const ClickRequest here{};  // a left click where the cursor is
    for (int i = 0; i < plan.clicks; ++i) {
      adapter.SendClick(here);
      WaitForSingleObject(never.get(), static_cast<DWORD>(plan.intervalMs));
    }
    finished = true;
  });
  // The loop's clicks wait for this thread's hook: it pumps until the loop is done.
  const bool clicked =
      Clicks(target, plan.clicks, plan.intervalMs) && WaitUntil([&] { return finished.load(); }, 5000);
  loop.join();
  PumpFor(200);
  Measure(target, plan.intervalMs, into);
  return clicked;
}

}  // namespace

int Run(Bench& harness) {
  const UniqueHook hook(SetWindowsHookExW(WH_MOUSE_LL, CountMarked, GetModuleHandleW(nullptr), 0));
  if (!hook) return harness.table.Abort("no mouse hook");
  if (!harness.Start()) return harness.table.Abort("the program did not start");

  for (const Plan plan : {Plan{20, 51}, Plan{100, 21}, Plan{1000, 11}}) {
    Cadence program, loop;
    for (int block = 0; block < kBlocks; ++block) {
      if (!ProgramBlock(harness, plan, program) || !WaitLoopBlock(harness.target, plan, loop)) {
        return harness.table.Abort("a block got no clicks");
      }
    }
    const Spread p = SpreadOf(program.latenessMs), l = SpreadOf(loop.latenessMs);
    const std::string name = "cadence " + std::to_string(plan.intervalMs) + " ms";
    const std::string periods = std::to_string(program.latenessMs.size()) + " periods";
    harness.table.Row(
        name, "clicks lost or doubled (window against injected)", std::to_string(program.lostOrDoubled),
        "bare wait loop " + std::to_string(loop.lostOrDoubled), "none", program.lostOrDoubled == 0);
    harness.table.Row(name, "lateness (period - interval), median / p99 (ms), " + periods, Text(p),
                      "bare wait loop " + Text(l), "<= loop + 1 / + 5 ms",
                      p.median <= l.median + 1.0 && p.p99 <= l.p99 + 5.0);
    harness.table.Row(name, "late periods (over 1.5 intervals), of " + periods, std::to_string(program.late),
                      "bare wait loop " + std::to_string(loop.late));
  }
  if (harness.app.Close() != 0) return harness.table.Abort("the program did not close cleanly");
  return harness.table.ExitCode();
}

}  // namespace kestul::bench
