// Run control of the real program: starting, clicking, refusals, stops and what lands on disk.
#include "support/app_fixture.h"

namespace kestul::test {
namespace {

using RunFixture = AppTest;

TEST_F(RunFixture, ButtonStartsAfterTheDelayClicksWhereTheCursorIsAndStops) {
  RecordingWindow target(targetArea);
  ASSERT_TRUE(Start());
  MoveCursorTo(insideTarget);

  const double started = NowMs();
  StartByButton();
  EXPECT_FALSE(IsEnabled(app.Control(IDC_INTERVAL)));
  EXPECT_FALSE(IsEnabled(app.Control(IDC_TARGET_CURRENT)));
  EXPECT_TRUE(IsEnabled(app.Control(IDC_START_STOP)));
  ASSERT_TRUE(WaitUntil([&] { return target.Count(WM_LBUTTONUP) >= 5; }, 8000));
  EXPECT_GE(target.received().front().at - started, 900.0) << "the first click waits for the start delay";
  SaveScreenshot(L"main-view-running", app.window());
  StopByButton();
  PumpFor(300);
  const int clicks = target.Count(WM_LBUTTONDOWN);
  PumpFor(500);
  EXPECT_EQ(target.Count(WM_LBUTTONDOWN), clicks) << "no click after the stop";
  EXPECT_EQ(target.Count(WM_RBUTTONDOWN), 0);
  EXPECT_TRUE(AllLandedAt(target, insideTarget));
  EXPECT_TRUE(IsEnabled(app.Control(IDC_INTERVAL)));
  EXPECT_EQ(ReadFileBytes(settingsPath), SettingsFile()) << "saved before the start";
}

TEST_F(RunFixture, SavedPositionModeClicksTheSavedPointWithTheRightButton) {
  RecordingWindow target(targetArea);
  const POINT saved = PointIn(targetArea, 17, 20);
  const std::string settings = SettingsFile(
      {.mode = "saved", .button = "right", .interval = 50, .position = saved, .layout = DesktopSignature()});
  ASSERT_TRUE(Start({.settings = settings}));
  MoveCursorTo(PointIn(targetArea, 83, 90));
  StartByButton();
  ASSERT_TRUE(WaitUntil([&] { return target.Count(WM_RBUTTONUP) >= 3; }, 8000));
  StopByButton();
  EXPECT_EQ(target.Count(WM_LBUTTONDOWN), 0);
  EXPECT_TRUE(AllLandedAt(target, saved));
}

// Which texts are refused is a rule tested natively; here one refusal's box and what it leaves.
TEST_F(RunFixture, ARefusedIntervalLeavesTheProgramIdleAndLeadingZerosAreAccepted) {
  ASSERT_TRUE(Start());
  SetControlText(app.Control(IDC_INTERVAL), L"19");
  PostButtonClick(app.window(), IDC_START_STOP);
  ExpectMessageBox(app.pid(), kInputErrorCaption, kIntervalErrorText, L"message-input-error");
  EXPECT_EQ(StartStopText(), kStartCaption);
  EXPECT_TRUE(IsEnabled(app.Control(IDC_INTERVAL)));
  EXPECT_FALSE(FileExists(settingsPath)) << "a refused start writes nothing";

  SetControlText(app.Control(IDC_INTERVAL), L"0100");
  StartByButton();
  StopByButton();
  EXPECT_NE(ReadFileBytes(settingsPath).find("interval_ms=100\r\n"), std::string::npos);
}

TEST_F(RunFixture, TypedIntervalIsDigitsOnlyAndAtMostFiveCharacters) {
  ASSERT_TRUE(Start());
  TypeIntoEdit(app.Control(IDC_INTERVAL), L"1a2-3 4567");
  EXPECT_EQ(WindowText(app.Control(IDC_INTERVAL)), L"12345");
  TypeIntoEdit(app.Control(IDC_INTERVAL), L"99999");
  EXPECT_EQ(WindowText(app.Control(IDC_INTERVAL)), L"99999");
  PostButtonClick(app.window(), IDC_START_STOP);
  // The start/stop key under the box starts nothing and opens no second box.
  ASSERT_NE(WaitForMessageBox(app.pid(), kInputErrorCaption), nullptr);
  PressKey(VK_F8);
  PressKey(VK_F8);
  PumpFor(300);
  ExpectMessageBox(app.pid(), kInputErrorCaption, kIntervalErrorText);
  EXPECT_EQ(AnyMessageBox(app.pid()), nullptr) << "a second box under the first";
}

TEST_F(RunFixture, SavedPositionModeWithoutAPositionIsRefused) {
  ASSERT_TRUE(Start());
  ChooseOption(IDC_TARGET_SAVED);
  ASSERT_TRUE(IsChecked(app.Control(IDC_TARGET_SAVED)));
  PostButtonClick(app.window(), IDC_START_STOP);
  ExpectMessageBox(app.pid(), kSavedPositionErrorCaption, kNotSavedText, L"message-no-saved-position");
  EXPECT_EQ(StartStopText(), kStartCaption);
}

TEST_F(RunFixture, ChangedLayoutRefusesTheSavedPositionButNotTheCursorMode) {
  ASSERT_TRUE(Start({.settings = SettingsFile(
                         {.mode = "saved", .position = POINT{10, 10}, .layout = ChangedDesktopSignature()}),
                     .pastWarning = true}));
  PressKey(VK_F8);  // the start/stop key goes through the same check as the button
  ExpectMessageBox(app.pid(), kSavedPositionErrorCaption, kLayoutChangedText, L"message-layout-changed");
  EXPECT_EQ(StartStopText(), kStartCaption);
  ChooseOption(IDC_TARGET_CURRENT);
  StartByButton();
  StopByButton();
}

TEST_F(RunFixture, SavedPositionOnNoMonitorIsRefused) {
  const POINT off = OffMonitorPoint();
  ASSERT_TRUE(
      Start({.settings = SettingsFile({.mode = "saved", .position = off, .layout = DesktopSignature()}),
             .pastWarning = true}));
  PostButtonClick(app.window(), IDC_START_STOP);
  ExpectMessageBox(app.pid(), kSavedPositionErrorCaption, kOffMonitorText);
  EXPECT_EQ(StartStopText(), kStartCaption);
}

TEST_F(RunFixture, ProtectedFileIsKeptUntilTheUserChangesSomething) {
  const std::string refused = "schema_version=1\r\nmode=sideways\r\n";
  ASSERT_TRUE(Start({.settings = refused, .pastWarning = true}));

  StartByButton();
  StopByButton();
  EXPECT_EQ(ReadFileBytes(settingsPath), refused) << "nothing changed: the refused file stays";

  ChooseOption(IDC_BUTTON_RIGHT);
  StartByButton();
  StopByButton();
  EXPECT_EQ(ReadFileBytes(settingsPath), SettingsFile({.button = "right"}));

  // From now on every start writes, even with nothing changed.
  ASSERT_TRUE(WriteFileBytes(settingsPath, "overwritten by hand"));
  StartByButton();
  StopByButton();
  EXPECT_EQ(ReadFileBytes(settingsPath), SettingsFile({.button = "right"}));
}

TEST_F(RunFixture, StatusReportsOfOtherRunsAreIgnored) {
  ASSERT_TRUE(Start());
  StartByButton();  // run 1
  StopByButton();
  PostStatus(7, ClickStatus::Running);  // a run that never existed
  PostStatus(0, ClickStatus::Running);  // before the first run
  PostStatus(7, ClickStatus::InputRejected);
  PostStatus(1, ClickStatus::Running);  // the stopped run's own, come late: nothing clicks
  PumpFor(500);
  EXPECT_EQ(StartStopText(), kStartCaption);
  EXPECT_EQ(AnyMessageBox(app.pid()), nullptr);
}

// Windows sends these; each stops a run, the end of the session is let through and then ends it.
TEST_F(RunFixture, LockSuspendDisplayChangeAndSignOutStopClicking) {
  RecordingWindow target(targetArea);
  ASSERT_TRUE(Start());
  MoveCursorTo(insideTarget);
  struct Notification {
    UINT message;
    WPARAM wParam;
    LRESULT answer;
  };
  for (const Notification n :
       {Notification{WM_WTSSESSION_CHANGE, WTS_SESSION_LOCK, 0},
        Notification{WM_POWERBROADCAST, PBT_APMSUSPEND, TRUE}, Notification{WM_DISPLAYCHANGE, 32, 0},
        Notification{WM_QUERYENDSESSION, 0, TRUE}}) {
    SCOPED_TRACE(n.message);
    target.Clear();
    StartByButton();
    ASSERT_TRUE(WaitUntil([&] { return target.Count(WM_LBUTTONUP) >= 1; }, 5000));
    EXPECT_EQ(SendWithTimeout(app.window(), n.message, n.wParam, 0), n.answer);
    EXPECT_EQ(StartStopText(), kStartCaption) << "stopped before the answer";
    PumpFor(300);
    const int clicks = target.Count(WM_LBUTTONDOWN);
    PumpFor(400);
    EXPECT_EQ(target.Count(WM_LBUTTONDOWN), clicks);
  }
  // Unlock and resume restart nothing.
  PostMessageW(app.window(), WM_WTSSESSION_CHANGE, WTS_SESSION_UNLOCK, 0);
  PostMessageW(app.window(), WM_POWERBROADCAST, PBT_APMRESUMESUSPEND, 0);
  PumpFor(1500);
  EXPECT_EQ(StartStopText(), kStartCaption);
  // The end of the session ends the program, from the settings view as well.
  ASSERT_TRUE(OpenSettingsView());
  SendWithTimeout(app.window(), WM_ENDSESSION, TRUE, ENDSESSION_CLOSEAPP);
  EXPECT_EQ(app.WaitForExit(), 0u);
}

TEST_F(RunFixture, ClosingWhileClickingEndsTheProcessWithZero) {
  RecordingWindow target(targetArea);
  ASSERT_TRUE(Start());
  MoveCursorTo(insideTarget);
  StartByButton();
  ASSERT_TRUE(WaitUntil([&] { return target.Count(WM_LBUTTONUP) >= 2; }, 5000));
  ExpectCleanExit();
  PumpFor(300);
  const int clicks = target.Count(WM_LBUTTONDOWN);
  PumpFor(400);
  EXPECT_EQ(target.Count(WM_LBUTTONDOWN), clicks);
}

}  // namespace
}  // namespace kestul::test
