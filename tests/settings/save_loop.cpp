// Saves two records alternately into a folder until killed; the other half of the kill test.
#include <windows.h>

#include "settings/settings_store.h"
#include "settings/save_loop_records.h"

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) return 2;
  for (unsigned i = 0;; ++i) {
    std::wstring error;
    if (!kestul::SaveSettings(argv[1], kestul::SaveLoopRecord(i % 2), error)) return 1;
  }
}
