#include <windows.h>

#include "common/unique_handle.h"
#include "settings/settings_files.h"

namespace kestul {

namespace {

PathStatus StatusFromError(DWORD error) {
  switch (error) {
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

}  // namespace

PathStatus QueryPathStatus(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return StatusFromError(GetLastError());
  if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) return PathStatus::Exists;
  // A link answers for itself above; whether it leads anywhere takes an open that follows it.
  // No access rights are asked for, so no other program's sharing mode can refuse it.
  const UniqueHandle<KernelHandleTraits> target(
      CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  return target ? PathStatus::Exists : StatusFromError(GetLastError());
}

bool ReplaceSettingsFile(const std::wstring& source, const std::wstring& target) {
  return MoveFileExW(source.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) !=
         FALSE;
}

void DeleteFileQuietly(const std::wstring& path) {
  DeleteFileW(path.c_str());
}

}  // namespace kestul
