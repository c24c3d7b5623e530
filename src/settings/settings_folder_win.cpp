#include <windows.h>

#include <shlobj.h>

#include "settings/settings_store.h"

namespace kestul {

std::wstring GetDefaultSettingsFolder() {
  PWSTR path = nullptr;
  const HRESULT result = SHGetKnownFolderPath(FOLDERID_LocalAppData, KF_FLAG_CREATE, nullptr, &path);
  std::wstring folder = SUCCEEDED(result) && path != nullptr ? path : L"";
  CoTaskMemFree(path);
  if (folder.empty()) return {};
  return JoinSettingsPath(JoinSettingsPath(folder, L"KESTUL"), L"AutoClicker");
}

}  // namespace kestul
