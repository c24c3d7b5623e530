// A process killed at random moments while saving never leaves a settings file that is neither
// the old nor the new one.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <random>

#include "common/unique_handle.h"
#include "settings/settings_store.h"
#include "support/files.h"
#include "support/process.h"
#include "settings/save_loop_records.h"

namespace kestul {
namespace {

int KillCount() {
  const std::wstring value = test::EnvironmentValue(L"KESTUL_SAVE_KILLS");
  return !value.empty() ? std::max(1, _wtoi(value.c_str())) : 60;
}

TEST(SaveKill, SettingsFileIsAlwaysOneOfTheTwoRecords) {
  test::TempFolder folder;
  std::mt19937 random(20261207);
  const int kills = KillCount();
  const std::wstring saveLoop = test::BuiltFile(L"save_loop.exe");
  int sawOld = 0, sawNew = 0, leftTemporary = 0;
  bool saved = false;
  for (int i = 0; i < kills; ++i) {
    std::wstring commandLine = L"\"" + saveLoop + L"\" \"" + folder.path() + L"\"";
    PROCESS_INFORMATION started{};
    const DWORD error = test::LaunchProcess(commandLine, started);
    ASSERT_EQ(error, 0u) << "cannot start " << saveLoop;
    const UniqueKernelHandle process(started.hProcess);
    const UniqueKernelHandle thread(started.hThread);
    Sleep(30 + random() % 120);
    TerminateProcess(process.get(), 9);
    WaitForSingleObject(process.get(), 10000);
    DWORD code = 0;
    GetExitCodeProcess(process.get(), &code);
    ASSERT_EQ(code, 9u) << "the loop ended by itself: a save failed";

    leftTemporary += test::FileExists(folder.File(L"settings.ini.tmp"));
    // Only a kill before the very first save may find no file; after that it is always there.
    const bool exists = test::FileExists(folder.File(L"settings.ini"));
    ASSERT_TRUE(exists || !saved) << "kill " << i << ": settings.ini vanished";
    if (!exists) continue;
    saved = true;
    const SettingsLoadResult loaded = LoadSettings(folder.path());
    ASSERT_TRUE(loaded.warning.empty()) << "kill " << i;
    ASSERT_FALSE(loaded.protectSettingsFile) << "kill " << i;
    const bool isOld = loaded.settings == SaveLoopRecord(0);
    const bool isNew = loaded.settings == SaveLoopRecord(1);
    ASSERT_TRUE(isOld || isNew) << "kill " << i;
    sawOld += isOld;
    sawNew += isNew;
  }
  EXPECT_GT(sawOld + sawNew, kills / 2) << "most kills happened after a first save";
  // Kills inside a save leave a temporary file behind, which the next run reuses.
  std::printf("%d kills: %d found the first record, %d the second, %d left a temporary file\n", kills, sawOld,
              sawNew, leftTemporary);
}

}  // namespace
}  // namespace kestul
