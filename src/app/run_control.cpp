#include "app/run_control.h"

#include <cwchar>

#include "common/message_texts.h"
#include "geometry/enumerate_monitors.h"
#include "hotkeys/hotkeys.h"
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

void ShowMessage(const AppState& state, const wchar_t* text, const wchar_t* caption, UINT icon) {
  MessageBoxW(state.window, text, caption, MB_OK | icon);
}

void FailWithMessage(AppState& state, const wchar_t* text, const wchar_t* caption, UINT icon) {
  SetRunState(state, RunState::Faulted);
  ShowMessage(state, text, caption, icon);
}

void StartClicking(AppState& state) {
  if (!state.hotkeysReady || !state.sessionNotificationsOk || !state.worker || state.worker->IsRunning()) {
    return;
  }
  ReadOptionButtons(state);
  std::uint32_t interval = 0;
  if (!ReadIntervalField(Control(state, IDC_INTERVAL), interval)) {
    FailWithMessage(state, kIntervalErrorText, kInputErrorCaption, MB_ICONWARNING);
    return;
  }
  state.settings.interval_ms = interval;

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

void ToggleClicking(AppState& state) {
  if (IsIdle(state.runState)) {
    StartClicking(state);
  } else {
    StopClicking(state);
  }
}

// Every change repaints (a menu bar redraw is a whole frame change), and a stop passes through two
// states that look alike, so only what differs is touched; the start/stop button goes first, it
// is what the user watches.
void UpdateRunStateDisplay(const AppState& state) {
  const RunDisplay display =
      ComputeRunDisplay(state.runState, state.hotkeysReady, state.sessionNotificationsOk);
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
  if (state.protectSettingsFile && !state.settingsChanged) return true;
  // A command another program sends while a save waits for a held file runs inside that wait; a
  // second save there would write the same temporary file under the first. It is refused without
  // a word, what asked for it does not go on, and the first save ends as it would have.
  if (state.saving) return false;
  std::wstring error;
  const ULONGLONG started = GetTickCount64();
  state.saving = true;
  const bool saved = SaveSettings(state.settingsFolder, state.settings, error);
  state.saving = false;
  RenewMouseHookAfter(state, started);  // a slow disk, a network folder or a scanner's hold
  if (!saved) {
    FailWithMessage(state, error.c_str(), kSaveErrorCaption, MB_ICONERROR);
    return false;
  }
  state.protectSettingsFile = false;
  state.settingsChanged = false;
  return true;
}

bool ReadIntervalField(HWND field, std::uint32_t& value) {
  wchar_t text[32] = {};
  const int length = GetWindowTextW(field, text, 32);
  if (length <= 0) return false;
  return ParseIntervalText(std::wstring_view(text, static_cast<std::size_t>(length)), value);
}

void ReadOptionButtons(AppState& state) {
  const bool saved = SendMessageW(Control(state, IDC_TARGET_SAVED), BM_GETCHECK, 0, 0) == BST_CHECKED;
  const bool right = SendMessageW(Control(state, IDC_BUTTON_RIGHT), BM_GETCHECK, 0, 0) == BST_CHECKED;
  state.settings.mode = saved ? ClickMode::Saved : ClickMode::Current;
  state.settings.button = right ? ClickButton::Right : ClickButton::Left;
}

}  // namespace kestul
