// The settings view of the real program: entering and leaving it, the key selector, Apply and its
// refusals, Cancel and the close box.
#include "support/app_fixture.h"

#include <array>

#include "common/unique_handle.h"
#include "ui/controls.h"

namespace kestul::test {
namespace {

constexpr std::array kMainViewIds{IDC_TARGET_CURRENT, IDC_TARGET_SAVED, IDC_BUTTON_LEFT,    IDC_BUTTON_RIGHT,
                                  IDC_INTERVAL,       IDC_START_STOP,   IDC_INTERVAL_LABEL, IDC_GROUP_TARGET,
                                  IDC_GROUP_CLICK,    IDC_GROUP_RUN};
constexpr std::array kSettingsViewIds{IDC_REGISTER_POSITION, IDC_GROUP_KEYS,  IDC_TOGGLE_LABEL,
                                      IDC_TOGGLE_KEY,        IDC_TOGGLE_HINT, IDC_SETTINGS_APPLY,
                                      IDC_SETTINGS_CANCEL,   IDC_GROUP_SAVED, IDC_SAVED_POSITION_LABEL};

struct SettingsViewFixture : AppTest {
  void ExpectView(View shown) const {
    const bool settings = shown == View::Settings;
    for (const int id : kMainViewIds) EXPECT_EQ(IsVisible(app.Control(id)), !settings) << "control " << id;
    for (const int id : kSettingsViewIds) EXPECT_EQ(IsVisible(app.Control(id)), settings) << "control " << id;
    EXPECT_EQ(WindowText(app.window()), settings ? kSettingsTitle : kMainTitle);
    EXPECT_EQ(FocusedWindow(app.window()), app.Control(settings ? IDC_TOGGLE_KEY : IDC_START_STOP));
  }
};

TEST_F(SettingsViewFixture, EnteringShowsTheViewWithTheCurrentKeyAndCancelChangesNothing) {
  ASSERT_TRUE(Start({.settings = SettingsFile({.binding = "mouse_x2"})}));
  EXPECT_EQ(SendMessageW(app.Control(IDC_TOGGLE_KEY), CB_GETCOUNT, 0, 0), std::ssize(kToggleBindings));
  ASSERT_TRUE(OpenSettingsView());
  ExpectView(View::Settings);
  EXPECT_EQ(ChosenKey(), kToggleMouseX2);
  EXPECT_EQ(WindowText(app.Control(IDC_SAVED_POSITION_LABEL)), L"保存位置: 未登録");

  ChooseKey(4);
  PostButtonClick(app.window(), IDC_SETTINGS_CANCEL);
  ASSERT_TRUE(BackInMainView());
  ExpectView(View::Main);
  EXPECT_EQ(ReadFileBytes(settingsPath), SettingsFile({.binding = "mouse_x2"}));
  PressKey(VK_F4);
  EXPECT_FALSE(BecomesRunning(800)) << "Cancel bound the new key";

  ASSERT_TRUE(OpenSettingsView());
  EXPECT_EQ(ChosenKey(), kToggleMouseX2) << "entering again shows the key in use";
  // The command again, inside the view, re-selects the key in use.
  ChooseKey(11);
  PostMessageW(app.window(), WM_COMMAND, IDM_SETTINGS, 0);
  EXPECT_TRUE(WaitUntil([&] { return ChosenKey() == kToggleMouseX2; }, 3000));
  PostButtonClick(app.window(), IDC_SETTINGS_CANCEL);
  ASSERT_TRUE(BackInMainView());
}

TEST_F(SettingsViewFixture, ApplySavesTheMainViewChoicesAndTheNewKey) {
  ASSERT_TRUE(Start({.settings = SettingsFile({.binding = "f11"})}));
  SetControlText(app.Control(IDC_INTERVAL), L"250");
  ChooseOption(IDC_BUTTON_RIGHT);
  ASSERT_TRUE(OpenSettingsView());
  EXPECT_EQ(ChosenKey(), 11);
  ChooseKeyAndApply(4);
  ASSERT_TRUE(BackInMainView());
  ExpectView(View::Main);
  EXPECT_EQ(ReadFileBytes(settingsPath), SettingsFile({.button = "right", .interval = 250, .binding = "f4"}));

  PressKey(VK_F11);
  EXPECT_FALSE(BecomesRunning(800)) << "the old key still toggles";
  PressKey(VK_F4);
  EXPECT_TRUE(BecomesRunning());
  // While clicking, the settings command leaves the main view alone.
  PostMessageW(app.window(), WM_COMMAND, IDM_SETTINGS, 0);
  PumpFor(500);
  EXPECT_EQ(WindowText(app.window()), kMainTitle);
  PressKey(VK_F9);
  EXPECT_TRUE(BecomesIdle());
}

TEST_F(SettingsViewFixture, ApplyRefusesTheIntervalLeftInTheHiddenField) {
  ASSERT_TRUE(Start());
  SetControlText(app.Control(IDC_INTERVAL), L"10");
  ASSERT_TRUE(OpenSettingsView());
  ChooseKeyAndApply(4);
  ExpectMessageBox(app.pid(), kInputErrorCaption, kIntervalErrorText);
  EXPECT_EQ(WindowText(app.window()), kSettingsTitle);
  EXPECT_FALSE(FileExists(settingsPath));
  PostButtonClick(app.window(), IDC_SETTINGS_CANCEL);
  ASSERT_TRUE(BackInMainView());
  PressKey(VK_F4);
  EXPECT_FALSE(BecomesRunning(800)) << "F4 was bound";
}

TEST_F(SettingsViewFixture, AFailedSaveBindsTheOldKeyBeforeItsBoxAndNothingRunsUnderIt) {
  const std::string old = SettingsFile();
  ASSERT_TRUE(Start({.settings = old}));
  UniqueFileHandle holder = HoldWithoutDeleteSharing(settingsPath);
  ASSERT_TRUE(holder);
  ASSERT_TRUE(OpenSettingsView());
  ChooseKeyAndApply(4);
  ASSERT_NE(WaitForMessageBox(app.pid(), kSaveErrorCaption), nullptr);
  EXPECT_TRUE(HeldHotkey(VK_F4).held()) << "the refused key is still bound under its box";
  PressKey(VK_F6);  // would save again, fail again and open a second box
  PumpFor(300);
  ExpectMessageBox(app.pid(), kSaveErrorCaption, kSaveErrorReplace, L"message-save-error");
  EXPECT_EQ(AnyMessageBox(app.pid()), nullptr) << "F6 acted under the box";
  holder.reset();
  EXPECT_EQ(WindowText(app.window()), kSettingsTitle);
  EXPECT_EQ(ReadFileBytes(settingsPath), old);
  EXPECT_FALSE(FileExists(folder.File(L"settings.ini.tmp")));
  const POINT cursor = PointIn(PrimaryWorkArea(), 50, 50);
  MoveCursorTo(cursor);
  PressKey(VK_F6);
  const std::string next = SettingsFile({.position = cursor, .layout = DesktopSignature()});
  EXPECT_TRUE(WaitUntil([&] { return ReadFileBytes(settingsPath) == next; }, 5000))
      << "the old key, F8, is saved";

  PostButtonClick(app.window(), IDC_SETTINGS_CANCEL);
  ASSERT_TRUE(BackInMainView());
  PressKey(VK_F4);
  EXPECT_FALSE(BecomesRunning(800)) << "F4 stayed bound";
  PressKey(VK_F8);
  EXPECT_TRUE(BecomesRunning()) << "F8 was not bound again";
  PressKey(VK_F9);
  EXPECT_TRUE(BecomesIdle());
}

TEST_F(SettingsViewFixture, InTheViewStartRequestsAreIgnoredAndRegisteringWorks) {
  ASSERT_TRUE(Start());
  ASSERT_TRUE(OpenSettingsView());
  SaveScreenshot(L"settings-view", app.window());  // the guide's picture: the default key, nothing saved
  PressKey(VK_F8);
  PostButtonClick(app.window(), IDC_START_STOP);
  PostMessageW(app.window(), WM_CLICKER_TOGGLE, 0, 0);
  EXPECT_FALSE(BecomesRunning(1000));

  const POINT first = PointIn(PrimaryWorkArea(), 78, 74);
  MoveCursorTo(first);
  PostButtonClick(app.window(), IDC_REGISTER_POSITION);
  ASSERT_TRUE(TextBecomes(app.Control(IDC_SAVED_POSITION_LABEL), SavedLabel(first)));
  EXPECT_EQ(WindowText(app.Control(IDC_TARGET_SAVED)), SavedOption(first));
  // Near the corner of the monitor farthest left: negative x when one is left of the primary.
  const RECT leftmost = LeftmostMonitor();
  const POINT second{leftmost.left + 20, leftmost.top + 30};
  MoveCursorTo(second);
  PressKey(VK_F6);
  ASSERT_TRUE(TextBecomes(app.Control(IDC_SAVED_POSITION_LABEL), SavedLabel(second)));
  EXPECT_EQ(WindowText(app.Control(IDC_TARGET_SAVED)), SavedOption(second));
  EXPECT_EQ(ReadFileBytes(settingsPath), SettingsFile({.position = second, .layout = DesktopSignature()}));
  EXPECT_EQ(WindowText(app.window()), kSettingsTitle);

  // The close box leaves the view; a second one ends the program.
  PostMessageW(app.window(), WM_CLOSE, 0, 0);
  ASSERT_TRUE(BackInMainView());
  ExpectView(View::Main);
  EXPECT_EQ(app.WaitForExit(500), static_cast<DWORD>(STILL_ACTIVE));
}

}  // namespace
}  // namespace kestul::test
