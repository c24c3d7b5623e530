// The settings view of the real program: entering and leaving it, the key selector, Apply and its
// refusals, Cancel and the close box.
#include "e2e/e2e_common.h"

#include "common/unique_handle.h"

#include <array>

namespace kestul::test {
namespace {

constexpr wchar_t kMainTitle[] = L"KESTUL Auto Clicker";
constexpr wchar_t kSettingsTitle[] = L"KESTUL Auto Clicker - 設定";
constexpr std::array kMainViewIds{100, 101, 102, 103, 104, 106, 107, 108, 109, 110};
constexpr std::array kSettingsViewIds{105, 111, 112, 113, 114, 115, 116, 117, 118};
constexpr int kIndexF4 = 3, kIndexF11 = 8, kIndexSide2 = 10;

HWND FocusOf(HWND window) {
  GUITHREADINFO info{};
  info.cbSize = sizeof(info);
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info)) return nullptr;
  return info.hwndFocus;
}

LRESULT Selection(const AppProcess& app) {
  return SendMessageW(app.Control(kToggleKey), CB_GETCURSEL, 0, 0);
}

struct SettingsViewFixture : ::testing::Test {
  TempFolder folder;
  std::wstring settingsPath = folder.File(L"settings.ini");

  static bool TitleBecomes(AppProcess& app, const wchar_t* title) {
    return WaitUntil([&] { return WindowText(app.window()) == title; }, 5000);
  }
  static void Open(AppProcess& app) {
    PostMessageW(app.window(), WM_COMMAND, kSettingsMenu, 0);
    ASSERT_TRUE(TitleBecomes(app, kSettingsTitle));
  }
  static void ExpectView(AppProcess& app, bool settings) {
    for (const int id : kMainViewIds) EXPECT_EQ(IsVisible(app.Control(id)), !settings) << "control " << id;
    for (const int id : kSettingsViewIds) EXPECT_EQ(IsVisible(app.Control(id)), settings) << "control " << id;
    EXPECT_EQ(WindowText(app.window()), settings ? kSettingsTitle : kMainTitle);
    EXPECT_EQ(FocusOf(app.window()), app.Control(settings ? kToggleKey : kStartStop));
  }
};

TEST_F(SettingsViewFixture, EnteringShowsTheViewWithTheCurrentKeyAndCancelChangesNothing) {
  ASSERT_TRUE(
      WriteFileBytes(settingsPath, SettingsFile("current", "left", 100, false, 0, 0, "", "mouse_x2")));
  AppProcess app({L"--settings-dir", folder.path()});
  ASSERT_NE(StartApp(app), nullptr);
  EXPECT_EQ(SendMessageW(app.Control(kToggleKey), CB_GETCOUNT, 0, 0), 11);
  Open(app);
  ExpectView(app, true);
  EXPECT_EQ(Selection(app), kIndexSide2);
  EXPECT_EQ(WindowText(app.Control(kSavedPositionLabel)), L"保存位置: 未登録");
  SaveScreenshot(L"settings-view", app.window());

  SendMessageW(app.Control(kToggleKey), CB_SETCURSEL, kIndexF4, 0);
  PostButtonClick(app.window(), kSettingsCancel);
  ASSERT_TRUE(TitleBecomes(app, kMainTitle));
  ExpectView(app, false);
  EXPECT_EQ(ReadFileBytes(settingsPath), SettingsFile("current", "left", 100, false, 0, 0, "", "mouse_x2"));
  PressKey(VK_F4);
  EXPECT_FALSE(CaptionBecomes(app.Control(kStartStop), kStopCaption, 800)) << "Cancel bound the new key";

  Open(app);
  EXPECT_EQ(Selection(app), kIndexSide2) << "entering again shows the key in use";
  // The command again, inside the view, re-selects the key in use.
  SendMessageW(app.Control(kToggleKey), CB_SETCURSEL, kIndexF11, 0);
  PostMessageW(app.window(), WM_COMMAND, kSettingsMenu, 0);
  EXPECT_TRUE(WaitUntil([&] { return Selection(app) == kIndexSide2; }, 3000));
  PostButtonClick(app.window(), kSettingsCancel);
  ASSERT_TRUE(TitleBecomes(app, kMainTitle));
  EXPECT_EQ(app.Close(), 0u);
}

TEST_F(SettingsViewFixture, ApplySavesTheMainViewChoicesAndTheNewKey) {
  ASSERT_TRUE(WriteFileBytes(settingsPath, SettingsFile("current", "left", 100, false, 0, 0, "", "f11")));
  AppProcess app({L"--settings-dir", folder.path()});
  ASSERT_NE(StartApp(app), nullptr);
  SetControlText(app.Control(kInterval), L"250");
  ChooseOption(app, kButtonRight);
  Open(app);
  EXPECT_EQ(Selection(app), kIndexF11);
  SendMessageW(app.Control(kToggleKey), CB_SETCURSEL, kIndexF4, 0);
  PostButtonClick(app.window(), kSettingsApply);
  ASSERT_TRUE(TitleBecomes(app, kMainTitle));
  ExpectView(app, false);
  EXPECT_EQ(ReadFileBytes(settingsPath), SettingsFile("current", "right", 250, false, 0, 0, "", "f4"));

  PressKey(VK_F11);
  EXPECT_FALSE(CaptionBecomes(app.Control(kStartStop), kStopCaption, 800)) << "the old key still toggles";
  PressKey(VK_F4);
  EXPECT_TRUE(CaptionBecomes(app.Control(kStartStop), kStopCaption));
  // While clicking, the settings command leaves the main view alone.
  PostMessageW(app.window(), WM_COMMAND, kSettingsMenu, 0);
  PumpFor(500);
  EXPECT_EQ(WindowText(app.window()), kMainTitle);
  PressKey(VK_F9);
  EXPECT_TRUE(CaptionBecomes(app.Control(kStartStop), kStartCaption));
  EXPECT_EQ(app.Close(), 0u);
}

TEST_F(SettingsViewFixture, ApplyRefusesTheIntervalLeftInTheHiddenField) {
  AppProcess app({L"--settings-dir", folder.path()});
  ASSERT_NE(StartApp(app), nullptr);
  SetControlText(app.Control(kInterval), L"10");
  Open(app);
  SendMessageW(app.Control(kToggleKey), CB_SETCURSEL, kIndexF4, 0);
  PostButtonClick(app.window(), kSettingsApply);
  ExpectMessageBox(app.pid(), L"入力エラー", L"間隔は20～60000の符号なし整数で入力してください。");
  EXPECT_EQ(WindowText(app.window()), kSettingsTitle);
  EXPECT_FALSE(FileExists(settingsPath));
  PostButtonClick(app.window(), kSettingsCancel);
  ASSERT_TRUE(TitleBecomes(app, kMainTitle));
  PressKey(VK_F4);
  EXPECT_FALSE(CaptionBecomes(app.Control(kStartStop), kStopCaption, 800)) << "F4 was bound";
  EXPECT_EQ(app.Close(), 0u);
}

TEST_F(SettingsViewFixture, AFailedSaveKeepsTheViewAndTheOldKey) {
  const std::string old = SettingsFile();
  ASSERT_TRUE(WriteFileBytes(settingsPath, old));
  AppProcess app({L"--settings-dir", folder.path()});
  ASSERT_NE(StartApp(app), nullptr);
  // Another program holds the file open without delete sharing, so it cannot be replaced.
  UniqueHandleKernel holder(CreateFileW(settingsPath.c_str(), GENERIC_READ,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
  ASSERT_TRUE(holder);
  Open(app);
  SendMessageW(app.Control(kToggleKey), CB_SETCURSEL, kIndexF4, 0);
  PostButtonClick(app.window(), kSettingsApply);
  HWND box = WaitForMessageBox(app.pid(), L"設定保存エラー");
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(MessageBoxText(box), L"設定ファイルを置換できません。");
  SaveScreenshot(L"message-save-error", box);
  DismissMessageBox(box);
  holder.reset();
  EXPECT_EQ(WindowText(app.window()), kSettingsTitle);
  EXPECT_EQ(ReadFileBytes(settingsPath), old);
  EXPECT_FALSE(FileExists(folder.File(L"settings.ini.tmp")));

  PostButtonClick(app.window(), kSettingsCancel);
  ASSERT_TRUE(TitleBecomes(app, kMainTitle));
  PressKey(VK_F4);
  EXPECT_FALSE(CaptionBecomes(app.Control(kStartStop), kStopCaption, 800)) << "F4 stayed bound";
  PressKey(VK_F8);
  EXPECT_TRUE(CaptionBecomes(app.Control(kStartStop), kStopCaption)) << "F8 was not bound again";
  PressKey(VK_F9);
  EXPECT_TRUE(CaptionBecomes(app.Control(kStartStop), kStartCaption));
  EXPECT_EQ(app.Close(), 0u);
}

TEST_F(SettingsViewFixture, InTheViewStartRequestsAreIgnoredAndRegisteringWorks) {
  AppProcess app({L"--settings-dir", folder.path()});
  ASSERT_NE(StartApp(app), nullptr);
  Open(app);
  PressKey(VK_F8);
  PostButtonClick(app.window(), kStartStop);
  PostMessageW(app.window(), WM_APP + 2, 0, 0);
  EXPECT_FALSE(CaptionBecomes(app.Control(kStartStop), kStopCaption, 1000));

  const POINT first = PointIn(PrimaryWorkArea(), 78, 74);
  MoveCursorTo(first);
  PostButtonClick(app.window(), kRegisterPosition);
  ASSERT_TRUE(WaitUntil(
      [&] { return WindowText(app.Control(kSavedPositionLabel)) == L"保存位置: " + XY(first); }, 5000));
  EXPECT_EQ(WindowText(app.Control(kTargetSaved)), L"保存した位置(&S)  " + XY(first));
  // Near the corner of the monitor farthest left: negative x when one is left of the primary.
  const RECT leftmost = LeftmostMonitor();
  const POINT second{leftmost.left + 20, leftmost.top + 30};
  MoveCursorTo(second);
  PressKey(VK_F6);
  ASSERT_TRUE(WaitUntil(
      [&] { return WindowText(app.Control(kSavedPositionLabel)) == L"保存位置: " + XY(second); }, 5000));
  EXPECT_EQ(WindowText(app.Control(kTargetSaved)), L"保存した位置(&S)  " + XY(second));
  EXPECT_EQ(ReadFileBytes(settingsPath),
            SettingsFile("current", "left", 100, true, second.x, second.y, DesktopSignature()));
  EXPECT_EQ(WindowText(app.window()), kSettingsTitle);

  // The close box leaves the view; a second one ends the program.
  PostMessageW(app.window(), WM_CLOSE, 0, 0);
  ASSERT_TRUE(TitleBecomes(app, kMainTitle));
  ExpectView(app, false);
  EXPECT_EQ(app.WaitForExit(500), static_cast<DWORD>(STILL_ACTIVE));
  EXPECT_EQ(app.Close(), 0u);
}

}  // namespace
}  // namespace kestul::test
