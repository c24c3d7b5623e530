// The global triggers of the real program, driven with real injected keys and side buttons:
// F8 (the default start/stop key), F9, F6, a side-button binding, and keys held by someone else.
#include "e2e/e2e_common.h"

namespace kestul::test {
namespace {

constexpr wchar_t kMainTitle[] = L"KESTUL Auto Clicker";
constexpr wchar_t kSettingsTitle[] = L"KESTUL Auto Clicker - 設定";
constexpr int kIndexF2 = 1, kIndexF4 = 3, kIndexSide1 = 9;

// Holds a function key for this test process, so the program finds it taken; several can be held
// at once, each under an id of its own.
class HeldHotkey {
 public:
  explicit HeldHotkey(UINT virtualKey)
      : id_(0x7000 + static_cast<int>(virtualKey)),
        held_(RegisterHotKey(nullptr, id_, MOD_NOREPEAT, virtualKey) != 0) {}
  ~HeldHotkey() {
    if (held_) UnregisterHotKey(nullptr, id_);
  }
  HeldHotkey(const HeldHotkey&) = delete;
  HeldHotkey& operator=(const HeldHotkey&) = delete;
  bool held() const { return held_; }

 private:
  int id_;
  bool held_;
};

struct HotkeyFixture : ::testing::Test {
  TempFolder folder;
  std::wstring settingsPath = folder.File(L"settings.ini");
  RECT targetArea = TargetArea();
  POINT insideTarget = PointIn(targetArea, 50, 50);

  static bool Running(const AppProcess& app) { return CaptionBecomes(app.Control(kStartStop), kStopCaption); }
  static bool Idle(const AppProcess& app) { return CaptionBecomes(app.Control(kStartStop), kStartCaption); }
  // The caption keeps `caption` for a while: what a trigger that should do nothing leaves behind.
  static bool CaptionStays(AppProcess& app, const wchar_t* caption, DWORD ms = 1500) {
    return !WaitUntil([&] { return WindowText(app.Control(kStartStop)) != caption; }, ms);
  }
  static void OpenSettingsView(AppProcess& app) {
    PostMessageW(app.window(), WM_COMMAND, kSettingsMenu, 0);
    ASSERT_TRUE(WaitUntil([&] { return WindowText(app.window()) == kSettingsTitle; }, 5000));
  }
  static void ChooseKeyAndApply(const AppProcess& app, int index) {
    SendMessageW(app.Control(kToggleKey), CB_SETCURSEL, index, 0);
    PostButtonClick(app.window(), kSettingsApply);
  }
  static bool BackInMainView(AppProcess& app) {
    return WaitUntil([&] { return WindowText(app.window()) == kMainTitle; }, 5000);
  }
};

TEST_F(HotkeyFixture, F8StartsAndStopsAndF9StopsButDoesNothingWhenIdle) {
  RecordingWindow target(targetArea);
  AppProcess app({L"--settings-dir", folder.path()});
  ASSERT_NE(StartApp(app), nullptr);
  MoveCursorTo(insideTarget);

  PressKey(VK_F8);
  ASSERT_TRUE(Running(app));
  ASSERT_TRUE(WaitUntil([&] { return target.Count(WM_LBUTTONUP) >= 3; }, 8000));
  PressKey(VK_F8);
  ASSERT_TRUE(Idle(app));

  PressKey(VK_F8);
  ASSERT_TRUE(Running(app));
  PressKey(VK_F9);
  EXPECT_TRUE(Idle(app));
  PressKey(VK_F9);
  EXPECT_TRUE(CaptionStays(app, kStartCaption, 500)) << "F9 while idle changes nothing";
  EXPECT_EQ(AnyMessageBox(app.pid()), nullptr);
  EXPECT_EQ(app.Close(), 0u);
}

// Whether this system drops auto-repeated key-downs of a MOD_NOREPEAT hotkey, as Windows does.
// Wine 8 delivers every repeat, so there the held-key promise cannot be shown.
bool SystemHonoursNoRepeat() {
  constexpr int kProbeId = 0x7001;
  if (!RegisterHotKey(nullptr, kProbeId, MOD_NOREPEAT, VK_F7)) return false;
  KeyDown(VK_F7);
  KeyDown(VK_F7);
  KeyDown(VK_F7);
  KeyUp(VK_F7);
  int seen = 0;
  const ULONGLONG deadline = GetTickCount64() + 500;
  while (GetTickCount64() < deadline) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, WM_HOTKEY, WM_HOTKEY, PM_REMOVE)) seen += msg.wParam == kProbeId;
    Sleep(10);
  }
  UnregisterHotKey(nullptr, kProbeId);
  return seen == 1;
}

TEST_F(HotkeyFixture, AHeldStartKeyTogglesOnce) {
  if (!SystemHonoursNoRepeat()) GTEST_SKIP() << "this system repeats MOD_NOREPEAT hotkeys (Wine)";
  AppProcess app({L"--settings-dir", folder.path()});
  ASSERT_NE(StartApp(app), nullptr);
  // Auto-repeat sends more key-downs without a key-up; they must not toggle back.
  KeyDown(VK_F8);
  ASSERT_TRUE(Running(app));
  for (int i = 0; i < 5; ++i) {
    PumpFor(60);
    KeyDown(VK_F8);
  }
  KeyUp(VK_F8);
  EXPECT_TRUE(CaptionStays(app, kStopCaption)) << "a held key toggled more than once";
  PressKey(VK_F9);
  EXPECT_TRUE(Idle(app));
  EXPECT_EQ(app.Close(), 0u);
}

TEST_F(HotkeyFixture, F9StopsAtOnceInTheMiddleOfALongPause) {
  RecordingWindow target(targetArea);
  ASSERT_TRUE(WriteFileBytes(settingsPath, SettingsFile("current", "left", 60000)));
  AppProcess app({L"--settings-dir", folder.path()});
  ASSERT_NE(StartApp(app), nullptr);
  MoveCursorTo(insideTarget);
  PressKey(VK_F8);
  ASSERT_TRUE(Running(app));
  ASSERT_TRUE(WaitUntil([&] { return target.Count(WM_LBUTTONUP) == 1; }, 5000));

  const ULONGLONG pressed = GetTickCount64();
  PressKey(VK_F9);
  ASSERT_TRUE(Idle(app));
  EXPECT_LT(GetTickCount64() - pressed, 5000u) << "F9 waited for the 60 s pause";
  EXPECT_EQ(target.Count(WM_LBUTTONDOWN), 1);
  EXPECT_EQ(app.Close(), 0u);
}

TEST_F(HotkeyFixture, F6StoresThePositionWhichSavedModeThenClicks) {
  // On the monitor farthest left: with one left of the primary, the position is at negative x.
  const RECT area = TargetArea(LeftmostMonitor());
  RecordingWindow target(area);
  AppProcess app({L"--settings-dir", folder.path()});
  ASSERT_NE(StartApp(app), nullptr);
  SetControlText(app.Control(kInterval), L"50");
  ChooseOption(app, kButtonRight);

  const POINT saved = PointIn(area, 17, 20);
  MoveCursorTo(saved);
  PressKey(VK_F6);
  ASSERT_TRUE(WaitUntil(
      [&] { return WindowText(app.Control(kTargetSaved)) == L"保存した位置(&S)  " + XY(saved); }, 5000));
  EXPECT_EQ(WindowText(app.Control(kSavedPositionLabel)), L"保存位置: " + XY(saved));
  EXPECT_FALSE(IsChecked(app.Control(kTargetSaved))) << "registering does not switch the mode";
  ASSERT_TRUE(WaitUntil([&] { return FileExists(settingsPath); }, 3000));
  const std::string stored = SettingsFile("current", "right", 50, true, saved.x, saved.y, DesktopSignature());
  EXPECT_EQ(ReadFileBytes(settingsPath), stored);

  // While clicking, F6 is ignored: nothing stored, nothing shown.
  MoveCursorTo(PointIn(area, 50, 50));
  PressKey(VK_F8);
  ASSERT_TRUE(Running(app));
  ASSERT_TRUE(WaitUntil([&] { return target.Count(WM_RBUTTONUP) >= 2; }, 8000));
  PressKey(VK_F6);
  PumpFor(500);
  EXPECT_EQ(WindowText(app.Control(kTargetSaved)), L"保存した位置(&S)  " + XY(saved));
  EXPECT_EQ(AnyMessageBox(app.pid()), nullptr);
  PressKey(VK_F9);
  ASSERT_TRUE(Idle(app));
  PumpFor(300);  // clicks still on their way to the target belong to this run
  EXPECT_NE(ReadFileBytes(settingsPath)
                .find("x=" + std::to_string(saved.x) + "\r\ny=" + std::to_string(saved.y) + "\r\n"),
            std::string::npos);

  // Saved mode clicks at the stored point wherever the cursor is.
  ChooseOption(app, kTargetSaved);
  target.Clear();
  MoveCursorTo(PointIn(area, 83, 90));
  PressKey(VK_F8);
  ASSERT_TRUE(Running(app));
  ASSERT_TRUE(WaitUntil([&] { return target.Count(WM_RBUTTONUP) >= 3; }, 8000));
  PressKey(VK_F9);
  ASSERT_TRUE(Idle(app));
  for (const Received& b : target.received()) {
    EXPECT_EQ(b.screen.x, saved.x);
    EXPECT_EQ(b.screen.y, saved.y);
  }
  EXPECT_EQ(app.Close(), 0u);
}

TEST_F(HotkeyFixture, F6RefusesAnInvalidIntervalAndKeepsTheOldPosition) {
  const std::string stored = SettingsFile("current", "left", 100, true, -5, 7, DesktopSignature());
  ASSERT_TRUE(WriteFileBytes(settingsPath, stored));
  AppProcess app({L"--settings-dir", folder.path()});
  ASSERT_NE(StartApp(app), nullptr);
  EXPECT_EQ(WindowText(app.Control(kTargetSaved)), L"保存した位置(&S)  X=-5 / Y=7");
  SetControlText(app.Control(kInterval), L"19");
  MoveCursorTo(PointIn(PrimaryWorkArea(), 15, 28));
  PressKey(VK_F6);
  ExpectMessageBox(app.pid(), L"入力エラー", L"間隔は20～60000の符号なし整数で入力してください。");
  EXPECT_EQ(WindowText(app.Control(kTargetSaved)), L"保存した位置(&S)  X=-5 / Y=7");
  EXPECT_EQ(ReadFileBytes(settingsPath), stored);
  EXPECT_EQ(app.Close(), 0u);
}

TEST_F(HotkeyFixture, F8InSavedModeIsRefusedAfterTheLayoutChanged) {
  ASSERT_TRUE(WriteFileBytes(settingsPath,
                             SettingsFile("saved", "left", 100, true, 10, 10, ChangedDesktopSignature())));
  AppProcess app({L"--settings-dir", folder.path()});
  ASSERT_NE(StartAppPastWarning(app), nullptr);
  PressKey(VK_F8);
  ExpectMessageBox(app.pid(), L"保存位置エラー",
                   L"モニター配置が保存時から変わりました。保存位置を再登録してください。");
  EXPECT_EQ(WindowText(app.Control(kStartStop)), kStartCaption);
  EXPECT_EQ(app.Close(), 0u);
}

TEST_F(HotkeyFixture, SideButtonOneBoundInTheSettingsViewTogglesAndIsSwallowed) {
  RecordingWindow target(targetArea);
  AppProcess app({L"--settings-dir", folder.path()});
  ASSERT_NE(StartApp(app), nullptr);
  OpenSettingsView(app);
  ChooseKeyAndApply(app, kIndexSide1);
  ASSERT_TRUE(BackInMainView(app));
  ASSERT_TRUE(WaitUntil(
      [&] { return ReadFileBytes(settingsPath).find("toggle_binding=mouse_x1\r\n") != std::string::npos; },
      3000));

  MoveCursorTo(insideTarget);
  PressKey(VK_F8);
  EXPECT_TRUE(CaptionStays(app, kStartCaption, 800)) << "F8 is no longer the start/stop key";

  SideButton(1, true);
  ASSERT_TRUE(Running(app));
  SideButton(1, false);
  SideButton(2, true);
  SideButton(2, false);
  ASSERT_TRUE(WaitUntil([&] { return target.Count(WM_XBUTTONUP, XBUTTON2) == 1; }, 3000))
      << target.Describe();
  EXPECT_EQ(target.Count(WM_XBUTTONDOWN, XBUTTON2), 1) << "side button 2 passes untouched";
  EXPECT_TRUE(CaptionStays(app, kStopCaption, 500)) << "the release or side button 2 toggled";
  SideButton(1, true);
  SideButton(1, false);
  ASSERT_TRUE(Idle(app));
  PumpFor(300);
  EXPECT_EQ(target.Count(WM_XBUTTONDOWN, XBUTTON1), 0) << "the bound button reached the window below";
  EXPECT_EQ(target.Count(WM_XBUTTONUP, XBUTTON1), 0);

  // While the user chooses a key, the side button is an ordinary button again.
  OpenSettingsView(app);
  SideButton(1, true);
  SideButton(1, false);
  ASSERT_TRUE(WaitUntil([&] { return target.Count(WM_XBUTTONUP, XBUTTON1) == 1; }, 3000));
  EXPECT_EQ(target.Count(WM_XBUTTONDOWN, XBUTTON1), 1);
  PostButtonClick(app.window(), kSettingsCancel);
  ASSERT_TRUE(BackInMainView(app));
  EXPECT_EQ(WindowText(app.Control(kStartStop)), kStartCaption);
  EXPECT_EQ(app.Close(), 0u);
}

TEST_F(HotkeyFixture, ATakenStartKeyIsReportedAndCuredByRebinding) {
  HeldHotkey f3(VK_F3);
  ASSERT_TRUE(f3.held());
  ASSERT_TRUE(WriteFileBytes(settingsPath, SettingsFile("current", "left", 100, false, 0, 0, "", "f3")));
  AppProcess app({L"--settings-dir", folder.path()});
  ASSERT_TRUE(app.started());
  HWND box = WaitForMessageBox(app.pid(), L"ホットキー競合");
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(MessageBoxText(box), L"次のホットキーを登録できませんでした: F3 \n連打開始を禁止します。");
  SaveScreenshot(L"message-hotkey-conflict", box);
  DismissMessageBox(box);
  ASSERT_NE(app.WaitForMainWindow(), nullptr);
  EXPECT_FALSE(IsEnabled(app.Control(kStartStop)));

  OpenSettingsView(app);
  ChooseKeyAndApply(app, kIndexF4);
  ASSERT_TRUE(BackInMainView(app));
  EXPECT_TRUE(IsEnabled(app.Control(kStartStop)));
  PressKey(VK_F4);
  EXPECT_TRUE(Running(app));
  PressKey(VK_F9);
  EXPECT_TRUE(Idle(app));
  EXPECT_EQ(app.Close(), 0u);
}

TEST_F(HotkeyFixture, ATakenF9ForbidsStartingForTheWindowsLife) {
  HeldHotkey f9(VK_F9);
  ASSERT_TRUE(f9.held());
  AppProcess app({L"--settings-dir", folder.path()});
  ASSERT_TRUE(app.started());
  ExpectMessageBox(app.pid(), L"ホットキー競合",
                   L"次のホットキーを登録できませんでした: F9 \n連打開始を禁止します。");
  ASSERT_NE(app.WaitForMainWindow(), nullptr);
  EXPECT_FALSE(IsEnabled(app.Control(kStartStop)));

  OpenSettingsView(app);
  ChooseKeyAndApply(app, kIndexF4);
  ASSERT_TRUE(BackInMainView(app));
  EXPECT_FALSE(IsEnabled(app.Control(kStartStop))) << "rebinding cannot cure a missing F9";
  PressKey(VK_F4);
  EXPECT_TRUE(CaptionStays(app, kStartCaption, 800));
  {
    HeldHotkey f2(VK_F2);
    ASSERT_TRUE(f2.held());
    OpenSettingsView(app);
    ChooseKeyAndApply(app, kIndexF2);
    ExpectMessageBox(app.pid(), L"操作キー設定",
                     L"選択した操作キーを登録できません。別のキーを選んでください。");
    PostButtonClick(app.window(), kSettingsCancel);
    ASSERT_TRUE(BackInMainView(app));
  }
  EXPECT_FALSE(HeldHotkey(VK_F4).held()) << "a refused rebind gives F4 back to the program, F9 or not";

  const POINT point = PointIn(PrimaryWorkArea(), 33, 33);
  MoveCursorTo(point);
  PressKey(VK_F6);
  EXPECT_TRUE(WaitUntil(
      [&] { return WindowText(app.Control(kTargetSaved)) == L"保存した位置(&S)  " + XY(point); }, 5000))
      << "F6 still registers";
  EXPECT_EQ(app.Close(), 0u);
}

TEST_F(HotkeyFixture, ChoosingAKeyHeldElsewhereKeepsTheOldKey) {
  HeldHotkey f2(VK_F2);
  ASSERT_TRUE(f2.held());
  AppProcess app({L"--settings-dir", folder.path()});
  ASSERT_NE(StartApp(app), nullptr);
  OpenSettingsView(app);
  ChooseKeyAndApply(app, kIndexF2);
  HWND box = WaitForMessageBox(app.pid(), L"操作キー設定");
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(MessageBoxText(box), L"選択した操作キーを登録できません。別のキーを選んでください。");
  SaveScreenshot(L"message-key-taken", box);
  DismissMessageBox(box);
  EXPECT_EQ(WindowText(app.window()), kSettingsTitle) << "the view stays";
  EXPECT_EQ(SendMessageW(app.Control(kToggleKey), CB_GETCURSEL, 0, 0), kIndexF2)
      << "the rejected choice stays shown";
  EXPECT_FALSE(FileExists(settingsPath)) << "nothing saved";
  PostButtonClick(app.window(), kSettingsCancel);
  ASSERT_TRUE(BackInMainView(app));

  PressKey(VK_F8);
  EXPECT_TRUE(Running(app)) << "the old key works again";
  PressKey(VK_F9);
  EXPECT_TRUE(Idle(app));
  EXPECT_EQ(app.Close(), 0u);
}

}  // namespace
}  // namespace kestul::test
