// Start-up of the real program: single instance, settings folder, warnings, window and controls.
#include "e2e/e2e_common.h"

namespace kestul::test {
namespace {

struct ExpectedControl {
  int id;
  const wchar_t* className;
  const wchar_t* text;
  DWORD style;  // without WS_CHILD | WS_VISIBLE
  bool mainView;
  RECT rect;  // 96-DPI client rectangle (left, top, right, bottom)
};

constexpr ExpectedControl kExpected[] = {
    {100, L"Button", L"現在の位置(&C)", BS_AUTORADIOBUTTON | WS_TABSTOP | WS_GROUP, true, {28, 40, 183, 64}},
    {101, L"Button", L"保存した位置(&S)  未登録", BS_AUTORADIOBUTTON | WS_TABSTOP, true, {28, 70, 352, 94}},
    {102,
     L"Button",
     L"左クリック(&L)",
     BS_AUTORADIOBUTTON | WS_TABSTOP | WS_GROUP,
     true,
     {28, 140, 133, 164}},
    {103, L"Button", L"右クリック(&R)", BS_AUTORADIOBUTTON | WS_TABSTOP, true, {28, 170, 138, 194}},
    {104, L"Edit", L"100", ES_NUMBER | WS_BORDER | WS_TABSTOP, true, {112, 200, 222, 229}},
    {105, L"Button", L"現在位置を登録(&P)  F6", BS_PUSHBUTTON | WS_TABSTOP, false, {182, 226, 352, 257}},
    {106, L"Button", L"開始(&A)", BS_DEFPUSHBUTTON | WS_TABSTOP, true, {28, 271, 352, 305}},
    {107, L"Static", L"間隔 (ms):", SS_LEFT, true, {28, 204, 108, 228}},
    {108, L"Button", L"クリック位置", BS_GROUPBOX, true, {12, 12, 368, 104}},
    {109, L"Button", L"クリック設定", BS_GROUPBOX, true, {12, 114, 368, 234}},
    {110, L"Button", L"実行", BS_GROUPBOX, true, {12, 244, 368, 320}},
    {111, L"Button", L"キー設定", BS_GROUPBOX, false, {12, 12, 368, 162}},
    {112, L"Static", L"開始・停止:", SS_LEFT, false, {28, 47, 124, 71}},
    {113, L"ComboBox", L"", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, false, {128, 42, 352, 302}},
    {114,
     L"Static",
     L"F1～F11（F6・F9を除く）またはマウス横ボタン1/"
     L"2を選べます。\nF6は位置登録、F9は緊急停止として固定です。",
     SS_LEFT,
     false,
     {28, 83, 352, 141}},
    {115, L"Button", L"適用(&A)", BS_DEFPUSHBUTTON | WS_TABSTOP, false, {102, 282, 222, 316}},
    {116, L"Button", L"キャンセル", BS_PUSHBUTTON | WS_TABSTOP, false, {232, 282, 352, 316}},
    {117, L"Button", L"保存位置", BS_GROUPBOX, false, {12, 172, 368, 264}},
    {118, L"Static", L"保存位置: 未登録", SS_LEFT, false, {28, 198, 352, 222}},
};

TEST(Startup, MainWindowShowsTheMainViewWithEveryControlInPlace) {
  TempFolder folder;
  AppProcess app({L"--settings-dir", folder.path()});
  HWND window = StartApp(app);
  ASSERT_NE(window, nullptr);
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
  const auto scaled = [dpi](LONG value) { return MulDiv(value, dpi, 96); };
  const RECT client = ClientSize(window);
  EXPECT_EQ(client.right, MulDiv(380, dpi, 96));
  EXPECT_EQ(client.bottom, MulDiv(330, dpi, 96));

  for (const ExpectedControl& c : kExpected) {
    SCOPED_TRACE(c.id);
    HWND control = app.Control(c.id);
    ASSERT_NE(control, nullptr);
    wchar_t name[32] = {};
    GetClassNameW(control, name, 32);
    EXPECT_EQ(_wcsicmp(name, c.className), 0) << name;
    EXPECT_EQ(WindowText(control), c.text);
    // The controls themselves move a few bits: option buttons keep WS_TABSTOP on the checked
    // one only, an edit turns WS_BORDER into its own frame, a combo box hands WS_VSCROLL to its list.
    const DWORD systemOwned =
        WS_TABSTOP * (c.id == 101 || c.id == 103) + WS_BORDER * (c.id == 104) + WS_VSCROLL * (c.id == 113);
    const auto style = static_cast<DWORD>(GetWindowLongW(control, GWL_STYLE));
    EXPECT_EQ(style & (c.style & ~systemOwned), c.style & ~systemOwned);
    EXPECT_EQ(IsVisible(control), c.mainView);
    const RECT r = ChildRect(control);
    EXPECT_EQ(r.left, scaled(c.rect.left));
    EXPECT_EQ(r.top, scaled(c.rect.top));
    EXPECT_EQ(r.right, scaled(c.rect.left) + scaled(c.rect.right - c.rect.left));
    // A drop-down list sizes its closed field itself; position and width are ours.
    if (c.id != 113) {
      EXPECT_EQ(r.bottom, scaled(c.rect.top) + scaled(c.rect.bottom - c.rect.top));
    }
  }
  EXPECT_TRUE(IsChecked(app.Control(kTargetCurrent)));
  EXPECT_TRUE(IsChecked(app.Control(kButtonLeft)));
  EXPECT_FALSE(IsChecked(app.Control(kTargetSaved)));
  EXPECT_FALSE(IsChecked(app.Control(kButtonRight)));
  SaveScreenshot(L"main-view", app.window());
  EXPECT_EQ(app.Close(), 0u);
}

TEST(Startup, SecondCopyIsRefusedWithItsMessageAndExitCodeTwo) {
  TempFolder folder;
  AppProcess first({L"--settings-dir", folder.path()});
  ASSERT_NE(StartApp(first), nullptr);

  AppProcess second({L"--settings-dir", folder.path()});
  ASSERT_TRUE(second.started());
  HWND box = WaitForMessageBox(second.pid(), L"多重起動");
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(MessageBoxText(box), L"KESTUL Auto Clickerは既に起動しています。");
  SaveScreenshot(L"message-already-running", box);
  DismissMessageBox(box);
  EXPECT_EQ(second.WaitForExit(), 2u);
  EXPECT_EQ(FindProcessWindow(second.pid(), L"KESTULAutoClickerWindow", nullptr), nullptr);

  EXPECT_TRUE(IsWindow(first.window()));
  EXPECT_EQ(first.Close(), 0u);
}

TEST(Startup, SettingsFolderComesFromTheLastSettingsDirOption) {
  TempFolder a, b;
  ASSERT_TRUE(WriteFileBytes(a.File(L"settings.ini"), SettingsFile("current", "left", 250)));
  ASSERT_TRUE(WriteFileBytes(b.File(L"settings.ini"), SettingsFile("saved", "right", 4321, false)));
  AppProcess app({L"--settings-dir", a.path(), L"--settings-dir", b.path()});
  ASSERT_NE(StartApp(app), nullptr);
  EXPECT_EQ(WindowText(app.Control(kInterval)), L"4321");
  EXPECT_TRUE(IsChecked(app.Control(kTargetSaved)));
  EXPECT_TRUE(IsChecked(app.Control(kButtonRight)));
  EXPECT_EQ(app.Close(), 0u);
}

TEST(Startup, RefusedSettingsFileWarnsAfterTheWindowAppearsAndStartsFromDefaults) {
  TempFolder folder;
  const std::string refused = "schema_version=2\r\nmode=saved\r\n";
  ASSERT_TRUE(WriteFileBytes(folder.File(L"settings.ini"), refused));
  AppProcess app({L"--settings-dir", folder.path()});
  ASSERT_TRUE(app.started());
  HWND box = WaitForMessageBox(app.pid(), L"設定読み込み警告");
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(MessageBoxText(box), L"未知の設定バージョンです。ファイルを保護して既定値で起動します。");
  EXPECT_NE(app.WaitForMainWindow(), nullptr) << "the window is shown before the warning";
  SaveScreenshot(L"message-settings-warning", box);
  DismissMessageBox(box);
  EXPECT_EQ(WindowText(app.Control(kInterval)), L"100");
  EXPECT_TRUE(IsChecked(app.Control(kTargetCurrent)));
  EXPECT_EQ(app.Close(), 0u);
  EXPECT_EQ(ReadFileBytes(folder.File(L"settings.ini")), refused) << "nothing is saved at exit";
}

TEST(Startup, SavedPositionThatNoLongerFitsTheMonitorsWarnsButIsKept) {
  TempFolder folder;
  ASSERT_TRUE(WriteFileBytes(folder.File(L"settings.ini"),
                             SettingsFile("saved", "left", 100, true, 50, 60, ChangedDesktopSignature())));
  AppProcess app({L"--settings-dir", folder.path()});
  ASSERT_TRUE(app.started());
  HWND box = WaitForMessageBox(app.pid(), L"設定読み込み警告");
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(MessageBoxText(box),
            L"保存位置またはモニター配置が現在の環境と一致しません。開始前に位置を再登録してください。");
  DismissMessageBox(box);
  ASSERT_NE(app.WaitForMainWindow(), nullptr);
  EXPECT_EQ(WindowText(app.Control(kTargetSaved)), L"保存した位置(&S)  X=50 / Y=60");
  EXPECT_EQ(app.Close(), 0u);
}

// A uxtheme.dll or wtsapi32.dll that a download drops beside the exe never runs in the program,
// which still clicks as usual. Under Wine, CMakeLists.txt makes such names search as on Windows.
TEST(Startup, SystemDllsPlantedBesideTheExeAreNotLoaded) {
  TempFolder folder;
  const std::wstring original = AppExePath(), exe = folder.File(L"KestulAutoClicker.exe");
  const std::wstring standIn = original.substr(0, original.find_last_of(L'\\') + 1) + L"planted_dll.dll";
  ASSERT_NE(CopyFileW(original.c_str(), exe.c_str(), TRUE), FALSE);
  for (const std::wstring dll : {L"uxtheme.dll", L"wtsapi32.dll"}) {
    ASSERT_NE(CopyFileW(standIn.c_str(), folder.File(dll).c_str(), TRUE), FALSE);
    FreeLibrary(LoadLibraryW(folder.File(dll).c_str()));
    ASSERT_NE(DeleteFileW(folder.File(dll + L".loaded").c_str()), FALSE)
        << "the stand-in, loaded, leaves a mark";
  }

  const RECT area = TargetArea();
  RecordingWindow target(area);
  MoveCursorTo(PointIn(area, 50, 50));
  AppProcess app({L"--settings-dir", folder.path()}, exe);
  ASSERT_NE(StartApp(app), nullptr);
  PostButtonClick(app.window(), kStartStop);
  EXPECT_TRUE(WaitUntil([&] { return target.Count(WM_LBUTTONUP) >= 3; }, 8000)) << target.Describe();
  PostButtonClick(app.window(), kStartStop);
  EXPECT_TRUE(CaptionBecomes(app.Control(kStartStop), kStartCaption));
  EXPECT_EQ(app.Close(), 0u);
  EXPECT_FALSE(FileExists(folder.File(L"uxtheme.dll.loaded")));
  EXPECT_FALSE(FileExists(folder.File(L"wtsapi32.dll.loaded")));
}

}  // namespace
}  // namespace kestul::test
