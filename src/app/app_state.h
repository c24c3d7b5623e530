// The application state record: owned by the entry point, referenced by the main window.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "app/run_rules.h"
#include "clicker/click_worker.h"
#include "common/system_library.h"
#include "common/unique_handle.h"
#include "hotkeys/side_button_hook.h"
#include "settings/app_settings.h"
#include "ui/ui_rules.h"

namespace kestul {

// Control ids of the main window, in id order; the slot of a control in AppState::controls is its
// id less the first. What each one is: kControls (ui/controls.h).
enum ControlId : int {
  IDC_TARGET_CURRENT = 100,
  IDC_TARGET_SAVED = 101,
  IDC_BUTTON_LEFT = 102,
  IDC_BUTTON_RIGHT = 103,
  IDC_INTERVAL = 104,
  IDC_REGISTER_POSITION = 105,
  IDC_START_STOP = 106,
  IDC_INTERVAL_LABEL = 107,
  IDC_GROUP_TARGET = 108,
  IDC_GROUP_CLICK = 109,
  IDC_GROUP_RUN = 110,
  IDC_GROUP_KEYS = 111,
  IDC_TOGGLE_LABEL = 112,
  IDC_TOGGLE_KEY = 113,
  IDC_TOGGLE_HINT = 114,
  IDC_SETTINGS_APPLY = 115,
  IDC_SETTINGS_CANCEL = 116,
  IDC_GROUP_SAVED = 117,
  IDC_SAVED_POSITION_LABEL = 118,
};
constexpr int kFirstControlId = IDC_TARGET_CURRENT;
constexpr int kControlCount = IDC_SAVED_POSITION_LABEL - kFirstControlId + 1;

constexpr UINT IDM_SETTINGS = 40001;
constexpr UINT IDM_ABOUT = 40002;

constexpr int HOTKEY_REGISTER_POSITION = 1;
constexpr int HOTKEY_TOGGLE = 2;
constexpr int HOTKEY_EMERGENCY_STOP = 3;

struct AppState {
  // Loaded with the state, after wWinMain has limited DLL searches to System32, and held as long as
  // it: SetWindowTheme runs at WM_CREATE and WTSUnRegisterSessionNotification at WM_DESTROY.
  SystemLibrary uxtheme{L"uxtheme.dll"};
  SystemLibrary wtsapi32{L"wtsapi32.dll"};
  SystemLibrary powrprof{L"powrprof.dll"};
  HWND window = nullptr;
  std::array<HWND, kControlCount> controls{};
  AppSettings settings;
  std::wstring settingsFolder;
  std::unique_ptr<ClickWorker> worker;
  RunState runState = RunState::Idle;
  std::uint64_t runId = 0;
  std::uint64_t stopRequests = 0;  // every StopClicking counts; a start cancels when one came during its save
  bool initializing = true;
  bool protectSettingsFile = false;
  bool settingsChanged = false;
  bool saving = false;  // a save is under way; its waits serve messages sent to the window
  int openDialogs = 0;  // message boxes and the About dialog of this program now open
  bool inSettingsView = false;
  WindowRegistration sessionNotifications;
  WindowRegistration registerPositionHotkey;       // F6
  WindowRegistration emergencyStopHotkey;          // F9
  WindowRegistration toggleHotkey;                 // while a function key is bound
  std::unique_ptr<SideButtonHook> sideButtonHook;  // while a side button is bound
  UniqueSuspendNotification suspendNotification;
  bool modernStandby = false;  // the system sleeps as Modern Standby (connected standby) does
  UniquePowerSettingNotification displayNotification;
  UniqueFont normalFont;
  UniqueFont headingFont;
  Palette palette;
  UniqueBrush backgroundBrush;
  UniqueBrush editBrush;
};

// The control with the given id.
HWND Control(const AppState& state, int id);

// F6, F9 and the start/stop trigger are all in place.
inline bool HotkeysReady(const AppState& state) {
  return state.registerPositionHotkey && state.emergencyStopHotkey &&
         (state.toggleHotkey || state.sideButtonHook != nullptr);
}

}  // namespace kestul
