#include "app/run_control.h"

#include <cwchar>

#include "common/message_texts.h"
#include "geometry/enumerate_monitors.h"
#include "settings/settings_store.h"

namespace kestul {

namespace {

const wchar_t* SavedPositionErrorText(PositionCheck check) {
  switch (check) {
    case PositionCheck::NotSaved:
      return kNotSavedText;
    case PositionCheck::LayoutChanged:
      return kLayoutChangedText;
    case PositionCheck::OffMonitor:
      return kOffMonitorText;
    case PositionCheck::Ok:
      break;
  }
  return nullptr;
}

void SetEnabled(HWND control, bool enabled) {
  if ((IsWindowEnabled(control) != FALSE) != enabled) EnableWindow(control, enabled ? TRUE : FALSE);
}

void SetCaption(HWND control, const wchar_t* caption) {
  wchar_t current[32] = {};
  GetWindowTextW(control, current, 32);
  if (std::wcscmp(current, caption) != 0) SetWindowTextW(control, caption);
}

}  // namespace

void SetRunState(AppState& state, RunState runState) {
  state.runState = runState;
  UpdateRunStateDisplay(state);
}

Verdict DecideFor(const AppState& state, Command command) {
  return DecideCommand(command, {.run = state.runState,
                                 .settingsView = state.inSettingsView,
                                 .dialogOpen = state.openDialogs > 0,
                                 .waiting = state.saving || state.initializing});
}

void ShowMessage(AppState& state, const wchar_t* text, const wchar_t* caption, UINT icon) {
  ++state.openDialogs;
  MessageBoxW(state.window, text, caption, MB_OK | icon);
  --state.openDialogs;
}

void FailWithMessage(AppState& state, const wchar_t* text, const wchar_t* caption, UINT icon) {
  SetRunState(state, RunState::Faulted);
  ShowMessage(state, text, caption, icon);
}

void StartClicking(AppState& state) {
  if (!HotkeysReady(state) || !state.sessionNotifications || !state.worker || state.worker->IsRunning()) {
    return;
  }
  // The position and button follow the view even when the interval is refused.
  const MainViewChoices choices = ReadMainView(state);
  KeepMainViewChoices(state.settings, choices);
  if (!choices.interval) {
    FailWithMessage(state, kIntervalErrorText, kInputErrorCaption, MB_ICONWARNING);
    return;
  }

  const AppSettings& s = state.settings;
  if (s.mode == ClickMode::Saved) {
    const PositionCheck check =
        ValidateSavedPosition(s.position_saved, {s.x, s.y}, s.monitor_layout, EnumerateMonitors());
    if (check != PositionCheck::Ok) {
      FailWithMessage(state, SavedPositionErrorText(check), kSavedPositionErrorCaption, MB_ICONWARNING);
      return;
    }
  }
  // The save may wait for a file another program holds, serving messages sent meanwhile; a stop
  // asked for then (sleep, lock, a display change, the end of the session) outranks this start.
  const std::uint64_t stopsBefore = state.stopRequests;
  if (!SaveSettingsIfNeeded(state)) return;
  if (state.stopRequests != stopsBefore) return;

  const ClickRequest request{
      .mode = s.mode, .button = s.button, .interval_ms = s.interval_ms, .x = s.x, .y = s.y};
  ++state.runId;
  if (state.worker->Start(request, state.runId)) {
    SetRunState(state, RunState::Starting);
  } else {
    FailWithMessage(state, kStartErrorText, kStartErrorCaption, MB_ICONERROR);
  }
}

void StopClicking(AppState& state) {
  ++state.stopRequests;
  if (!state.worker) return;
  if (!state.worker->IsRunning() && state.runState == RunState::Idle) return;
  // The stop below serves messages sent to this thread while it waits; one of them asking to stop
  // again is already being done.
  if (state.runState == RunState::Stopping) return;
  SetRunState(state, RunState::Stopping);
  state.worker->Stop();
  // A request served inside the wait may have settled the outcome already (a display change
  // with a saved position leaves Faulted).
  if (state.runState == RunState::Stopping) SetRunState(state, RunState::Idle);
}

// Every change repaints (a menu bar redraw is a whole frame change), and a stop passes through two
// states that look alike, so only what differs is touched; the start/stop button goes first, it
// is what the user watches.
void UpdateRunStateDisplay(const AppState& state) {
  const RunDisplay display =
      ComputeRunDisplay(state.runState, HotkeysReady(state), static_cast<bool>(state.sessionNotifications));
  HWND button = Control(state, IDC_START_STOP);
  SetCaption(button, display.startStopCaption);
  SetEnabled(button, display.startStopEnabled);
  for (int id = IDC_TARGET_CURRENT; id <= IDC_REGISTER_POSITION; ++id) {
    SetEnabled(Control(state, id), display.inputsEnabled);
  }
  const UINT previous = EnableMenuItem(GetMenu(state.window), IDM_SETTINGS,
                                       MF_BYCOMMAND | (display.settingsMenuEnabled ? MF_ENABLED : MF_GRAYED));
  const bool wasEnabled = (previous & (MF_GRAYED | MF_DISABLED)) == 0;
  if (previous != static_cast<UINT>(-1) && wasEnabled != display.settingsMenuEnabled) {
    DrawMenuBar(state.window);
  }
}

bool SaveSettingsIfNeeded(AppState& state) {
  std::wstring error;
  if (WriteSettingsIfNeeded(state, error)) return true;
  ReportSaveError(state, error);
  return false;
}

bool WriteSettingsIfNeeded(AppState& state, std::wstring& error) {
  if (state.protectSettingsFile && !state.settingsChanged) return true;
  state.saving = true;
  const bool saved = SaveSettings(state.settingsFolder, state.settings, error);
  state.saving = false;
  if (!saved) return false;
  state.protectSettingsFile = false;
  state.settingsChanged = false;
  return true;
}

void ReportSaveError(AppState& state, const std::wstring& error) {
  FailWithMessage(state, error.c_str(), kSaveErrorCaption, MB_ICONERROR);
}

MainViewChoices ReadMainView(const AppState& state) {
  MainViewChoices choices;
  if (SendMessageW(Control(state, IDC_TARGET_SAVED), BM_GETCHECK, 0, 0) == BST_CHECKED) {
    choices.mode = ClickMode::Saved;
  }
  if (SendMessageW(Control(state, IDC_BUTTON_RIGHT), BM_GETCHECK, 0, 0) == BST_CHECKED) {
    choices.button = ClickButton::Right;
  }
  // Only the first 31 characters take part: more cannot be a valid interval anyway.
  wchar_t text[32] = {};
  const int length = GetWindowTextW(Control(state, IDC_INTERVAL), text, 32);
  std::uint32_t interval = 0;
  if (length > 0 && ParseIntervalText(std::wstring_view(text, static_cast<std::size_t>(length)), interval)) {
    choices.interval = interval;
  }
  return choices;
}

void KeepMainViewChoices(AppSettings& settings, const MainViewChoices& choices) {
  settings.mode = choices.mode;
  settings.button = choices.button;
  if (choices.interval) settings.interval_ms = *choices.interval;
}

}  // namespace kestul
