#include "support/app_process.h"

namespace kestul::test {

std::wstring AppExePath() {
  wchar_t self[MAX_PATH];
  const DWORD length = GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring path(self, length);
  const auto slash = path.find_last_of(L"\\/");
  return path.substr(0, slash + 1) + L"KestulAutoClicker.exe";
}

}  // namespace kestul::test
