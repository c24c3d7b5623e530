#include "support/app_fixture.h"

namespace kestul::test {

void ExpectMessageBox(DWORD pid, const wchar_t* caption, const std::wstring& text,
                      const wchar_t* screenshot) {
  HWND box = WaitForMessageBox(pid, caption);
  ASSERT_NE(box, nullptr) << "no message box";
  EXPECT_EQ(MessageBoxText(box), text);
  if (screenshot != nullptr) SaveScreenshot(screenshot, box);
  DismissMessageBox(box);
}

void AppTest::TearDown() {
  // A test stopped by a failed assertion leaves the program to AppProcess's destructor.
  if (app.started() && !exitChecked_ && !HasFatalFailure()) ExpectCleanExit();
}

::testing::AssertionResult AppTest::Launch(const StartOptions& how) {
  if (how.settings && !WriteFileBytes(settingsPath, *how.settings)) {
    return ::testing::AssertionFailure() << "settings.ini cannot be written";
  }
  const std::vector<std::wstring> arguments =
      how.arguments.empty() ? std::vector<std::wstring>{L"--settings-dir", folder.path()} : how.arguments;
  if (!app.Launch(arguments, how.exe)) return ::testing::AssertionFailure() << "the program did not start";
  return ::testing::AssertionSuccess();
}

::testing::AssertionResult AppTest::Start(const StartOptions& how) {
  ::testing::AssertionResult launched = Launch(how);
  if (!launched) return launched;
  if (how.pastWarning) {
    HWND warning = WaitForMessageBox(app.pid(), kSettingsWarningCaption);
    if (warning == nullptr) return ::testing::AssertionFailure() << "no settings warning";
    DismissMessageBox(warning);
  }
  if (app.WaitForMainWindow() == nullptr) return ::testing::AssertionFailure() << "no main window";
  return ::testing::AssertionSuccess();
}

void AppTest::ExpectCleanExit() {
  exitChecked_ = true;
  EXPECT_EQ(app.Close(), 0u) << "the program's exit code";
}

void AppTest::ChooseOption(int id) const {
  const int partner = id == IDC_TARGET_CURRENT ? IDC_TARGET_SAVED
                      : id == IDC_TARGET_SAVED ? IDC_TARGET_CURRENT
                      : id == IDC_BUTTON_LEFT  ? IDC_BUTTON_RIGHT
                                               : IDC_BUTTON_LEFT;
  test::ChooseOption(app.window(), id, partner);
}

void AppTest::ChooseKey(ToggleBinding code) const {
  HWND selector = app.Control(IDC_TOGGLE_KEY);
  const LRESULT count = SendMessageW(selector, CB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    if (SendMessageW(selector, CB_GETITEMDATA, static_cast<WPARAM>(i), 0) == code) {
      SendMessageW(selector, CB_SETCURSEL, static_cast<WPARAM>(i), 0);
      return;
    }
  }
  ADD_FAILURE() << "no entry carries the code " << code;
}

ToggleBinding AppTest::ChosenKey() const {
  HWND selector = app.Control(IDC_TOGGLE_KEY);
  const LRESULT index = SendMessageW(selector, CB_GETCURSEL, 0, 0);
  return static_cast<ToggleBinding>(SendMessageW(selector, CB_GETITEMDATA, static_cast<WPARAM>(index), 0));
}

}  // namespace kestul::test
