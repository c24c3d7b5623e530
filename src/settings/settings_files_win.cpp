#include <windows.h>

#include <algorithm>

#include "common/message_wait.h"
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

// Antivirus, indexing and backup programs open a file for a moment, just after it was written,
// without sharing it fully; opening or replacing it then fails with one of these two errors.
// Anything else, or a hold that lasts, is a real failure. `attempt` sets the last error when it
// fails.
template <typename Attempt>
bool RetryWhileHeldBriefly(const Attempt& attempt) {
  constexpr ULONGLONG kPatienceMs = 200;
  constexpr DWORD kRetryPauseMs = 20;
  const ULONGLONG deadline = GetTickCount64() + kPatienceMs;
  for (;;) {
    if (attempt()) return true;
    const DWORD error = GetLastError();
    const ULONGLONG now = GetTickCount64();
    if ((error != ERROR_SHARING_VIOLATION && error != ERROR_ACCESS_DENIED) || now >= deadline) return false;
    // Like every wait of the interface thread, this one keeps serving the mouse hook.
    WaitServingSentMessages(nullptr, static_cast<DWORD>(std::min<ULONGLONG>(kRetryPauseMs, deadline - now)));
  }
}

}  // namespace

PathStatus QueryPathStatus(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return StatusFromError(GetLastError());
  if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) return PathStatus::Exists;
  // A link answers for itself above; whether it leads anywhere takes an open that follows it.
  // No access rights are asked for, so no other program's sharing mode can refuse it.
  const UniqueFileHandle target(CreateFileW(path.c_str(), 0,
                                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                            OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  return target ? PathStatus::Exists : StatusFromError(GetLastError());
}

bool FlushFileToDisk(const std::wstring& path) {
  // Every handle's data goes: the one the stream wrote through is closed by now.
  UniqueFileHandle file;
  const bool opened = RetryWhileHeldBriefly([&] {
    file.reset(CreateFileW(path.c_str(), GENERIC_WRITE,
                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr));
    return static_cast<bool>(file);
  });
  return opened && FlushFileBuffers(file.get()) != FALSE;
}

bool ReplaceSettingsFile(const std::wstring& source, const std::wstring& target) {
  return RetryWhileHeldBriefly([&] {
    return MoveFileExW(source.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) !=
           FALSE;
  });
}

void DeleteFileQuietly(const std::wstring& path) {
  DeleteFileW(path.c_str());
}

}  // namespace kestul
