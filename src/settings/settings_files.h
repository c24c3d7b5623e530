// The few file-system calls that differ between Windows and the native test build.
#pragma once

#include <string>

namespace kestul {

enum class PathStatus { Missing, Exists, Unknown };

// Missing covers every "does not exist" answer, a missing folder on the way included.
PathStatus QueryPathStatus(const std::wstring& path);
// Replaces `target` with `source` in one step (the target is either old or new, never partial).
bool ReplaceSettingsFile(const std::wstring& source, const std::wstring& target);
void DeleteFileQuietly(const std::wstring& path);

}  // namespace kestul
