// The global triggers of the real program, driven with real injected keys and side buttons:
// F8 (the default start/stop key), F9, F6, a side-button binding, and keys held by someone else.
#include "support/app_fixture.h"

#include <atomic>
#include <thread>

namespace kestul::test {
namespace {

using HotkeyFixture = AppTest;

TEST_F(HotkeyFixture, F8StartsAndStopsAndF9StopsButDoesNothingWhenIdle) {
  RecordingWindow target(targetArea);
  ASSERT_TRUE(Start());
  MoveCursorTo(insideTarget);

  PressKey(VK_F8);
  ASSERT_TRUE(BecomesRunning());
  ASSERT_TRUE(WaitUntil([&] { return target.Count(WM_LBUTTONUP) >= 3; }, 8000));
  PressKey(VK_F8);
  ASSERT_TRUE(BecomesIdle());

  PressKey(VK_F8);
  ASSERT_TRUE(BecomesRunning());
  PressKey(VK_F9);
  EXPECT_TRUE(BecomesIdle());
  PressKey(VK_F9);
  EXPECT_TRUE(StaysIdle(500)) << "F9 while idle changes nothing";
  EXPECT_EQ(AnyMessageBox(app.pid()), nullptr);
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
  ASSERT_TRUE(Start());
  // Auto-repeat sends more key-downs without a key-up; they must not toggle back.
  KeyDown(VK_F8);
  ASSERT_TRUE(BecomesRunning());
  for (int i = 0; i < 5; ++i) {
    PumpFor(60);
    KeyDown(VK_F8);
  }
  KeyUp(VK_F8);
  EXPECT_TRUE(StaysRunning(1500)) << "a held key toggled more than once";
  PressKey(VK_F9);
  EXPECT_TRUE(BecomesIdle());
}

TEST_F(HotkeyFixture, F9StopsAtOnceInTheMiddleOfALongPause) {
  RecordingWindow target(targetArea);
  ASSERT_TRUE(Start({.settings = SettingsFile({.interval = 60000})}));
  MoveCursorTo(insideTarget);
  PressKey(VK_F8);
  ASSERT_TRUE(BecomesRunning());
  ASSERT_TRUE(WaitUntil([&] { return target.Count(WM_LBUTTONUP) == 1; }, 5000));

  const ULONGLONG pressed = GetTickCount64();
  PressKey(VK_F9);
  ASSERT_TRUE(BecomesIdle());
  EXPECT_LT(GetTickCount64() - pressed, 5000u) << "F9 waited for the 60 s pause";
  EXPECT_EQ(target.Count(WM_LBUTTONDOWN), 1);
}

TEST_F(HotkeyFixture, F6StoresThePositionWhichSavedModeThenClicks) {
  // On the monitor farthest left: with one left of the primary, the position is at negative x.
  const RECT area = TargetArea(LeftmostMonitor());
  RecordingWindow target(area);
  ASSERT_TRUE(Start());
  SetControlText(app.Control(IDC_INTERVAL), L"50");
  ChooseOption(IDC_BUTTON_RIGHT);

  const POINT saved = PointIn(area, 17, 20);
  MoveCursorTo(saved);
  PressKey(VK_F6);
  ASSERT_TRUE(TextBecomes(app.Control(IDC_TARGET_SAVED), SavedOption(saved)));
  EXPECT_EQ(WindowText(app.Control(IDC_SAVED_POSITION_LABEL)), SavedLabel(saved));
  EXPECT_FALSE(IsChecked(app.Control(IDC_TARGET_SAVED))) << "registering does not switch the mode";
  ASSERT_TRUE(WaitUntil([&] { return FileExists(settingsPath); }, 3000));
  const std::string stored =
      SettingsFile({.button = "right", .interval = 50, .position = saved, .layout = DesktopSignature()});
  EXPECT_EQ(ReadFileBytes(settingsPath), stored);

  // While clicking, F6 is ignored: nothing stored, nothing shown.
  MoveCursorTo(PointIn(area, 50, 50));
  PressKey(VK_F8);
  ASSERT_TRUE(BecomesRunning());
  ASSERT_TRUE(WaitUntil([&] { return target.Count(WM_RBUTTONUP) >= 2; }, 8000));
  PressKey(VK_F6);
  PumpFor(500);
  EXPECT_EQ(WindowText(app.Control(IDC_TARGET_SAVED)), SavedOption(saved));
  EXPECT_EQ(AnyMessageBox(app.pid()), nullptr);
  PressKey(VK_F9);
  ASSERT_TRUE(BecomesIdle());
  PumpFor(300);  // clicks still on their way to the target belong to this run
  EXPECT_NE(ReadFileBytes(settingsPath)
                .find("x=" + std::to_string(saved.x) + "\r\ny=" + std::to_string(saved.y) + "\r\n"),
            std::string::npos);

  // Saved mode clicks at the stored point wherever the cursor is.
  ChooseOption(IDC_TARGET_SAVED);
  target.Clear();
  MoveCursorTo(PointIn(area, 83, 90));
  PressKey(VK_F8);
  ASSERT_TRUE(BecomesRunning());
  ASSERT_TRUE(WaitUntil([&] { return target.Count(WM_RBUTTONUP) >= 3; }, 8000));
  PressKey(VK_F9);
  ASSERT_TRUE(BecomesIdle());
  EXPECT_TRUE(AllLandedAt(target, saved));
}

TEST_F(HotkeyFixture, F6RefusesAnInvalidIntervalAndKeepsTheOldPosition) {
  // On a monitor: a start-up warning would be open, and nothing registers under a box.
  const POINT old = PointIn(PrimaryWorkArea(), 5, 7);
  const std::string stored = SettingsFile({.position = old, .layout = DesktopSignature()});
  ASSERT_TRUE(Start({.settings = stored}));
  EXPECT_EQ(WindowText(app.Control(IDC_TARGET_SAVED)), SavedOption(old));
  SetControlText(app.Control(IDC_INTERVAL), L"19");
  MoveCursorTo(PointIn(PrimaryWorkArea(), 15, 28));
  PressKey(VK_F6);
  ExpectMessageBox(app.pid(), kInputErrorCaption, kIntervalErrorText);
  EXPECT_EQ(WindowText(app.Control(IDC_TARGET_SAVED)), SavedOption(old));
  EXPECT_EQ(ReadFileBytes(settingsPath), stored);
}

TEST_F(HotkeyFixture, SideButtonOneBoundInTheSettingsViewTogglesAndIsSwallowed) {
  RecordingWindow target(targetArea);
  ASSERT_TRUE(Start());
  ASSERT_TRUE(OpenSettingsView());
  ChooseKeyAndApply(kToggleMouseX1);
  ASSERT_TRUE(BackInMainView());
  ASSERT_TRUE(WaitUntil(
      [&] { return ReadFileBytes(settingsPath).find("toggle_binding=mouse_x1\r\n") != std::string::npos; },
      3000));

  MoveCursorTo(insideTarget);
  PressKey(VK_F8);
  EXPECT_TRUE(StaysIdle(800)) << "F8 is no longer the start/stop key";

  SideButtonDown(1);
  ASSERT_TRUE(BecomesRunning());
  SideButtonUp(1);
  PressSideButton(2);
  ASSERT_TRUE(WaitUntil([&] { return target.Count(WM_XBUTTONUP, XBUTTON2) == 1; }, 3000))
      << target.Describe();
  EXPECT_EQ(target.Count(WM_XBUTTONDOWN, XBUTTON2), 1) << "side button 2 passes untouched";
  EXPECT_TRUE(StaysRunning(500)) << "the release or side button 2 toggled";
  PressSideButton(1);
  ASSERT_TRUE(BecomesIdle());
  PumpFor(300);
  EXPECT_EQ(target.Count(WM_XBUTTONDOWN, XBUTTON1), 0) << "the bound button reached the window below";
  EXPECT_EQ(target.Count(WM_XBUTTONUP, XBUTTON1), 0);

  // While the user chooses a key, the side button is an ordinary button again.
  ASSERT_TRUE(OpenSettingsView());
  PressSideButton(1);
  ASSERT_TRUE(WaitUntil([&] { return target.Count(WM_XBUTTONUP, XBUTTON1) == 1; }, 3000));
  EXPECT_EQ(target.Count(WM_XBUTTONDOWN, XBUTTON1), 1);
  PostButtonClick(app.window(), IDC_SETTINGS_CANCEL);
  ASSERT_TRUE(BackInMainView());
  EXPECT_EQ(StartStopText(), kStartCaption);
}

// Every mouse event of the system waits for the side-button hook. The window's thread is held here
// (suspended, as a starved thread or a long call holds it): the mouse must not wait for it, and the
// hook still takes the bound button once the thread runs again.
TEST_F(HotkeyFixture, TheMouseNeverWaitsForTheWindowsThread) {
  RecordingWindow target(targetArea);
  ASSERT_TRUE(Start({.settings = SettingsFile({.binding = "mouse_x1"})}));
  MoveCursorTo(insideTarget);
  const UniqueKernelHandle thread(
      OpenThread(THREAD_SUSPEND_RESUME, FALSE, GetWindowThreadProcessId(app.window(), nullptr)));
  ASSERT_TRUE(thread);
  ASSERT_NE(SuspendThread(thread.get()), static_cast<DWORD>(-1));
  const POINT moved{insideTarget.x + 9, insideTarget.y + 7};
  const ULONGLONG before = GetTickCount64();
  MoveCursorTo(moved);
  const bool arrived = WaitUntil(
      [&] {
        POINT cursor{};
        return GetCursorPos(&cursor) != FALSE && cursor.x == moved.x && cursor.y == moved.y;
      },
      3000, 1);
  const ULONGLONG took = GetTickCount64() - before;
  ResumeThread(thread.get());
  EXPECT_TRUE(arrived);
  // Far below the time Windows gives a hook (at most 1000 ms) before it removes it.
  EXPECT_LT(took, 500u) << "the mouse waited for the window's thread";
  PressSideButton(1);
  EXPECT_TRUE(BecomesRunning());
  EXPECT_EQ(target.Count(WM_XBUTTONDOWN, XBUTTON1), 0) << "the bound button reached the window below";
  PressKey(VK_F9);
  EXPECT_TRUE(BecomesIdle());
}

TEST_F(HotkeyFixture, ATakenStartKeyIsReportedAndCuredByRebinding) {
  HeldHotkey f3(VK_F3);
  ASSERT_TRUE(f3.held());
  ASSERT_TRUE(Launch({.settings = SettingsFile({.binding = "f3"})}));
  ExpectMessageBox(app.pid(), kHotkeyConflictCaption,
                   std::wstring(kHotkeyConflictText) + L"F3 " + kHotkeyConflictTextAfterKeys,
                   L"message-hotkey-conflict");
  ASSERT_NE(app.WaitForMainWindow(), nullptr);
  EXPECT_FALSE(IsEnabled(app.Control(IDC_START_STOP)));

  ASSERT_TRUE(OpenSettingsView());
  ChooseKeyAndApply(4);
  ASSERT_TRUE(BackInMainView());
  EXPECT_TRUE(IsEnabled(app.Control(IDC_START_STOP)));
  PressKey(VK_F4);
  EXPECT_TRUE(BecomesRunning());
  PressKey(VK_F9);
  EXPECT_TRUE(BecomesIdle());
}

TEST_F(HotkeyFixture, ATakenF9ForbidsStartingForTheWindowsLife) {
  HeldHotkey f9(VK_F9);
  ASSERT_TRUE(f9.held());
  ASSERT_TRUE(Launch());
  ExpectMessageBox(app.pid(), kHotkeyConflictCaption,
                   std::wstring(kHotkeyConflictText) + L"F9 " + kHotkeyConflictTextAfterKeys);
  ASSERT_NE(app.WaitForMainWindow(), nullptr);
  EXPECT_FALSE(IsEnabled(app.Control(IDC_START_STOP)));

  ASSERT_TRUE(OpenSettingsView());
  ChooseKeyAndApply(4);
  ASSERT_TRUE(BackInMainView());
  EXPECT_FALSE(IsEnabled(app.Control(IDC_START_STOP))) << "rebinding cannot cure a missing F9";
  PressKey(VK_F4);
  EXPECT_TRUE(StaysIdle(800));
  {
    HeldHotkey f2(VK_F2);
    ASSERT_TRUE(f2.held());
    ASSERT_TRUE(OpenSettingsView());
    ChooseKeyAndApply(2);
    ExpectMessageBox(app.pid(), kKeyTakenCaption, kKeyTakenText);
    PostButtonClick(app.window(), IDC_SETTINGS_CANCEL);
    ASSERT_TRUE(BackInMainView());
  }
  EXPECT_FALSE(HeldHotkey(VK_F4).held()) << "a refused rebind gives F4 back to the program, F9 or not";

  const POINT point = PointIn(PrimaryWorkArea(), 33, 33);
  MoveCursorTo(point);
  PressKey(VK_F6);
  EXPECT_TRUE(TextBecomes(app.Control(IDC_TARGET_SAVED), SavedOption(point))) << "F6 still registers";
}

TEST_F(HotkeyFixture, ChoosingAKeyHeldElsewhereKeepsTheOldKey) {
  HeldHotkey f2(VK_F2);
  ASSERT_TRUE(f2.held());
  ASSERT_TRUE(Start());
  ASSERT_TRUE(OpenSettingsView());
  ChooseKeyAndApply(2);
  ExpectMessageBox(app.pid(), kKeyTakenCaption, kKeyTakenText, L"message-key-taken");
  EXPECT_EQ(WindowText(app.window()), kSettingsTitle) << "the view stays";
  EXPECT_EQ(ChosenKey(), 2) << "the rejected choice stays shown";
  EXPECT_FALSE(FileExists(settingsPath)) << "nothing saved";
  PostButtonClick(app.window(), IDC_SETTINGS_CANCEL);
  ASSERT_TRUE(BackInMainView());

  PressKey(VK_F8);
  EXPECT_TRUE(BecomesRunning()) << "the old key works again";
  PressKey(VK_F9);
  EXPECT_TRUE(BecomesIdle());
}

}  // namespace
}  // namespace kestul::test
