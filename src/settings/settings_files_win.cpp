#include <windows.h>

#include "settings/settings_files.h"

namespace kestul {

PathStatus QueryPathStatus(const std::wstring& path) {
  if (GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES) return PathStatus::Exists;
  switch (GetLastError()) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_BAD_NETPATH:
    case ERROR_INVALID_NAME:
    case ERROR_DIRECTORY:
      return PathStatus::Missing;
    default:
      return PathStatus::Unknown;
  }
}

bool ReplaceSettingsFile(const std::wstring& source, const std::wstring& target) {
  return MoveFileExW(source.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
}

void DeleteFileQuietly(const std::wstring& path) {
  DeleteFileW(path.c_str());
}

}  // namespace kestul
