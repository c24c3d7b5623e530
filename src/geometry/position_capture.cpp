#include "geometry/position_capture.h"

#include "app/run_control.h"
#include "common/message_texts.h"
#include "geometry/enumerate_monitors.h"
#include "ui/position_labels.h"

namespace kestul {

void RegisterCursorPosition(AppState& state) {
  if (!IsIdle(state.runState)) return;
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
  std::uint32_t interval = 0;
  if (!ReadIntervalField(Control(state, IDC_INTERVAL), interval)) {
    FailWithMessage(state, kIntervalErrorText, kInputErrorCaption, MB_ICONWARNING);
    return;
  }
  ReadOptionButtons(state);
  state.settings.interval_ms = interval;
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
