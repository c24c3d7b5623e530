// The settings record and the byte layout of settings.ini.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "clicker/input_adapter.h"
#include "settings/toggle_binding.h"

namespace kestul {

constexpr std::uint32_t kMinIntervalMs = 20;
constexpr std::uint32_t kMaxIntervalMs = 60000;
// How many characters the interval field takes: the largest interval's digits.
constexpr int kIntervalDigits = [] {
  int digits = 0;
  for (std::uint32_t rest = kMaxIntervalMs; rest > 0; rest /= 10) ++digits;
  return digits;
}();

// Field names follow the keys of settings.ini.
struct AppSettings {
  ClickMode mode = ClickMode::Current;
  ClickButton button = ClickButton::Left;
  std::uint32_t interval_ms = 100;
  bool position_saved = false;
  std::int32_t x = 0;
  std::int32_t y = 0;
  std::wstring monitor_layout;
  ToggleBinding toggle_binding = kDefaultToggleBinding;

  bool operator==(const AppSettings&) const = default;
};

// The one integer rule of the settings text: optional '-', then decimal digits, fitting int64.
bool ParseWholeInt64(std::string_view text, std::int64_t& value);

// Every code unit copied as a byte when all are printable ASCII; otherwise empty.
std::string ToPrintableAscii(std::wstring_view text);

// The exact bytes of settings.ini for a record: one key=value line a field, each ending in CR LF.
std::string FormatSettingsFile(const AppSettings& settings);

}  // namespace kestul
