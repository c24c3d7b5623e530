#include "geometry/position_capture.h"

#include "app/run_control.h"
#include "common/message_texts.h"
#include "geometry/enumerate_monitors.h"
#include "ui/position_labels.h"

namespace kestul {

void RegisterCursorPosition(AppState& state) {
  POINT cursor{};
  if (GetCursorPos(&cursor) == FALSE) {
    FailWithMessage(state, kCursorUnreadableText, kRegisterErrorCaption, MB_ICONERROR);
    return;
  }
  const MonitorLayout layout = EnumerateMonitors();
  if (!IsPointOnMonitor({cursor.x, cursor.y}, layout)) {
    FailWithMessage(state, kCursorOffMonitorText, kRegisterErrorCaption, MB_ICONERROR);
    return;
  }
  const MainViewChoices choices = ReadMainView(state);
  if (!choices.interval) {
    FailWithMessage(state, kIntervalErrorText, kInputErrorCaption, MB_ICONWARNING);
    return;
  }
  KeepMainViewChoices(state.settings, choices);
  state.settings.position_saved = true;
  state.settings.x = cursor.x;
  state.settings.y = cursor.y;
  state.settings.monitor_layout = LayoutSignature(layout);

  state.settingsChanged = true;
  UpdatePositionLabels(state);
  SetRunState(state, RunState::Idle);
  SaveSettingsIfNeeded(state);
}

}  // namespace kestul
