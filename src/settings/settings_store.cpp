#include "settings/settings_store.h"

#include <filesystem>
#include <fstream>
#include <limits>
#include <map>

#include "common/message_texts.h"
#include "settings/settings_files.h"

namespace kestul {

namespace {

SettingsLoadResult Refused(const wchar_t* warning) {
  return {AppSettings{}, true, warning};
}

// The choice `text` names among `names`, which are indexed by its value.
template <typename Choice, std::size_t N>
bool ReadChoice(std::string_view text, const std::string_view (&names)[N], Choice& choice) {
  for (std::size_t i = 0; i < N; ++i) {
    if (text == names[i]) {
      choice = static_cast<Choice>(i);
      return true;
    }
  }
  return false;
}

bool ReadRangedNumber(std::string_view text, std::int64_t low, std::int64_t high, std::int64_t& value) {
  return ParseWholeInt64(text, value) && value >= low && value <= high;
}

}  // namespace

std::wstring JoinSettingsPath(std::wstring_view folder, std::wstring_view name) {
  std::wstring path(folder);
  const bool bareDrive =
      folder.size() == 2 && folder[1] == L':' &&
      ((folder[0] >= L'A' && folder[0] <= L'Z') || (folder[0] >= L'a' && folder[0] <= L'z'));
  if (!folder.empty() && folder.back() != L'\\' && folder.back() != L'/' && !bareDrive) path += L'\\';
  path += name;
  return path;
}

SettingsLoadResult ParseSettingsText(std::string_view bytes) {
  // Keys and values stay views into `bytes`: a file with many lines costs no copies.
  std::map<std::string_view, std::string_view> values;
  while (!bytes.empty()) {
    const std::size_t end = bytes.find('\n');
    std::string_view line = bytes.substr(0, end);
    bytes = end == std::string_view::npos ? std::string_view() : bytes.substr(end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty() || line.front() == ';' || line.front() == '#') continue;
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos || equals == 0) return Refused(kWarningSyntax);
    if (!values.emplace(line.substr(0, equals), line.substr(equals + 1)).second) {
      return Refused(kWarningSyntax);
    }
  }

  const auto version = values.find("schema_version");
  std::int64_t number = 0;
  if (version == values.end() || !ParseWholeInt64(version->second, number)) return Refused(kWarningVersion);
  if (number != 1) return Refused(kWarningUnknownVersion);

  for (const char* key : {"mode", "button", "interval_ms", "position_saved", "x", "y", "monitor_layout"}) {
    if (values.find(key) == values.end()) return Refused(kWarningMissingKey);
  }

  AppSettings settings;
  if (!ReadChoice(values.find("mode")->second, kModeNames, settings.mode)) return Refused(kWarningMode);
  if (!ReadChoice(values.find("button")->second, kButtonNames, settings.button))
    return Refused(kWarningButton);

  constexpr std::int64_t kIntMin = std::numeric_limits<std::int32_t>::min();
  constexpr std::int64_t kIntMax = std::numeric_limits<std::int32_t>::max();
  std::int64_t interval = 0, saved = 0, x = 0, y = 0;
  if (!ReadRangedNumber(values.find("interval_ms")->second, kMinIntervalMs, kMaxIntervalMs, interval) ||
      !ReadRangedNumber(values.find("position_saved")->second, 0, 1, saved) ||
      !ReadRangedNumber(values.find("x")->second, kIntMin, kIntMax, x) ||
      !ReadRangedNumber(values.find("y")->second, kIntMin, kIntMax, y)) {
    return Refused(kWarningNumber);
  }
  settings.interval_ms = static_cast<std::uint32_t>(interval);
  settings.position_saved = saved == 1;
  settings.x = static_cast<std::int32_t>(x);
  settings.y = static_cast<std::int32_t>(y);

  const std::string_view layout = values.find("monitor_layout")->second;
  // One code unit per byte, without any character-set conversion.
  for (const char byte : layout)
    settings.monitor_layout.push_back(static_cast<wchar_t>(static_cast<unsigned char>(byte)));
  if (settings.position_saved && settings.monitor_layout.empty()) return Refused(kWarningLayout);

  const auto binding = values.find("toggle_binding");
  if (binding != values.end() && !ParseToggleBinding(binding->second, settings.toggle_binding)) {
    return Refused(kWarningBinding);
  }
  return {settings, false, {}};
}

SettingsLoadResult LoadSettings(const std::wstring& folder) {
  const std::wstring pathText = JoinSettingsPath(folder, L"settings.ini");
  switch (QueryPathStatus(pathText)) {
    case PathStatus::Missing:
      return {};
    case PathStatus::Unknown:
      return Refused(kWarningUnreadable);
    case PathStatus::Exists:
      break;
  }
  const std::filesystem::path path(pathText);
  std::error_code error;
  if (std::filesystem::is_directory(path, error)) return Refused(kWarningUnreadable);
  std::ifstream in(path, std::ios::binary);
  if (!in) return Refused(kWarningUnreadable);

  // Read at most one byte past the bound, so that an oversized file is known without reading
  // it whole. A read error ends the reading; what was read so far is validated.
  std::string bytes;
  char chunk[16384];
  while (bytes.size() <= kMaxSettingsFileBytes) {
    in.read(chunk, sizeof chunk);
    bytes.append(chunk, static_cast<std::size_t>(in.gcount()));
    if (!in) break;
  }
  if (bytes.size() > kMaxSettingsFileBytes) return Refused(kWarningSyntax);
  return ParseSettingsText(bytes);
}

bool SaveSettings(const std::wstring& folder, const AppSettings& settings, std::wstring& error) {
  const std::wstring temporary = JoinSettingsPath(folder, L"settings.ini.tmp");
  bool temporaryMade = false;
  const auto fail = [&](const wchar_t* text) {
    error = text;
    if (temporaryMade) DeleteFileQuietly(temporary);
    return false;
  };
  std::error_code status;
  const std::filesystem::path folderPath(folder);
  if (folder.empty()) return fail(kSaveErrorFolder);
  std::filesystem::create_directories(folderPath, status);
  if (status || !std::filesystem::is_directory(folderPath, status)) return fail(kSaveErrorFolder);
  if (settings.position_saved && ToPrintableAscii(settings.monitor_layout).empty())
    return fail(kSaveErrorLayout);

  std::ofstream out(std::filesystem::path(temporary), std::ios::binary | std::ios::trunc);
  if (!out.is_open()) return fail(kSaveErrorTemporaryCreate);
  temporaryMade = true;
  const std::string bytes = FormatSettingsFile(settings);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.flush();
  const bool written = static_cast<bool>(out);
  out.close();  // before anything deletes it
  if (!written) return fail(kSaveErrorTemporaryWrite);
  if (!out || !FlushFileToDisk(temporary)) return fail(kSaveErrorTemporaryClose);
  if (!ReplaceSettingsFile(temporary, JoinSettingsPath(folder, L"settings.ini")))
    return fail(kSaveErrorReplace);
  return true;
}

}  // namespace kestul
