// A process killed at random moments while saving never leaves a settings file that is neither
// the old nor the new one.
#include <windows.h>

#include <gtest/gtest.h>

#include <cwchar>
#include <random>

#include "settings/settings_store.h"
#include "support/app_process.h"
#include "settings/save_loop_records.h"

namespace kestul {
namespace {

int KillCount() {
  const wchar_t* value = _wgetenv(L"KESTUL_SAVE_KILLS");
  return value != nullptr ? std::max(1, _wtoi(value)) : 60;
}

std::wstring SaveLoopPath() {
  std::wstring exe = test::AppExePath();
  return exe.substr(0, exe.find_last_of(L'\\') + 1) + L"save_loop.exe";
}

TEST(SaveKill, SettingsFileIsAlwaysOneOfTheTwoRecords) {
  test::TempFolder folder;
  std::mt19937 random(20261207);
  const int kills = KillCount();
  int sawOld = 0, sawNew = 0;
  for (int i = 0; i < kills; ++i) {
    std::wstring commandLine = L"\"" + SaveLoopPath() + L"\" \"" + folder.path() + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    ASSERT_TRUE(CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                               &process));
    Sleep(30 + random() % 120);
    TerminateProcess(process.hProcess, 9);
    WaitForSingleObject(process.hProcess, 10000);
    DWORD code = 0;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    ASSERT_EQ(code, 9u) << "the loop ended by itself: a save failed";

    if (!test::FileExists(folder.File(L"settings.ini"))) continue;  // killed before the first save
    const SettingsLoadResult loaded = LoadSettings(folder.path());
    ASSERT_TRUE(loaded.warning.empty()) << "kill " << i;
    const bool isOld = loaded.settings == SaveLoopRecord(0);
    const bool isNew = loaded.settings == SaveLoopRecord(1);
    ASSERT_TRUE(isOld || isNew) << "kill " << i;
    sawOld += isOld;
    sawNew += isNew;
  }
  EXPECT_GT(sawOld + sawNew, kills / 2) << "most kills happened after a first save";
}

}  // namespace
}  // namespace kestul
