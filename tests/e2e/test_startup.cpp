// Start-up of the real program: single instance, settings folder, warnings, window and controls.
#include "support/app_fixture.h"

#include <iterator>

namespace kestul::test {
namespace {

using StartupFixture = AppTest;

struct ExpectedControl {
  const wchar_t* className;
  const wchar_t* text;
  DWORD style;  // without WS_CHILD | WS_VISIBLE
  bool mainView;
  RECT rect;  // 96-DPI client rectangle (left, top, right, bottom)
};

// In id order, from the first control id on.
constexpr ExpectedControl kExpected[] = {
    {L"Button", L"現在の位置(&C)", BS_AUTORADIOBUTTON | WS_TABSTOP | WS_GROUP, true, {28, 40, 183, 64}},
    {L"Button", L"保存した位置(&S)  未登録", BS_AUTORADIOBUTTON | WS_TABSTOP, true, {28, 70, 352, 94}},
    {L"Button", L"左クリック(&L)", BS_AUTORADIOBUTTON | WS_TABSTOP | WS_GROUP, true, {28, 140, 133, 164}},
    {L"Button", L"右クリック(&R)", BS_AUTORADIOBUTTON | WS_TABSTOP, true, {28, 170, 138, 194}},
    {L"Edit", L"100", ES_NUMBER | WS_BORDER | WS_TABSTOP, true, {112, 200, 222, 229}},
    {L"Button", L"現在位置を登録(&P)  F6", BS_PUSHBUTTON | WS_TABSTOP, false, {182, 226, 352, 257}},
    {L"Button", L"開始(&A)", BS_DEFPUSHBUTTON | WS_TABSTOP, true, {28, 271, 352, 305}},
    {L"Static", L"間隔 (ms):", SS_LEFT, true, {28, 204, 108, 228}},
    {L"Button", L"クリック位置", BS_GROUPBOX, true, {12, 12, 368, 104}},
    {L"Button", L"クリック設定", BS_GROUPBOX, true, {12, 114, 368, 234}},
    {L"Button", L"実行", BS_GROUPBOX, true, {12, 244, 368, 320}},
    {L"Button", L"キー設定", BS_GROUPBOX, false, {12, 12, 368, 162}},
    {L"Static", L"開始・停止:", SS_LEFT, false, {28, 47, 124, 71}},
    {L"ComboBox", L"", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, false, {128, 42, 352, 302}},
    {L"Static",
     L"F1～F11（F6・F9を除く）またはマウス横ボタン1/"
     L"2を選べます。\nF6は位置登録、F9は緊急停止として固定です。",
     SS_LEFT,
     false,
     {28, 83, 352, 141}},
    {L"Button", L"適用(&A)", BS_DEFPUSHBUTTON | WS_TABSTOP, false, {102, 282, 222, 316}},
    {L"Button", L"キャンセル", BS_PUSHBUTTON | WS_TABSTOP, false, {232, 282, 352, 316}},
    {L"Button", L"保存位置", BS_GROUPBOX, false, {12, 172, 368, 264}},
    {L"Static", L"保存位置: 未登録", SS_LEFT, false, {28, 198, 352, 222}},
};

// A rectangle of the 96-DPI table at `dpi`: its corner and its size scaled, as the program does.
RECT Scaled(const RECT& r, int dpi) {
  const LONG left = MulDiv(r.left, dpi, 96), top = MulDiv(r.top, dpi, 96);
  return {left, top, left + MulDiv(r.right - r.left, dpi, 96), top + MulDiv(r.bottom - r.top, dpi, 96)};
}

TEST_F(StartupFixture, MainWindowShowsTheMainViewWithEveryControlInPlace) {
  ASSERT_TRUE(Start());
  HWND window = app.window();
  EXPECT_EQ(AnyMessageBox(app.pid()), nullptr) << "a first run shows no warning";

  wchar_t className[64] = {};
  GetClassNameW(window, className, 64);
  EXPECT_STREQ(className, L"KESTULAutoClickerWindow");
  EXPECT_EQ(WindowText(window), L"KESTUL Auto Clicker");
  const DWORD frameBits =
      WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME | WS_POPUP;
  EXPECT_EQ(static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE)) & frameBits, 0xCA0000u);
  EXPECT_EQ(GetWindowLongW(window, GWL_EXSTYLE) & ~WS_EX_WINDOWEDGE & ~WS_EX_DLGMODALFRAME, 0);
  // The table is at 96 DPI; a developer's desktop may be scaled (test_dpi checks 144 exactly).
  const int dpi = static_cast<int>(GetDpiForWindow(window));
  EXPECT_EQ(ClientSize(window), Scaled({0, 0, 380, 330}, dpi));

  static_assert(std::size(kExpected) == kControlCount);
  for (int id = kFirstControlId; id < kFirstControlId + kControlCount; ++id) {
    SCOPED_TRACE(id);
    const ExpectedControl& c = kExpected[id - kFirstControlId];
    HWND control = app.Control(id);
    ASSERT_NE(control, nullptr);
    wchar_t name[32] = {};
    GetClassNameW(control, name, 32);
    EXPECT_EQ(_wcsicmp(name, c.className), 0) << name;
    EXPECT_EQ(WindowText(control), c.text);
    // The controls themselves move a few bits: option buttons keep WS_TABSTOP on the checked
    // one only, an edit turns WS_BORDER into its own frame, a combo box hands WS_VSCROLL to its list.
    const DWORD systemOwned = WS_TABSTOP * (id == IDC_TARGET_SAVED || id == IDC_BUTTON_RIGHT) +
                              WS_BORDER * (id == IDC_INTERVAL) + WS_VSCROLL * (id == IDC_TOGGLE_KEY);
    const auto style = static_cast<DWORD>(GetWindowLongW(control, GWL_STYLE));
    EXPECT_EQ(style & (c.style & ~systemOwned), c.style & ~systemOwned);
    EXPECT_EQ(IsVisible(control), c.mainView);
    const RECT r = ChildRect(control);
    RECT expected = Scaled(c.rect, dpi);
    // A drop-down list sizes its closed field itself; position and width are ours.
    if (id == IDC_TOGGLE_KEY) expected.bottom = r.bottom;
    EXPECT_EQ(r, expected);
  }
  EXPECT_TRUE(IsChecked(app.Control(IDC_TARGET_CURRENT)));
  EXPECT_TRUE(IsChecked(app.Control(IDC_BUTTON_LEFT)));
  EXPECT_FALSE(IsChecked(app.Control(IDC_TARGET_SAVED)));
  EXPECT_FALSE(IsChecked(app.Control(IDC_BUTTON_RIGHT)));
  SaveScreenshot(L"main-view", window);
}

TEST_F(StartupFixture, SecondCopyIsRefusedWithItsMessageAndExitCodeTwo) {
  ASSERT_TRUE(Start());
  AppProcess second({L"--settings-dir", folder.path()});
  ASSERT_TRUE(second.started());
  ExpectMessageBox(second.pid(), kAlreadyRunningCaption, kAlreadyRunningText, L"message-already-running");
  EXPECT_EQ(second.WaitForExit(), 2u);
  EXPECT_EQ(FindProcessWindow(second.pid(), kMainWindowClass, nullptr), nullptr);
  EXPECT_TRUE(IsWindow(app.window()));
}

TEST_F(StartupFixture, SettingsFolderComesFromTheLastSettingsDirOption) {
  TempFolder first;
  ASSERT_TRUE(WriteFileBytes(first.File(L"settings.ini"), SettingsFile({.interval = 250})));
  ASSERT_TRUE(Start({.settings = SettingsFile({.mode = "saved", .button = "right", .interval = 4321}),
                     .arguments = {L"--settings-dir", first.path(), L"--settings-dir", folder.path()}}));
  EXPECT_EQ(WindowText(app.Control(IDC_INTERVAL)), L"4321");
  EXPECT_TRUE(IsChecked(app.Control(IDC_TARGET_SAVED)));
  EXPECT_TRUE(IsChecked(app.Control(IDC_BUTTON_RIGHT)));
}

TEST_F(StartupFixture, RefusedSettingsFileWarnsAfterTheWindowAppearsAndStartsFromDefaults) {
  const std::string refused = "schema_version=2\r\nmode=saved\r\n";
  ASSERT_TRUE(Launch({.settings = refused}));
  HWND box = WaitForMessageBox(app.pid(), kSettingsWarningCaption);
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(MessageBoxText(box), kWarningUnknownVersion);
  EXPECT_NE(app.WaitForMainWindow(), nullptr) << "the window is shown before the warning";
  SaveScreenshot(L"message-settings-warning", box);
  DismissMessageBox(box);
  EXPECT_EQ(WindowText(app.Control(IDC_INTERVAL)), L"100");
  EXPECT_TRUE(IsChecked(app.Control(IDC_TARGET_CURRENT)));
  ExpectCleanExit();
  EXPECT_EQ(ReadFileBytes(settingsPath), refused) << "nothing is saved at exit";
}

TEST_F(StartupFixture, SavedPositionThatNoLongerFitsTheMonitorsWarnsButIsKept) {
  ASSERT_TRUE(Launch(
      {.settings =
           SettingsFile({.mode = "saved", .position = POINT{50, 60}, .layout = ChangedDesktopSignature()})}));
  ExpectMessageBox(app.pid(), kSettingsWarningCaption, kWarningPositionMismatch);
  ASSERT_NE(app.WaitForMainWindow(), nullptr);
  EXPECT_EQ(WindowText(app.Control(IDC_TARGET_SAVED)), SavedOption({50, 60}));
}

// A uxtheme.dll or wtsapi32.dll that a download drops beside the exe never runs in the program,
// which still clicks as usual. Under Wine, CMakeLists.txt makes such names search as on Windows.
TEST_F(StartupFixture, SystemDllsPlantedBesideTheExeAreNotLoaded) {
  const std::wstring exe = folder.File(L"KestulAutoClicker.exe");
  ASSERT_NE(CopyFileW(AppExePath().c_str(), exe.c_str(), TRUE), FALSE);
  for (const std::wstring dll : {L"uxtheme.dll", L"wtsapi32.dll"}) {
    ASSERT_NE(CopyFileW(BuiltFile(L"planted_dll.dll").c_str(), folder.File(dll).c_str(), TRUE), FALSE);
    FreeLibrary(LoadLibraryW(folder.File(dll).c_str()));
    ASSERT_NE(DeleteFileW(folder.File(dll + L".loaded").c_str()), FALSE)
        << "the stand-in, loaded, leaves a mark";
  }

  RecordingWindow target(targetArea);
  MoveCursorTo(insideTarget);
  ASSERT_TRUE(Start({.exe = exe}));
  PostButtonClick(app.window(), IDC_START_STOP);
  EXPECT_TRUE(WaitUntil([&] { return target.Count(WM_LBUTTONUP) >= 3; }, 8000)) << target.Describe();
  StopByButton();
  ExpectCleanExit();
  EXPECT_FALSE(FileExists(folder.File(L"uxtheme.dll.loaded")));
  EXPECT_FALSE(FileExists(folder.File(L"wtsapi32.dll.loaded")));
}

}  // namespace
}  // namespace kestul::test
