// The few file-system calls that differ between Windows and the native test build.
#pragma once

#include <string>

namespace kestul {

enum class PathStatus { Missing, Exists, Unknown };

// Missing covers every "does not exist" answer, a missing folder on the way included.
PathStatus QueryPathStatus(const std::wstring& path);
// Puts the file's data on the disk itself, past every cache: a rename is journalled, the data it
// points to is not, so without this a power cut soon after a save could leave a file of zeros. A
// file another program holds for a moment is waited for briefly, as below.
bool FlushFileToDisk(const std::wstring& path);
// Replaces `target` with `source` in one step (the target is either old or new, never partial).
// A target another program holds for a moment is waited for briefly.
bool ReplaceSettingsFile(const std::wstring& source, const std::wstring& target);
void DeleteFileQuietly(const std::wstring& path);

}  // namespace kestul
