// Loading settings.ini with validation, and saving it atomically through settings.ini.tmp.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "settings/app_settings.h"

namespace kestul {

struct SettingsLoadResult {
  AppSettings settings;
  bool protectSettingsFile = false;
  std::wstring warning;
};

// Far above anything this program writes (a few hundred bytes). A larger settings.ini is refused
// as a syntax fault, so that a huge or runaway file cannot stall start-up or exhaust memory.
constexpr std::size_t kMaxSettingsFileBytes = std::size_t{1024} * 1024;

// Folder joined with a file name: a backslash in between unless the folder is empty,
// ends in '\' or '/', or is a bare drive name such as "C:".
std::wstring JoinSettingsPath(std::wstring_view folder, std::wstring_view name);

// Validates the bytes of a present, readable settings file.
SettingsLoadResult ParseSettingsText(std::string_view bytes);

SettingsLoadResult LoadSettings(const std::wstring& folder);

// False with exactly one of the save error texts in `error`; `error` is untouched on success.
bool SaveSettings(const std::wstring& folder, const AppSettings& settings, std::wstring& error);

#ifdef _WIN32
// %LOCALAPPDATA%\KESTUL\AutoClicker, or empty when the known folder is unavailable.
std::wstring GetDefaultSettingsFolder();
#endif

}  // namespace kestul
