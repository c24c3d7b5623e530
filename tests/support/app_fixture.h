// The one fixture of the tests that drive the real program: it starts the program on a private
// settings folder, reads its state as the user sees it, and checks once, at the end, that the
// program closes cleanly.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "clicker/click_worker.h"
#include "common/message_texts.h"
#include "common/window_messages.h"
#include "support/desktop.h"
#include "support/files.h"
#include "support/input.h"
#include "support/process.h"
#include "support/recording_window.h"
#include "support/screen.h"
#include "support/values.h"
#include "support/window_access.h"

namespace kestul::test {

// A position as the program's labels show it: in the saved-position option and in the settings view.
inline std::wstring XY(POINT p) {
  return L"X=" + std::to_wstring(p.x) + L" / Y=" + std::to_wstring(p.y);
}
inline std::wstring SavedOption(POINT p) {
  return L"保存した位置(&S)  " + XY(p);
}
inline std::wstring SavedLabel(POINT p) {
  return L"保存位置: " + XY(p);
}

// Waits for the box of process `pid` with the caption, checks its text verbatim and answers it;
// keeps a picture of it when given a `screenshot` name.
void ExpectMessageBox(DWORD pid, const wchar_t* caption, const std::wstring& text,
                      const wchar_t* screenshot = nullptr);

struct StartOptions {
  std::optional<std::string> settings{};  // written to settings.ini first
  bool pastWarning = false;               // answer the settings warning, then look for the window
  std::vector<std::wstring> arguments{};  // none: --settings-dir <folder>
  std::wstring exe = AppExePath();
};

class AppTest : public ::testing::Test {
 protected:
  void TearDown() override;

  // Starts the program and waits for nothing.
  ::testing::AssertionResult Launch(const StartOptions& how = {});
  // Starts it and waits for its main window.
  ::testing::AssertionResult Start(const StartOptions& how = {});
  // Closes the program and checks that it ends with 0; TearDown does it for a test that did not.
  void ExpectCleanExit();

  // The start/stop button's caption: now, within the time, or for the whole time.
  HWND StartStop() const { return app.Control(IDC_START_STOP); }
  std::wstring StartStopText() const { return WindowText(StartStop()); }
  bool BecomesRunning(DWORD timeoutMs = 5000) const {
    return TextBecomes(StartStop(), kStopCaption, timeoutMs);
  }
  bool BecomesIdle(DWORD timeoutMs = 5000) const {
    return TextBecomes(StartStop(), kStartCaption, timeoutMs);
  }
  bool StaysRunning(DWORD ms) const { return TextStays(StartStop(), kStopCaption, ms); }
  bool StaysIdle(DWORD ms) const { return TextStays(StartStop(), kStartCaption, ms); }
  // The start/stop button pressed, and its caption checked to follow.
  void StartByButton() const {
    PostButtonClick(app.window(), IDC_START_STOP);
    EXPECT_TRUE(BecomesRunning());
  }
  void StopByButton() const {
    PostButtonClick(app.window(), IDC_START_STOP);
    EXPECT_TRUE(BecomesIdle());
  }
  // A status of run `runId` as the click worker posts it.
  void PostStatus(WPARAM runId, ClickStatus status) const {
    PostMessageW(app.window(), WM_CLICKER_STATUS, runId, static_cast<LPARAM>(status));
  }
  // Chooses an option of the main view (click position or button) as clicking it would.
  void ChooseOption(int id) const;

  bool TitleBecomes(const wchar_t* title) const { return TextBecomes(app.window(), title); }
  bool OpenSettingsView() const {
    PostMessageW(app.window(), WM_COMMAND, IDM_SETTINGS, 0);
    return TitleBecomes(kSettingsTitle);
  }
  bool BackInMainView() const { return TitleBecomes(kMainTitle); }
  // The start/stop key selector, by the codes its entries carry.
  void ChooseKey(ToggleBinding code) const;
  ToggleBinding ChosenKey() const;
  void ChooseKeyAndApply(ToggleBinding code) const {
    ChooseKey(code);
    PostButtonClick(app.window(), IDC_SETTINGS_APPLY);
  }

  TempFolder folder;
  const std::wstring settingsPath = folder.File(L"settings.ini");
  const RECT targetArea = TargetArea();
  const POINT insideTarget = PointIn(targetArea, 50, 50);
  AppProcess app;

 private:
  bool exitChecked_ = false;
};

}  // namespace kestul::test
