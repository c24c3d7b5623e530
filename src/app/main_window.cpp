#include "app/main_window.h"

#include <powrprof.h>
#include <wtsapi32.h>

#include <algorithm>
#include <cstring>
#include <utility>

#include "app/app_state.h"
#include "app/run_control.h"
#include "clicker/send_input_adapter.h"
#include "common/message_texts.h"
#include "common/message_wait.h"
#include "common/window_messages.h"
#include "geometry/position_capture.h"
#include "hotkeys/hotkeys.h"
#include "ui/about_dialog.h"
#include "ui/controls.h"
#include "ui/fonts.h"
#include "ui/resource_ids.h"
#include "ui/settings_view.h"
#include "ui/ui_rules.h"

namespace kestul {

HWND Control(const AppState& state, int id) {
  return state.controls.at(static_cast<std::size_t>(id - kFirstControlId));
}

namespace {

// Exit code when GetMessageW itself fails and no quit code exists.
constexpr int kMessageLoopFailedExitCode = 3;

// How long a start at sign-in (the Startup folder) waits for the session services.
constexpr ULONGLONG kSessionServicesPatienceMs = 5000;

UniqueMenu BuildMenuBar() {
  UniqueMenu menu(CreateMenu());
  if (!menu) return menu;
  if (AppendMenuW(menu.get(), MF_STRING, IDM_SETTINGS, L"設定(&S)") == FALSE ||
      AppendMenuW(menu.get(), MF_STRING, IDM_ABOUT, L"バージョン情報(&A)") == FALSE) {
    return {};
  }
  return menu;
}

// Early in a sign-in the session services may not be up yet, and the registration fails with
// RPC_S_INVALID_BINDING; they are up once the event Global\TermSrvReadyEvent is set (which may not
// even exist yet). Waited for a few seconds at most, then tried once more.
WindowRegistration RegisterSessionNotifications(const AppState& state) {
  // Without wtsapi32 the registration counts as refused.
  auto* registerSession =
      state.wtsapi32.Find<decltype(WTSRegisterSessionNotification)>("WTSRegisterSessionNotification");
  auto* unregisterSession =
      state.wtsapi32.Find<decltype(WTSUnRegisterSessionNotification)>("WTSUnRegisterSessionNotification");
  if (registerSession == nullptr || unregisterSession == nullptr) return {};
  HWND window = state.window;
  if (registerSession(window, NOTIFY_FOR_THIS_SESSION) == FALSE) {
    if (GetLastError() != RPC_S_INVALID_BINDING) return {};
    const ULONGLONG deadline = GetTickCount64() + kSessionServicesPatienceMs;
    for (ULONGLONG now = GetTickCount64(); now < deadline; now = GetTickCount64()) {
      const auto left = static_cast<DWORD>(deadline - now);
      const UniqueKernelHandle ready(OpenEventW(SYNCHRONIZE, FALSE, L"Global\\TermSrvReadyEvent"));
      if (ready) {
        WaitServingSentMessages(ready.get(), left);
        break;
      }
      WaitServingSentMessages(nullptr, std::min<DWORD>(left, 100));
    }
    if (registerSession(window, NOTIFY_FOR_THIS_SESSION) == FALSE) return {};
  }
  return WindowRegistration([window, unregisterSession] { unregisterSession(window); });
}

// The AoAc flag of the power capabilities, asked for on its own (PlatformInformation).
bool HasModernStandby(const AppState& state) {
  auto* powerInformation = state.powrprof.Find<decltype(CallNtPowerInformation)>("CallNtPowerInformation");
  POWER_PLATFORM_INFORMATION platform{};
  return powerInformation != nullptr &&
         powerInformation(PlatformInformation, nullptr, 0, &platform, sizeof(platform)) == 0 &&
         platform.AoAc != FALSE;
}

void OnCreate(AppState& state) {
  CreateMainControls(state);
  state.worker = std::make_unique<ClickWorker>(state.window, std::make_unique<SendInputAdapter>());
  RegisterHotkeysForWindow(state);
  // Machines that sleep in Modern Standby tell only the windows that asked; without it the rest
  // of the program works as before.
  state.suspendNotification.reset(
      RegisterSuspendResumeNotification(state.window, DEVICE_NOTIFY_WINDOW_HANDLE));
  // There, sleep comes a while after the display turns off, and its notice only then. The console's
  // display is the one the machine's sleep follows; the session's display status follows this
  // session alone, which need not be the one on the screen (a remote or a switched-away session).
  state.modernStandby = HasModernStandby(state);
  state.displayNotification.reset(RegisterPowerSettingNotification(state.window, &GUID_CONSOLE_DISPLAY_STATE,
                                                                   DEVICE_NOTIFY_WINDOW_HANDLE));
  state.sessionNotifications = RegisterSessionNotifications(state);
  if (!state.sessionNotifications) {
    ShowMessage(state, kSessionErrorText, kSessionErrorCaption, MB_ICONERROR);
  }
  state.initializing = false;
  UpdateRunStateDisplay(state);
}

void OnDestroy(AppState& state) {
  state.sessionNotifications.reset();
  state.suspendNotification.reset();
  state.displayNotification.reset();
  UnregisterHotkeysForWindow(state);
  state.normalFont.reset();
  state.headingFont.reset();
  state.backgroundBrush.reset();
  state.editBrush.reset();
  PostQuitMessage(0);
}

// Asks the gate and does what it allows: `act` for the whole command, or only the stop.
template <typename Action>
void Dispatch(AppState& state, Command command, Action&& act) {
  switch (DecideFor(state, command)) {
    case Verdict::Act:
      std::forward<Action>(act)();
      return;
    case Verdict::StopOnly:
      StopClicking(state);
      return;
    case Verdict::Nothing:
      return;
  }
}

void OnStartStop(AppState& state) {
  Dispatch(state, Command::StartStop, [&] { StartClicking(state); });
}

void OnRegisterPosition(AppState& state) {
  Dispatch(state, Command::RegisterPosition, [&] { RegisterCursorPosition(state); });
}

void OnCommand(AppState& state, int id, int notification) {
  switch (id) {
    case IDM_SETTINGS:
      Dispatch(state, Command::OpenSettings, [&] { ShowView(state, View::Settings); });
      return;
    case IDM_ABOUT:
      Dispatch(state, Command::About, [&] { ShowAboutDialog(state); });
      return;
    case IDC_TARGET_CURRENT:
    case IDC_TARGET_SAVED:
    case IDC_BUTTON_LEFT:
    case IDC_BUTTON_RIGHT:
      if (notification == BN_CLICKED && !state.initializing) state.settingsChanged = true;
      return;
    case IDC_INTERVAL:
      if (notification == EN_CHANGE && !state.initializing) state.settingsChanged = true;
      return;
    case IDC_REGISTER_POSITION:
      if (notification == BN_CLICKED) OnRegisterPosition(state);
      return;
    case IDC_START_STOP:
      if (notification == BN_CLICKED) OnStartStop(state);
      return;
    case IDC_SETTINGS_APPLY:
      if (notification == BN_CLICKED) Dispatch(state, Command::Apply, [&] { ApplySettingsView(state); });
      return;
    case IDC_SETTINGS_CANCEL:
      if (notification == BN_CLICKED) Dispatch(state, Command::Cancel, [&] { LeaveSettingsView(state); });
      return;
    default:
      return;
  }
}

void OnHotkey(AppState& state, WPARAM id) {
  if (id == HOTKEY_REGISTER_POSITION) {
    OnRegisterPosition(state);
  } else if (id == HOTKEY_TOGGLE) {
    OnStartStop(state);
  } else if (id == HOTKEY_EMERGENCY_STOP) {
    Dispatch(state, Command::EmergencyStop, [&] { StopClicking(state); });
  }
}

void OnSystemStop(AppState& state) {
  Dispatch(state, Command::SystemStop, [&] { StopClicking(state); });
}

void OnPowerBroadcast(AppState& state, WPARAM event, LPARAM data) {
  if (event == PBT_APMSUSPEND) {
    OnSystemStop(state);
    return;
  }
  const auto* setting = reinterpret_cast<const POWERBROADCAST_SETTING*>(data);
  if (event != PBT_POWERSETTINGCHANGE || setting == nullptr ||
      IsEqualGUID(setting->PowerSetting, GUID_CONSOLE_DISPLAY_STATE) == FALSE ||
      setting->DataLength < sizeof(DWORD)) {
    return;
  }
  DWORD displayState = 0;
  std::memcpy(&displayState, setting->Data, sizeof(displayState));
  if (DisplayStateStopsClicking(state.modernStandby, displayState)) OnSystemStop(state);
}

void OnClose(AppState& state) {
  Dispatch(state, Command::Close, [&] {
    if (state.inSettingsView) {
      LeaveSettingsView(state);
    } else {
      StopClicking(state);
      DestroyWindow(state.window);
    }
  });
}

// Sign-out, shutdown, or the Restart Manager replacing the program: it ends in either view.
void OnEndSession(AppState& state) {
  Dispatch(state, Command::EndSession, [&] {
    StopClicking(state);
    DestroyWindow(state.window);
  });
}

void OnDisplayChange(AppState& state) {
  Dispatch(state, Command::SystemStop, [&] {
    StopClicking(state);
    if (state.settings.position_saved) SetRunState(state, RunState::Faulted);
  });
}

void OnClickerStatus(AppState& state, WPARAM runId, LPARAM status) {
  switch (DecideStatusAction(state.runState, state.runId, runId, status)) {
    case StatusAction::Ignore:
      return;
    case StatusAction::SetRunning:
      SetRunState(state, RunState::Running);
      return;
    case StatusAction::StopAndFault:
      state.worker->Stop();
      FailWithMessage(state, kInputRejectedText, kInputErrorCaption, MB_ICONERROR);
      return;
    case StatusAction::StopAndIdle:
      state.worker->Stop();
      SetRunState(state, RunState::Idle);
      return;
  }
}

// Caption, menu bar and frame do not grow in proportion to the DPI, so a plain scaling of the
// whole window would leave the client a few pixels off; Windows asks first, and uses the answer
// for the rectangle WM_DPICHANGED suggests.
LRESULT OnGetDpiScaledSize(UINT dpi, SIZE& size) {
  size = MainWindowOuterSize(dpi);
  return TRUE;
}

void OnDpiChanged(AppState& state, const RECT& suggested) {
  SetWindowPos(state.window, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
               suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
  LayoutControls(state);
  ApplyFonts(state);
  InvalidateRect(state.window, nullptr, TRUE);
}

void OnThemeChanged(AppState& state) {
  ApplyColours(state);
  ForwardColourChange(state.window);
  RedrawWindow(state.window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

}  // namespace

SIZE MainWindowOuterSize(UINT dpi) {
  RECT rect{0, 0, static_cast<LONG>(ScaleForDpi(kClientWidth96, dpi)),
            static_cast<LONG>(ScaleForDpi(kClientHeight96, dpi))};
  AdjustWindowRectExForDpi(&rect, kMainWindowStyle, TRUE, 0, dpi);
  return {rect.right - rect.left, rect.bottom - rect.top};
}

HWND CreateMainWindow(HINSTANCE instance, AppState& state) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = MainWindowProc;
  wc.hInstance = instance;
  wc.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = kMainWindowClass;
  RegisterClassExW(&wc);
  UniqueMenu menu = BuildMenuBar();
  if (!menu) return nullptr;

  // Created at the 96-DPI size, then sized for the DPI of the monitor it landed on.
  const SIZE initial = MainWindowOuterSize(USER_DEFAULT_SCREEN_DPI);
  HWND window = CreateWindowExW(0, kMainWindowClass, kMainTitle, kMainWindowStyle, CW_USEDEFAULT,
                                CW_USEDEFAULT, initial.cx, initial.cy, nullptr, menu.get(), instance, &state);
  if (window == nullptr) return nullptr;
  menu.release();  // the window owns its menu bar from here on
  const SIZE scaled = MainWindowOuterSize(GetDpiForWindow(window));
  SetWindowPos(window, nullptr, 0, 0, scaled.cx, scaled.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  return window;
}

int RunMessageLoop(HWND window) {
  MSG msg;
  for (;;) {
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0) return static_cast<int>(msg.wParam);
    if (got < 0) return kMessageLoopFailedExitCode;
    if (IsDialogMessageW(window, &msg) == FALSE) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* bound = static_cast<AppState*>(reinterpret_cast<const CREATESTRUCTW*>(lParam)->lpCreateParams);
    bound->window = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(bound));
    return DefWindowProcW(window, message, wParam, lParam);
  }
  auto* state = reinterpret_cast<AppState*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (state == nullptr) return DefWindowProcW(window, message, wParam, lParam);

  switch (message) {
    case WM_CREATE:
      OnCreate(*state);
      return 0;
    case WM_DESTROY:
      OnDestroy(*state);
      return 0;
    case WM_CLOSE:
      OnClose(*state);
      return 0;
    case WM_ERASEBKGND:
      return OnEraseBackground(*state, reinterpret_cast<HDC>(wParam));
    case WM_DISPLAYCHANGE:
      OnDisplayChange(*state);
      return 0;
    case WM_COMMAND:
      OnCommand(*state, LOWORD(wParam), HIWORD(wParam));
      return 0;
    case WM_CTLCOLOREDIT:
      return reinterpret_cast<LRESULT>(OnCtlColorEdit(*state, reinterpret_cast<HDC>(wParam)));
    case WM_CTLCOLORBTN:
      return reinterpret_cast<LRESULT>(OnCtlColorButton(*state, reinterpret_cast<HDC>(wParam)));
    case WM_CTLCOLORSTATIC:
      return reinterpret_cast<LRESULT>(
          OnCtlColorStatic(*state, reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam)));
    case WM_POWERBROADCAST:
      OnPowerBroadcast(*state, wParam, lParam);
      return TRUE;
    case WM_QUERYENDSESSION:
      // Clicks must not go on into the "save your changes?" questions of other programs; the
      // session may end, and nothing is saved on the way out.
      OnSystemStop(*state);
      return TRUE;
    case WM_ENDSESSION:
      if (wParam != FALSE) OnEndSession(*state);
      return 0;
    case WM_WTSSESSION_CHANGE:
      if (wParam == WTS_SESSION_LOCK) OnSystemStop(*state);
      return 0;
    case WM_SYSCOLORCHANGE:
      OnThemeChanged(*state);
      return 0;
    case WM_SETTINGCHANGE:
      if (wParam == SPI_SETHIGHCONTRAST) OnThemeChanged(*state);
      return DefWindowProcW(window, message, wParam, lParam);
    case WM_GETDPISCALEDSIZE:
      return OnGetDpiScaledSize(static_cast<UINT>(wParam), *reinterpret_cast<SIZE*>(lParam));
    case WM_DPICHANGED:
      OnDpiChanged(*state, *reinterpret_cast<const RECT*>(lParam));
      return 0;
    case WM_HOTKEY:
      OnHotkey(*state, wParam);
      return 0;
    case WM_CLICKER_STATUS:
      Dispatch(*state, Command::WorkerStatus, [&] { OnClickerStatus(*state, wParam, lParam); });
      return 0;
    case WM_CLICKER_TOGGLE:
      OnStartStop(*state);
      return 0;
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

}  // namespace kestul
