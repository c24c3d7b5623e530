// The worker thread with a recording adapter and a real window receiving its status messages,
// and a soak of many start/stop cycles.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <ostream>
#include <thread>
#include <utility>
#include <vector>

#include "clicker/click_worker.h"
#include "common/unique_handle.h"
#include "common/window_messages.h"
#include "support/input.h"
#include "support/process.h"
#include "support/process_resources.h"
#include "support/recording_window.h"

namespace kestul {

// Found by GoogleTest beside ClickStatus, not in the unnamed namespace below.
static void PrintTo(ClickStatus status, std::ostream* out) {
  *out << "status " << static_cast<int>(status);
}

namespace {

using test::HeldClickAdapter;
using test::PumpFor;
using test::RecordingWindow;
using test::WaitUntil;

struct Status {
  std::uint64_t runId;
  ClickStatus status;
  bool operator==(const Status&) const = default;
};

void PrintTo(const Status& s, std::ostream* out) {
  *out << "run " << s.runId << ", ";
  PrintTo(s.status, out);
}

// The statuses the worker posted to `window`, in order.
std::vector<Status> StatusesOf(const RecordingWindow& window) {
  std::vector<Status> statuses;
  for (const test::Received& r : window.received()) {
    if (r.message == WM_CLICKER_STATUS) statuses.push_back({r.wParam, static_cast<ClickStatus>(r.lParam)});
  }
  return statuses;
}

struct Probe {
  std::atomic<int> calls{0};
  std::atomic<bool> deleted{false};
  std::atomic<bool> swapped{false};  // what the last click was told of the buttons
};

// Counts clicks; refuses the `refuseAt`-th one; can be slow.
class RecordingAdapter final : public InputAdapter {
 public:
  explicit RecordingAdapter(Probe& probe, int refuseAt = 0, DWORD delayMs = 0)
      : probe_(probe), refuseAt_(refuseAt), delayMs_(delayMs) {}
  ~RecordingAdapter() override { probe_.deleted = true; }
  bool SendClick(const ClickRequest& request) override {
    if (delayMs_ != 0) Sleep(delayMs_);
    probe_.swapped = request.buttonsSwapped;
    return ++probe_.calls != refuseAt_;
  }

 private:
  Probe& probe_;
  int refuseAt_;
  DWORD delayMs_;
};

ClickRequest Every(std::uint32_t intervalMs) {
  return {.interval_ms = intervalMs};
}

constexpr ClickStatus kRunning = ClickStatus::Running, kStopped = ClickStatus::Stopped,
                      kRejected = ClickStatus::InputRejected;

TEST(ClickWorker, StopInsideTheStartDelayClicksNothingAndReportsOnlyStopped) {
  RecordingWindow statuses;
  Probe probe;
  ClickWorker worker(statuses.window(), std::make_unique<RecordingAdapter>(probe));
  ASSERT_TRUE(worker.Start(Every(20), 41));
  EXPECT_TRUE(worker.IsRunning());
  PumpFor(300);
  worker.Stop();
  EXPECT_FALSE(worker.IsRunning());
  PumpFor(200);
  EXPECT_EQ(probe.calls, 0);
  EXPECT_EQ(StatusesOf(statuses), (std::vector<Status>{{41, kStopped}}));
}

TEST(ClickWorker, FirstClickComesAfterTheDelayAndStopDoesNotWaitForTheInterval) {
  RecordingWindow statuses;
  Probe probe;
  ClickWorker worker(statuses.window(), std::make_unique<RecordingAdapter>(probe));
  const ULONGLONG started = GetTickCount64();
  ASSERT_TRUE(worker.Start(Every(60000), 1));
  ASSERT_TRUE(WaitUntil([&] { return probe.calls == 1; }, 5000));
  EXPECT_GE(GetTickCount64() - started, 950u);
  EXPECT_FALSE(worker.Start(Every(20), 2)) << "a running worker is not started again";
  const ULONGLONG stopping = GetTickCount64();
  worker.Stop();
  EXPECT_LT(GetTickCount64() - stopping, 2000u) << "not a whole minute";
  PumpFor(200);
  EXPECT_EQ(StatusesOf(statuses), (std::vector<Status>{{1, kRunning}, {1, kStopped}}));
  EXPECT_EQ(probe.calls, 1);
}

TEST(ClickWorker, ARefusedClickEndsTheRunAndTheNextStartWorks) {
  RecordingWindow statuses;
  Probe probe;
  ClickWorker worker(statuses.window(), std::make_unique<RecordingAdapter>(probe, 3));
  ASSERT_TRUE(worker.Start(Every(20), 7));
  ASSERT_TRUE(WaitUntil(
      [&] { return !StatusesOf(statuses).empty() && StatusesOf(statuses).back().status == kRejected; },
      5000));
  EXPECT_FALSE(worker.IsRunning()) << "running is already false when the message is handled";
  EXPECT_EQ(probe.calls, 3);
  const ULONGLONG stopping = GetTickCount64();
  worker.Stop();
  EXPECT_LT(GetTickCount64() - stopping, 500u);
  ASSERT_TRUE(worker.Start(Every(20), 8));
  ASSERT_TRUE(WaitUntil([&] { return probe.calls >= 5; }, 5000));
  worker.Stop();
  PumpFor(200);
  EXPECT_EQ(StatusesOf(statuses),
            (std::vector<Status>{{7, kRunning}, {7, kRejected}, {8, kRunning}, {8, kStopped}}));
}

// The swap is the whole desktop's setting: it is put back before anything can end the test.
TEST(ClickWorker, ARunClicksWithTheButtonSwapOfItsStart) {
  RecordingWindow statuses;
  Probe probe;
  ClickWorker worker(statuses.window(), std::make_unique<RecordingAdapter>(probe));
  const BOOL was = SwapMouseButton(TRUE);
  const bool swapped = GetSystemMetrics(SM_SWAPBUTTON) != 0;
  const bool started = worker.Start(Every(20), 61);
  SwapMouseButton(FALSE);  // inside the start delay
  const bool clicked = started && WaitUntil([&] { return probe.calls > 0; }, 5000);
  worker.Stop();
  SwapMouseButton(was);
  ASSERT_TRUE(swapped && clicked);
  EXPECT_TRUE(probe.swapped.load());
}

TEST(ClickWorker, StopWithoutARunDoesNothingAndRepeatsSafely) {
  RecordingWindow statuses;
  Probe probe;
  ClickWorker worker(statuses.window(), std::make_unique<RecordingAdapter>(probe));
  worker.Stop();
  worker.Stop();
  PumpFor(100);
  EXPECT_EQ(StatusesOf(statuses), std::vector<Status>{});
  EXPECT_FALSE(worker.IsRunning());
}

TEST(ClickWorker, StopWaitsForASlowClickToReturn) {
  RecordingWindow statuses;
  Probe probe;
  ClickWorker worker(statuses.window(), std::make_unique<RecordingAdapter>(probe, 0, 400));
  ASSERT_TRUE(worker.Start(Every(20), 3));
  Sleep(1100);  // inside the first, slow click
  worker.Stop();
  EXPECT_GE(probe.calls, 1) << "the click in progress finished before Stop returned";
  const int calls = probe.calls;
  Sleep(500);
  EXPECT_EQ(probe.calls, calls) << "nothing after Stop";
}

std::atomic<int> hookCalls{0};

LRESULT CALLBACK CountingHook(int code, WPARAM wParam, LPARAM lParam) {
  if (code >= 0) ++hookCalls;
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

// Mouse events that pass every low-level hook and go nowhere in the end: one pixel across and
// back. Windows may drop a move by nothing before it reaches the hooks.
bool InjectNothing() {
  INPUT there{}, back{};
  there.type = back.type = INPUT_MOUSE;
  there.mi.dwFlags = back.mi.dwFlags = MOUSEEVENTF_MOVE;
  there.mi.dx = 1;
  back.mi.dx = -1;
  INPUT moves[] = {there, back};
  return SendInput(2, moves, sizeof(INPUT)) == 2;
}

// With a side button bound, the program's low-level mouse hook runs on the thread that stops
// runs, and a click being injected waits for it. A stop that only joined would stall every mouse
// on the system until Windows gave up on the hook, and then lose the hook for good.
TEST(ClickWorker, StopServesTheStoppingThreadsMouseHookWhileItWaits) {
  RecordingWindow statuses;
  const UniqueKernelHandle stopping(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  std::atomic<int> waiting{0};
  // Mouse events that go nowhere, injected once the test is about to stop the run: SendInput then
  // waits for a mouse hook of the stopping thread.
  ClickWorker worker(statuses.window(),
                     std::make_unique<HeldClickAdapter>(waiting, stopping.get(), InjectNothing));
  const UniqueHook hook(SetWindowsHookExW(WH_MOUSE_LL, CountingHook, GetModuleHandleW(nullptr), 0));
  ASSERT_TRUE(hook);
  ASSERT_TRUE(worker.Start(Every(20), 5));
  ASSERT_TRUE(WaitUntil([&] { return waiting > 0; }, 5000));  // pumping serves the hook meanwhile
  PumpFor(50);
  const int before = hookCalls;
  // From here nothing pumps but Stop.
  SetEvent(stopping.get());
  const ULONGLONG started = GetTickCount64();
  worker.Stop();
  const ULONGLONG took = GetTickCount64() - started;
  std::printf("Stop took %llu ms with the injection waiting for this thread's hook\n", took);
  EXPECT_GT(hookCalls.load(), before)
      << "the hook did not run while Stop waited (Stop took " << took << " ms)";
}

std::function<void()> insideTheWait;

LRESULT CALLBACK CallInsideTheWait(int code, WPARAM wParam, LPARAM lParam) {
  if (code >= 0 && insideTheWait) std::exchange(insideTheWait, nullptr)();
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

// A stop serves what is sent to its thread; one of those may ask for a new run once the old one
// has ended but before the stop has seen it end. Starting then would leave the stop waiting for
// the new run.
TEST(ClickWorker, NoRunStartsWhileAStopWaits) {
  RecordingWindow statuses;
  const UniqueKernelHandle release(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  std::atomic<int> holding{0};
  ClickWorker worker(statuses.window(), std::make_unique<HeldClickAdapter>(holding, release.get()));
  const UniqueHook hook(SetWindowsHookExW(WH_MOUSE_LL, CallInsideTheWait, GetModuleHandleW(nullptr), 0));
  ASSERT_TRUE(hook);
  ASSERT_TRUE(worker.Start(Every(20), 1));
  ASSERT_TRUE(WaitUntil([&] { return holding > 0; }, 5000));
  bool startedInside = false;
  // cppcheck-suppress danglingLifetime ; cleared below, before the locals it captures go
  insideTheWait = [&] {
    SetEvent(release.get());
    for (int i = 0; i < 500 && worker.IsRunning(); ++i) Sleep(10);
    startedInside = worker.Start(Every(20), 2);
    if (startedInside) worker.Stop();  // or the stop below would wait for this run
  };
  // The event waits for this thread's hook, which only the stop's wait can run.
  std::thread inject(InjectNothing);
  worker.Stop();
  inject.join();
  insideTheWait = nullptr;
  EXPECT_FALSE(startedInside);
  EXPECT_FALSE(worker.IsRunning());
  EXPECT_TRUE(worker.Start(Every(20), 3)) << "a new run once the stop is done";
  worker.Stop();
}

TEST(ClickWorker, DestructionDuringARunStopsItAndDeletesTheAdapter) {
  RecordingWindow statuses;
  Probe probe;
  {
    ClickWorker worker(statuses.window(), std::make_unique<RecordingAdapter>(probe));
    ASSERT_TRUE(worker.Start(Every(20), 9));
    ASSERT_TRUE(WaitUntil([&] { return probe.calls >= 2; }, 5000));
  }
  EXPECT_TRUE(probe.deleted);
  const int calls = probe.calls;
  PumpFor(200);
  EXPECT_EQ(probe.calls, calls);
  ASSERT_FALSE(StatusesOf(statuses).empty());
  EXPECT_EQ(StatusesOf(statuses).back(), (Status{9, kStopped}));
}

}  // namespace
}  // namespace kestul

namespace kestul {
namespace {

// KESTUL_SOAK_CYCLES raises the count for the long run (the test entry test_click_worker_long).
int SoakCycles(int shortRun) {
  const int cycles = _wtoi(test::EnvironmentValue(L"KESTUL_SOAK_CYCLES").c_str());
  return cycles > 0 ? cycles : shortRun;
}

TEST(ClickWorkerSoak, StartStopCyclesLeakNothingAndEachRunReportsOnceInOrder) {
  RecordingWindow statuses;
  Probe probe;
  auto worker = std::make_unique<ClickWorker>(statuses.window(), std::make_unique<RecordingAdapter>(probe));
  const DWORD pid = GetCurrentProcessId();
  PumpFor(50);
  const test::ProcessResources before = test::ReadResources(GetCurrentProcess(), pid);
  std::printf("resources before: %s\n", test::Describe(before).c_str());
  ASSERT_GT(before.threads, 0u) << "the thread count cannot be read";
  ASSERT_GT(before.handles, 0u) << "the handles cannot be read";

  const int cycles = SoakCycles(2000);
  constexpr int kBlock = 500;
  std::vector<std::uint64_t> clickingRuns;
  for (int i = 1; i <= cycles; ++i) {
    const auto runId = static_cast<std::uint64_t>(i);
    // Most runs end inside the start delay; one per block clicks before it is stopped.
    const bool clicking = i % kBlock == kBlock / 2;
    const int callsBefore = probe.calls;
    ASSERT_TRUE(worker->Start(Every(20), runId)) << "cycle " << i;
    if (i % 3 == 0) {
      EXPECT_FALSE(worker->Start(Every(20), runId + 100000)) << "cycle " << i;
    }
    if (clicking) {
      ASSERT_TRUE(WaitUntil([&] { return probe.calls >= callsBefore + 2; }, 5000));
      clickingRuns.push_back(runId);
    }
    worker->Stop();
    if (i % 2 == 0) worker->Stop();  // a second stop is harmless
    ASSERT_FALSE(worker->IsRunning()) << "cycle " << i;

    if (i % kBlock == 0) {
      PumpFor(50);
      const test::ProcessResources now = test::ReadResources(GetCurrentProcess(), pid);
      EXPECT_TRUE(test::NoGrowth(before, now))
          << "after " << i << " cycles: " << test::Describe(now) << "; before: " << test::Describe(before);
    }
  }
  PumpFor(200);

  // Every run ends with exactly one Stopped, posted before any status of the next run: Stop
  // returns only after its run has said its last word.
  std::vector<std::vector<ClickStatus>> byRun(static_cast<std::size_t>(cycles) + 1);
  std::uint64_t last = 0;
  for (const Status& s : StatusesOf(statuses)) {
    ASSERT_GE(s.runId, 1u);
    ASSERT_LE(s.runId, static_cast<std::uint64_t>(cycles)) << "a refused start posted a status";
    ASSERT_GE(s.runId, last) << "a status of run " << s.runId << " arrived after run " << last;
    last = s.runId;
    byRun[s.runId].push_back(s.status);
  }
  for (int i = 1; i <= cycles; ++i) {
    const auto runId = static_cast<std::uint64_t>(i);
    const bool clicked = std::find(clickingRuns.begin(), clickingRuns.end(), runId) != clickingRuns.end();
    const std::vector<ClickStatus> expected =
        clicked ? std::vector<ClickStatus>{kRunning, kStopped} : std::vector<ClickStatus>{kStopped};
    ASSERT_EQ(byRun[static_cast<std::size_t>(i)], expected) << "run " << i;
  }

  worker.reset();
  EXPECT_TRUE(probe.deleted);
}

}  // namespace
}  // namespace kestul
