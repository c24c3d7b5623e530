#include "settings/toggle_binding.h"

#include "settings/app_settings.h"

namespace kestul {

namespace {
bool IsFunctionKeyCode(std::int64_t code) {
  return code >= 1 && code <= 11 && code != 6 && code != 9;
}
}  // namespace

bool ParseToggleBinding(std::string_view text, ToggleBinding& code) {
  if (text.size() >= 2 && text.front() == 'f') {
    std::int64_t number = 0;
    if (ParseWholeInt64(text.substr(1), number) && IsFunctionKeyCode(number)) {
      code = static_cast<ToggleBinding>(number);
      return true;
    }
  }
  if (text == "mouse_x1") {
    code = kToggleMouseX1;
    return true;
  }
  if (text == "mouse_x2") {
    code = kToggleMouseX2;
    return true;
  }
  return false;
}

std::string FormatToggleBinding(ToggleBinding code) {
  if (code >= 1 && code <= 11) return "f" + std::to_string(code);
  return code == kToggleMouseX1 ? "mouse_x1" : "mouse_x2";
}

bool IsMouseBinding(ToggleBinding code) {
  return code == kToggleMouseX1 || code == kToggleMouseX2;
}

std::uint32_t ToggleBindingVirtualKey(ToggleBinding code) {
  return IsMouseBinding(code) ? 0 : static_cast<std::uint32_t>(code + 111);
}

std::wstring ToggleBindingDisplayName(ToggleBinding code) {
  if (code >= 1 && code <= 11) return L"F" + std::to_wstring(code);
  return code == kToggleMouseX1 ? L"マウス横ボタン1" : L"マウス横ボタン2";
}

}  // namespace kestul
