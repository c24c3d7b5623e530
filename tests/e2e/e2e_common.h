// Shared pieces of the end-to-end tests: settings files and the control table as the user sees it.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "support/desktop.h"
#include "support/files.h"
#include "support/input.h"
#include "support/process.h"
#include "support/recording_window.h"
#include "support/screen.h"
#include "support/window_access.h"

namespace kestul::test {

constexpr int kTargetCurrent = 100, kTargetSaved = 101, kButtonLeft = 102, kButtonRight = 103,
              kInterval = 104, kRegisterPosition = 105, kStartStop = 106, kToggleKey = 113,
              kSettingsApply = 115, kSettingsCancel = 116, kSavedPositionLabel = 118;
constexpr UINT kSettingsMenu = 40001, kAboutMenu = 40002;
constexpr UINT kClickerStatus = WM_APP + 1;

inline const wchar_t kStartCaption[] = L"開始(&A)";
inline const wchar_t kStopCaption[] = L"停止(&T)";

// A settings.ini in the program's own format, with the given lines replacing the defaults.
inline std::string SettingsFile(const std::string& mode = "current", const std::string& button = "left",
                                int interval = 100, bool saved = false, int x = 0, int y = 0,
                                const std::string& layout = "", const std::string& binding = "f8") {
  return "schema_version=1\r\nmode=" + mode + "\r\nbutton=" + button +
         "\r\ninterval_ms=" + std::to_string(interval) + "\r\nposition_saved=" + (saved ? "1" : "0") +
         "\r\nx=" + std::to_string(x) + "\r\ny=" + std::to_string(y) + "\r\nmonitor_layout=" + layout +
         "\r\ntoggle_binding=" + binding + "\r\n";
}

// Starts the program on `folder` and waits for its main window; fails the test otherwise.
inline HWND StartApp(AppProcess& app) {
  EXPECT_TRUE(app.started());
  HWND window = app.WaitForMainWindow();
  EXPECT_NE(window, nullptr);
  return window;
}

// Starts the program on a settings file it warns about, answers the warning and waits for the
// main window.
inline HWND StartAppPastWarning(AppProcess& app) {
  EXPECT_TRUE(app.started());
  HWND warning = WaitForMessageBox(app.pid(), L"設定読み込み警告");
  EXPECT_NE(warning, nullptr);
  if (warning != nullptr) DismissMessageBox(warning);
  HWND window = app.WaitForMainWindow();
  EXPECT_NE(window, nullptr);
  return window;
}

// Chooses an option of the main view (click position or button) as clicking it would.
inline void ChooseOption(const AppProcess& app, int id) {
  const int partner = id == kTargetCurrent ? kTargetSaved
                      : id == kTargetSaved ? kTargetCurrent
                      : id == kButtonLeft  ? kButtonRight
                                           : kButtonLeft;
  ChooseOption(app.window(), id, partner);
}

// A position as the program's labels show it.
inline std::wstring XY(POINT p) {
  return L"X=" + std::to_wstring(p.x) + L" / Y=" + std::to_wstring(p.y);
}

inline bool CaptionBecomes(HWND button, const wchar_t* caption, DWORD timeoutMs = 5000) {
  return WaitUntil([&] { return WindowText(button) == caption; }, timeoutMs);
}

// Reads the box with the caption, checks its text verbatim and answers it; keeps a picture of
// it when given a `screenshot` name.
inline void ExpectMessageBox(DWORD pid, const wchar_t* caption, const std::wstring& text,
                             const wchar_t* screenshot = nullptr) {
  HWND box = WaitForMessageBox(pid, caption);
  ASSERT_NE(box, nullptr) << "no message box";
  EXPECT_EQ(MessageBoxText(box), text);
  if (screenshot != nullptr) SaveScreenshot(screenshot, box);
  DismissMessageBox(box);
}

}  // namespace kestul::test
