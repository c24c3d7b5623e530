// Run control of the real program: starting, clicking, refusals, stops and what lands on disk.
#include "e2e/e2e_common.h"

namespace kestul::test {
namespace {

struct RunFixture : ::testing::Test {
  TempFolder folder;
  std::wstring settingsPath = folder.File(L"settings.ini");
  RECT targetArea = TargetArea();
  POINT insideTarget = PointIn(targetArea, 50, 50);

  static void StartAndExpectRunning(AppProcess& app) {
    PostButtonClick(app.window(), kStartStop);
    EXPECT_TRUE(CaptionBecomes(app.Control(kStartStop), kStopCaption));
  }
  static void Stop(AppProcess& app) {
    PostButtonClick(app.window(), kStartStop);
    EXPECT_TRUE(CaptionBecomes(app.Control(kStartStop), kStartCaption));
  }
  void ExpectRefusedInterval(AppProcess& app, const std::wstring& text) {
    SCOPED_TRACE(std::to_string(text.size()) + " characters");
    SetControlText(app.Control(kInterval), text);
    PostButtonClick(app.window(), kStartStop);
    ExpectMessageBox(app.pid(), L"入力エラー", L"間隔は20～60000の符号なし整数で入力してください。",
                     L"message-input-error");
    EXPECT_EQ(WindowText(app.Control(kStartStop)), kStartCaption);
    EXPECT_TRUE(IsEnabled(app.Control(kInterval)));
  }
};

TEST_F(RunFixture, ButtonStartsAfterTheDelayClicksWhereTheCursorIsAndStops) {
  RecordingWindow target(targetArea);
  AppProcess app({L"--settings-dir", folder.path()});
  ASSERT_NE(StartApp(app), nullptr);
  MoveCursorTo(insideTarget);

  const double started = NowMs();
  StartAndExpectRunning(app);
  EXPECT_FALSE(IsEnabled(app.Control(kInterval)));
  EXPECT_FALSE(IsEnabled(app.Control(kTargetCurrent)));
  EXPECT_TRUE(IsEnabled(app.Control(kStartStop)));
  ASSERT_TRUE(WaitUntil([&] { return target.Count(WM_LBUTTONUP) >= 5; }, 8000));
  EXPECT_GE(target.received().front().at - started, 900.0) << "the first click waits for the start delay";
  SaveScreenshot(L"main-view-running", app.window());
  Stop(app);
  PumpFor(300);
  const int clicks = target.Count(WM_LBUTTONDOWN);
  PumpFor(500);
  EXPECT_EQ(target.Count(WM_LBUTTONDOWN), clicks) << "no click after the stop";
  EXPECT_EQ(target.Count(WM_RBUTTONDOWN), 0);
  for (const Received& b : target.received()) {
    EXPECT_EQ(b.screen.x, insideTarget.x);
    EXPECT_EQ(b.screen.y, insideTarget.y);
  }
  EXPECT_TRUE(IsEnabled(app.Control(kInterval)));
  EXPECT_EQ(ReadFileBytes(settingsPath), std::string(SettingsFile())) << "saved before the start";
  EXPECT_EQ(app.Close(), 0u);
}

TEST_F(RunFixture, SavedPositionModeClicksTheSavedPointWithTheRightButton) {
  RecordingWindow target(targetArea);
  const POINT saved = PointIn(targetArea, 17, 20);
  ASSERT_TRUE(WriteFileBytes(settingsPath,
                             SettingsFile("saved", "right", 50, true, saved.x, saved.y, DesktopSignature())));
  AppProcess app({L"--settings-dir", folder.path()});
  ASSERT_NE(StartApp(app), nullptr);
  MoveCursorTo(PointIn(targetArea, 83, 90));
  StartAndExpectRunning(app);
  ASSERT_TRUE(WaitUntil([&] { return target.Count(WM_RBUTTONUP) >= 3; }, 8000));
  Stop(app);
  EXPECT_EQ(target.Count(WM_LBUTTONDOWN), 0);
  for (const Received& b : target.received()) {
    EXPECT_EQ(b.screen.x, saved.x);
    EXPECT_EQ(b.screen.y, saved.y);
  }
  EXPECT_EQ(app.Close(), 0u);
}

TEST_F(RunFixture, IntervalFieldRefusalsLeaveTheProgramIdleAndAcceptLeadingZeros) {
  AppProcess app({L"--settings-dir", folder.path()});
  ASSERT_NE(StartApp(app), nullptr);
  for (const std::wstring& text : {std::wstring(L"19"), std::wstring(L"60001"), std::wstring(),
                                   std::wstring(L"１００"), std::wstring(L"-100"), std::wstring(L" 100")}) {
    ExpectRefusedInterval(app, text);
  }
  EXPECT_FALSE(FileExists(settingsPath)) << "a refused start writes nothing";

  SetControlText(app.Control(kInterval), L"0100");
  StartAndExpectRunning(app);
  Stop(app);
  EXPECT_NE(ReadFileBytes(settingsPath).find("interval_ms=100\r\n"), std::string::npos);
  EXPECT_EQ(app.Close(), 0u);
}

TEST_F(RunFixture, TypedIntervalIsDigitsOnlyAndAtMostFiveCharacters) {
  AppProcess app({L"--settings-dir", folder.path()});
  ASSERT_NE(StartApp(app), nullptr);
  TypeIntoEdit(app.Control(kInterval), L"1a2-3 4567");
  EXPECT_EQ(WindowText(app.Control(kInterval)), L"12345");
  TypeIntoEdit(app.Control(kInterval), L"99999");
  EXPECT_EQ(WindowText(app.Control(kInterval)), L"99999");
  PostButtonClick(app.window(), kStartStop);
  ExpectMessageBox(app.pid(), L"入力エラー", L"間隔は20～60000の符号なし整数で入力してください。");
  EXPECT_EQ(app.Close(), 0u);
}

TEST_F(RunFixture, SavedPositionModeWithoutAPositionIsRefused) {
  AppProcess app({L"--settings-dir", folder.path()});
  ASSERT_NE(StartApp(app), nullptr);
  ChooseOption(app, kTargetSaved);
  ASSERT_TRUE(IsChecked(app.Control(kTargetSaved)));
  PostButtonClick(app.window(), kStartStop);
  ExpectMessageBox(app.pid(), L"保存位置エラー",
                   L"保存位置が未登録です。停止中にF6または登録ボタンで現在位置を保存してください。",
                   L"message-no-saved-position");
  EXPECT_EQ(WindowText(app.Control(kStartStop)), kStartCaption);
  EXPECT_EQ(app.Close(), 0u);
}

TEST_F(RunFixture, ChangedLayoutRefusesTheSavedPositionButNotTheCursorMode) {
  ASSERT_TRUE(WriteFileBytes(settingsPath,
                             SettingsFile("saved", "left", 100, true, 10, 10, ChangedDesktopSignature())));
  AppProcess app({L"--settings-dir", folder.path()});
  ASSERT_NE(StartAppPastWarning(app), nullptr);
  PostButtonClick(app.window(), kStartStop);
  ExpectMessageBox(app.pid(), L"保存位置エラー",
                   L"モニター配置が保存時から変わりました。保存位置を再登録してください。",
                   L"message-layout-changed");
  ChooseOption(app, kTargetCurrent);
  StartAndExpectRunning(app);
  Stop(app);
  EXPECT_EQ(app.Close(), 0u);
}

TEST_F(RunFixture, SavedPositionOnNoMonitorIsRefused) {
  const POINT off = OffMonitorPoint();
  ASSERT_TRUE(WriteFileBytes(settingsPath,
                             SettingsFile("saved", "left", 100, true, off.x, off.y, DesktopSignature())));
  AppProcess app({L"--settings-dir", folder.path()});
  ASSERT_NE(StartAppPastWarning(app), nullptr);
  PostButtonClick(app.window(), kStartStop);
  ExpectMessageBox(app.pid(), L"保存位置エラー",
                   L"保存位置が現在の実在モニター上にありません。保存位置を再登録してください。");
  EXPECT_EQ(WindowText(app.Control(kStartStop)), kStartCaption);
  EXPECT_EQ(app.Close(), 0u);
}

TEST_F(RunFixture, ProtectedFileIsKeptUntilTheUserChangesSomething) {
  const std::string refused = "schema_version=1\r\nmode=sideways\r\n";
  ASSERT_TRUE(WriteFileBytes(settingsPath, refused));
  AppProcess app({L"--settings-dir", folder.path()});
  ASSERT_NE(StartAppPastWarning(app), nullptr);

  StartAndExpectRunning(app);
  Stop(app);
  EXPECT_EQ(ReadFileBytes(settingsPath), refused) << "nothing changed: the refused file stays";

  ChooseOption(app, kButtonRight);
  StartAndExpectRunning(app);
  Stop(app);
  EXPECT_EQ(ReadFileBytes(settingsPath), SettingsFile("current", "right"));

  // From now on every start writes, even with nothing changed.
  ASSERT_TRUE(WriteFileBytes(settingsPath, "overwritten by hand"));
  StartAndExpectRunning(app);
  Stop(app);
  EXPECT_EQ(ReadFileBytes(settingsPath), SettingsFile("current", "right"));
  EXPECT_EQ(app.Close(), 0u);
}

TEST_F(RunFixture, StatusReportsOfOtherRunsAreIgnored) {
  AppProcess app({L"--settings-dir", folder.path()});
  ASSERT_NE(StartApp(app), nullptr);
  StartAndExpectRunning(app);  // run 1
  Stop(app);
  PostMessageW(app.window(), kClickerStatus, 7, 1);  // a run that never existed
  PostMessageW(app.window(), kClickerStatus, 0, 1);  // before the first run
  PostMessageW(app.window(), kClickerStatus, 7, 3);
  PumpFor(500);
  EXPECT_EQ(WindowText(app.Control(kStartStop)), kStartCaption);
  EXPECT_EQ(AnyMessageBox(app.pid()), nullptr);

  // The current run's id does count: a late Running moves the display until its final Stopped.
  PostMessageW(app.window(), kClickerStatus, 1, 1);
  EXPECT_TRUE(CaptionBecomes(app.Control(kStartStop), kStopCaption));
  PostMessageW(app.window(), kClickerStatus, 1, 2);
  EXPECT_TRUE(CaptionBecomes(app.Control(kStartStop), kStartCaption));
  EXPECT_EQ(app.Close(), 0u);
}

TEST_F(RunFixture, LockSuspendAndDisplayChangeStopClicking) {
  RecordingWindow target(targetArea);
  AppProcess app({L"--settings-dir", folder.path()});
  ASSERT_NE(StartApp(app), nullptr);
  MoveCursorTo(insideTarget);
  struct Notification {
    UINT message;
    WPARAM wParam;
  };
  for (const Notification n : {Notification{WM_WTSSESSION_CHANGE, 7}, Notification{WM_POWERBROADCAST, 4},
                               Notification{WM_DISPLAYCHANGE, 32}}) {
    SCOPED_TRACE(n.message);
    target.Clear();
    StartAndExpectRunning(app);
    ASSERT_TRUE(WaitUntil([&] { return target.Count(WM_LBUTTONUP) >= 1; }, 5000));
    PostMessageW(app.window(), n.message, n.wParam, 0);
    EXPECT_TRUE(CaptionBecomes(app.Control(kStartStop), kStartCaption));
    PumpFor(300);
    const int clicks = target.Count(WM_LBUTTONDOWN);
    PumpFor(400);
    EXPECT_EQ(target.Count(WM_LBUTTONDOWN), clicks);
  }
  // Unlock and resume restart nothing.
  PostMessageW(app.window(), WM_WTSSESSION_CHANGE, 8, 0);
  PostMessageW(app.window(), WM_POWERBROADCAST, 7, 0);
  PumpFor(1500);
  EXPECT_EQ(WindowText(app.Control(kStartStop)), kStartCaption);
  EXPECT_EQ(app.Close(), 0u);
}

TEST_F(RunFixture, ClosingWhileClickingEndsTheProcessWithZero) {
  RecordingWindow target(targetArea);
  AppProcess app({L"--settings-dir", folder.path()});
  ASSERT_NE(StartApp(app), nullptr);
  MoveCursorTo(insideTarget);
  StartAndExpectRunning(app);
  ASSERT_TRUE(WaitUntil([&] { return target.Count(WM_LBUTTONUP) >= 2; }, 5000));
  EXPECT_EQ(app.Close(), 0u);
  PumpFor(300);
  const int clicks = target.Count(WM_LBUTTONDOWN);
  PumpFor(400);
  EXPECT_EQ(target.Count(WM_LBUTTONDOWN), clicks);
}

}  // namespace
}  // namespace kestul::test
