// A system DLL that is not a KnownDLL, loaded from System32 and nowhere else (or from where the
// manifest redirects it, as comctl32 version 6). Linked by import, Windows would look for it in the
// exe's own folder first (often Downloads), where a hostile page can drop a uxtheme.dll that
// would then run inside this process.
#pragma once

#include <windows.h>

#include <type_traits>

#include "common/unique_handle.h"

namespace kestul {

class SystemLibrary {
 public:
  // The file name alone ("uxtheme.dll"); a missing library leaves every Find returning null.
  explicit SystemLibrary(const wchar_t* fileName) noexcept
      : module_(LoadLibraryExW(fileName, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32)) {}

  // The export `name` typed as its declaration (`Find<decltype(SetWindowTheme)>("SetWindowTheme")`),
  // or null. It may be called only while this object lives: the module is freed with it.
  template <typename Function>
  Function* Find(const char* name) const noexcept {
    static_assert(std::is_function_v<Function>);
    if (!module_) return nullptr;  // GetProcAddress(null) would search the exe itself
    // Through void (*)(), the type GCC's -Wcast-function-type exempts and MSVC converts silently.
    return reinterpret_cast<Function*>(reinterpret_cast<void (*)()>(GetProcAddress(module_.get(), name)));
  }

 private:
  UniqueModule module_;
};

}  // namespace kestul
