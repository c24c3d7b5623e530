// Many start/stop cycles through the real window, every kind of start and stop mixed: the program
// must hold no more handles, objects or threads after them than after the first few, and a status
// of a finished run must never move the state.
#include "support/app_fixture.h"

#include <cstdio>
#include <cstdlib>

#include "support/process_resources.h"

namespace kestul::test {
namespace {

// KESTUL_SOAK_WINDOW_CYCLES raises the count for the long run (the test entry test_soak_long).
int Cycles() {
  const int cycles = _wtoi(EnvironmentValue(L"KESTUL_SOAK_WINDOW_CYCLES").c_str());
  return cycles > 0 ? cycles : 100;
}

constexpr UINT kSessionLock = 7;  // WTS_SESSION_LOCK

using SoakFixture = AppTest;

TEST_F(SoakFixture, MixedStartsAndStopsLeakNothingAndOldStatusesChangeNothing) {
  RecordingWindow target(targetArea);
  MoveCursorTo(insideTarget);
  ASSERT_TRUE(Start({.settings = SettingsFile({.interval = 20})}));

  const int cycles = Cycles();
  constexpr int kBlock = 25;
  ProcessResources baseline{};
  for (int i = 1; i <= cycles; ++i) {
    if (i % 2 == 0) {
      PostButtonClick(app.window(), IDC_START_STOP);
    } else {
      PressKey(VK_F8);
    }
    ASSERT_TRUE(BecomesRunning()) << "cycle " << i << " did not start";
    // One cycle per block runs long enough to click.
    if (i % kBlock == kBlock / 2) {
      ASSERT_TRUE(WaitUntil([&] { return target.Count(WM_LBUTTONUP) >= 2; }, 5000)) << "cycle " << i;
    }
    switch (i % 5) {
      case 0:
        PostButtonClick(app.window(), IDC_START_STOP);
        break;
      case 1:
        PressKey(VK_F8);
        break;
      case 2:
        PressKey(VK_F9);
        break;
      case 3:
        PostMessageW(app.window(), WM_WTSSESSION_CHANGE, kSessionLock, 0);
        break;
      default:
        PostMessageW(app.window(), WM_DISPLAYCHANGE, 32,
                     MAKELPARAM(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)));
        break;
    }
    ASSERT_TRUE(BecomesIdle()) << "cycle " << i << " did not stop";

    if (i % kBlock == 0) {
      // Statuses of earlier runs, as a slow worker might have posted them.
      for (WPARAM old = 0; old < 3; ++old) PostStatus(old, ClickStatus::Running);
      EXPECT_TRUE(StaysIdle(300)) << "an old run's status moved the state after cycle " << i;
      const ProcessResources now = ReadResources(app.process(), app.pid());

      if (i == kBlock) {
        baseline = now;
        std::printf("resources after the first block: %s\n", Describe(now).c_str());
        ASSERT_GT(now.threads, 0u) << "the thread count cannot be read";
        ASSERT_GT(now.handles, 0u) << "the handles cannot be read";
        continue;
      }

      EXPECT_TRUE(NoGrowth(baseline, now)) << "after " << i << " cycles: " << Describe(now) << "; after "
                                           << kBlock << ": " << Describe(baseline);
    }
  }
  EXPECT_EQ(AnyMessageBox(app.pid()), nullptr);
}

}  // namespace
}  // namespace kestul::test
