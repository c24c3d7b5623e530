#include "settings/toggle_binding.h"

#include <algorithm>

#include "settings/app_settings.h"

namespace kestul {

bool ParseToggleBinding(std::string_view text, ToggleBinding& code) {
  if (text.size() >= 2 && text.front() == 'f') {
    std::int64_t number = 0;
    // "f100" is no key, though 100 is a code.
    const auto* found = ParseWholeInt64(text.substr(1), number) ? std::ranges::find(kToggleBindings, number)
                                                                : std::end(kToggleBindings);
    if (found != std::end(kToggleBindings) && !IsMouseBinding(*found)) {
      code = *found;
      return true;
    }
  }
  const auto* button = std::ranges::find_if(kToggleBindings, [text](ToggleBinding c) {
    return IsMouseBinding(c) && text == FormatToggleBinding(c);
  });
  if (button == std::end(kToggleBindings)) return false;
  code = *button;
  return true;
}

std::string FormatToggleBinding(ToggleBinding code) {
  if (!IsMouseBinding(code)) return "f" + std::to_string(code);
  return code == kToggleMouseX1 ? "mouse_x1" : "mouse_x2";
}

bool IsMouseBinding(ToggleBinding code) {
  return code == kToggleMouseX1 || code == kToggleMouseX2;
}

std::uint32_t ToggleBindingVirtualKey(ToggleBinding code) {
  return IsMouseBinding(code) ? 0 : kVirtualKeyF1 + static_cast<std::uint32_t>(code - 1);
}

std::wstring ToggleBindingDisplayName(ToggleBinding code) {
  if (!IsMouseBinding(code)) return L"F" + std::to_wstring(code);
  return code == kToggleMouseX1 ? L"マウス横ボタン1" : L"マウス横ボタン2";
}

}  // namespace kestul
