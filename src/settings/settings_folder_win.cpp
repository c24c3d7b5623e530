#include <windows.h>

#include <shlobj.h>

#include "common/unique_handle.h"
#include "settings/settings_store.h"

namespace kestul {

std::wstring GetDefaultSettingsFolder() {
  PWSTR path = nullptr;
  const HRESULT result = SHGetKnownFolderPath(FOLDERID_LocalAppData, KF_FLAG_CREATE, nullptr, &path);
  const UniqueCoTaskString owned(path);  // set even on failure, and freed so
  if (FAILED(result) || !owned) return {};
  const std::wstring folder = owned.get();
  if (folder.empty()) return {};
  return JoinSettingsPath(JoinSettingsPath(folder, L"KESTUL"), L"AutoClicker");
}

}  // namespace kestul
