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
// The interval field takes as many characters as the largest interval has digits.
constexpr int kIntervalDigits = 5;
static_assert(kMaxIntervalMs >= 10000 && kMaxIntervalMs <= 99999);

// The words settings.ini uses for each choice, indexed by its value.
inline constexpr std::string_view kModeNames[] = {"current", "saved"};
inline constexpr std::string_view kButtonNames[] = {"left", "right"};

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
