#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "settings/settings_files.h"

namespace kestul {

PathStatus QueryPathStatus(const std::wstring& path) {
  std::error_code error;
  const auto status = std::filesystem::status(std::filesystem::path(path), error);
  if (error == std::errc::no_such_file_or_directory || error == std::errc::not_a_directory ||
      error == std::errc::filename_too_long) {
    return PathStatus::Missing;
  }
  if (error) return PathStatus::Unknown;
  return status.type() == std::filesystem::file_type::not_found ? PathStatus::Missing : PathStatus::Exists;
}

bool FlushFileToDisk(const std::wstring& path) {
  const int file = open(std::filesystem::path(path).c_str(), O_WRONLY | O_CLOEXEC);
  if (file < 0) return false;
  const bool flushed = fsync(file) == 0;
  return close(file) == 0 && flushed;
}

bool ReplaceSettingsFile(const std::wstring& source, const std::wstring& target) {
  std::error_code error;
  std::filesystem::rename(std::filesystem::path(source), std::filesystem::path(target), error);
  return !error;
}

void DeleteFileQuietly(const std::wstring& path) {
  std::error_code ignored;
  std::filesystem::remove(std::filesystem::path(path), ignored);
}

}  // namespace kestul
