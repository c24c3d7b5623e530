#include "support/files.h"

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace kestul::test {

TempFolder::TempFolder() {
  wchar_t base[MAX_PATH];
  GetTempPathW(MAX_PATH, base);
  static unsigned counter = 0;
  path_ = std::wstring(base) + L"kestul-test-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
          std::to_wstring(GetTickCount64()) + L"-" + std::to_wstring(++counter);
  std::filesystem::create_directories(path_);
}

TempFolder::~TempFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::string ReadFileBytes(const std::wstring& path) {
  std::ifstream in(std::filesystem::path(path), std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

bool WriteFileBytes(const std::wstring& path, const std::string& bytes) {
  std::ofstream out(std::filesystem::path(path), std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}

bool FileExists(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

UniqueFileHandle HoldWithoutDeleteSharing(const std::wstring& path) {
  return UniqueFileHandle(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                      OPEN_EXISTING, 0, nullptr));
}

std::string SettingsFile(const Settings& s) {
  const POINT p = s.position.value_or(POINT{});
  return "schema_version=1\r\nmode=" + s.mode + "\r\nbutton=" + s.button +
         "\r\ninterval_ms=" + std::to_string(s.interval) + "\r\nposition_saved=" + (s.position ? "1" : "0") +
         "\r\nx=" + std::to_string(p.x) + "\r\ny=" + std::to_string(p.y) + "\r\nmonitor_layout=" + s.layout +
         "\r\ntoggle_binding=" + s.binding + "\r\n";
}

}  // namespace kestul::test
