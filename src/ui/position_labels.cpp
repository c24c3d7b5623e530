#include "ui/position_labels.h"

#include "ui/ui_rules.h"

namespace kestul {

void UpdatePositionLabels(const AppState& state) {
  const std::wstring text = PositionText(state.settings.position_saved, state.settings.x, state.settings.y);
  SetWindowTextW(Control(state, IDC_TARGET_SAVED), (L"保存した位置(&S)  " + text).c_str());
  SetWindowTextW(Control(state, IDC_SAVED_POSITION_LABEL), (L"保存位置: " + text).c_str());
}

}  // namespace kestul
