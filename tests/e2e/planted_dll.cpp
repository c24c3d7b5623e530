// Stands in for a system DLL that a hostile download drops beside the exe: copied as uxtheme.dll
// and wtsapi32.dll, it leaves "<its file name>.loaded" beside itself when loaded. Exports nothing.
#include <windows.h>

#include <cwchar>
#include <iterator>

#include "common/unique_handle.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID) {
  wchar_t path[MAX_PATH + 8] = {};
  const DWORD length = reason == DLL_PROCESS_ATTACH ? GetModuleFileNameW(module, path, MAX_PATH) : 0;
  if (length > 0 && length < MAX_PATH && wcscat_s(path, std::size(path), L".loaded") == 0) {
    const kestul::UniqueFileHandle marker(
        CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  }
  return TRUE;
}
