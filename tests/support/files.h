// Files a test reads and writes: private folders, raw bytes, and settings.ini in the program's
// own format.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "common/unique_handle.h"

namespace kestul::test {

// A fresh folder under %TEMP%, removed with everything in it at the end of the test.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  const std::wstring& path() const { return path_; }
  std::wstring File(const std::wstring& name) const { return path_ + L"\\" + name; }

 private:
  std::wstring path_;
};

std::string ReadFileBytes(const std::wstring& path);
bool WriteFileBytes(const std::wstring& path, const std::string& bytes);
bool FileExists(const std::wstring& path);
// The file opened as a scanner or an indexer opens it, without delete sharing: while it is held,
// the file cannot be replaced.
UniqueFileHandle HoldWithoutDeleteSharing(const std::wstring& path);

// The fields of settings.ini, written out by name; the defaults are the program's own.
struct Settings {
  std::string mode = "current";
  std::string button = "left";
  int interval = 100;
  std::optional<POINT> position{};  // the saved position, if any
  std::string layout{};
  std::string binding = "f8";
};
// The file as the program writes it: `SettingsFile({.interval = 50, .binding = "mouse_x2"})`.
std::string SettingsFile(const Settings& settings = {});

}  // namespace kestul::test
