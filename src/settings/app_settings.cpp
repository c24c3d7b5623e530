#include "settings/app_settings.h"

#include <limits>

namespace kestul {

bool ParseWholeInt64(std::string_view text, std::int64_t& value) {
  bool negative = false;
  if (!text.empty() && text.front() == '-') {
    negative = true;
    text.remove_prefix(1);
  }
  if (text.empty()) return false;
  // Accumulate the magnitude as unsigned so that the most negative value fits.
  const std::uint64_t limit = negative ? std::uint64_t{1} << 63 : std::numeric_limits<std::int64_t>::max();
  std::uint64_t magnitude = 0;
  for (const char ch : text) {
    if (ch < '0' || ch > '9') return false;
    const auto digit = static_cast<std::uint64_t>(ch - '0');
    if (magnitude > (limit - digit) / 10) return false;
    magnitude = magnitude * 10 + digit;
  }
  value = negative ? static_cast<std::int64_t>(0 - magnitude) : static_cast<std::int64_t>(magnitude);
  return true;
}

std::string ToPrintableAscii(std::wstring_view text) {
  std::string bytes;
  bytes.reserve(text.size());
  for (const wchar_t unit : text) {
    if (unit < 0x20 || unit > 0x7E) return {};
    bytes.push_back(static_cast<char>(unit));
  }
  return bytes;
}

std::string FormatSettingsFile(const AppSettings& settings) {
  std::string out;
  const auto line = [&out](const char* key, const std::string& value) {
    out += key;
    out += '=';
    out += value;
    out += "\r\n";
  };
  line("schema_version", "1");
  line("mode", std::string(kModeNames[static_cast<std::size_t>(settings.mode)]));
  line("button", std::string(kButtonNames[static_cast<std::size_t>(settings.button)]));
  line("interval_ms", std::to_string(settings.interval_ms));
  line("position_saved", settings.position_saved ? "1" : "0");
  line("x", std::to_string(settings.x));
  line("y", std::to_string(settings.y));
  line("monitor_layout", ToPrintableAscii(settings.monitor_layout));
  line("toggle_binding", FormatToggleBinding(settings.toggle_binding));
  return out;
}

}  // namespace kestul
