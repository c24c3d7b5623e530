// Settings on the real Windows file system: the known folder, sharing, replacement, wide names.
#include <windows.h>

#include <gtest/gtest.h>

#include <shlobj.h>

#include <thread>

#include "common/message_texts.h"
#include "common/unique_handle.h"
#include "settings/settings_files.h"
#include "settings/settings_store.h"
#include "support/files.h"

namespace kestul {
namespace {

using test::FileExists;
using test::HoldWithoutDeleteSharing;
using test::ReadFileBytes;
using test::TempFolder;

AppSettings Sample(std::uint32_t interval) {
  AppSettings s;
  s.interval_ms = interval;
  s.position_saved = true;
  s.x = -5;
  s.y = 7;
  s.monitor_layout = L"0,0,1920,1080;";
  return s;
}

TEST(SettingsPlatform, DefaultFolderIsUnderLocalAppData) {
  PWSTR path = nullptr;
  ASSERT_TRUE(SUCCEEDED(SHGetKnownFolderPath(FOLDERID_LocalAppData, 0, nullptr, &path)));
  const UniqueCoTaskString local(path);
  EXPECT_EQ(GetDefaultSettingsFolder(), std::wstring(local.get()) + L"\\KESTUL\\AutoClicker");
}

TEST(SettingsPlatform, FirstSaveCreatesTheFoldersAndLeavesNoTemporaryFile) {
  TempFolder root;
  const std::wstring folder = root.File(L"KESTUL\\AutoClicker");
  std::wstring error;
  ASSERT_TRUE(SaveSettings(folder, Sample(300), error)) << error;
  EXPECT_EQ(ReadFileBytes(folder + L"\\settings.ini"), FormatSettingsFile(Sample(300)));
  EXPECT_FALSE(FileExists(folder + L"\\settings.ini.tmp"));
  EXPECT_EQ(LoadSettings(folder).settings, Sample(300));
}

TEST(SettingsPlatform, AFileHeldForAMomentIsWaitedFor) {
  TempFolder root;
  std::wstring error;
  ASSERT_TRUE(SaveSettings(root.path(), Sample(111), error));
  UniqueFileHandle held = HoldWithoutDeleteSharing(root.File(L"settings.ini"));
  ASSERT_TRUE(held);
  std::thread release([&held] {
    Sleep(50);
    held.reset();
  });
  const bool saved = SaveSettings(root.path(), Sample(150), error);
  release.join();
  EXPECT_TRUE(saved) << error;
  EXPECT_EQ(LoadSettings(root.path()).settings, Sample(150));
}

// The data is flushed through a handle opened afresh once the stream has closed, the moment a
// scanner likes to look at a new file; a reader that does not share writing makes that open fail.
TEST(SettingsPlatform, TheFlushWaitsForAJustWrittenFileHeldForAMoment) {
  TempFolder root;
  const std::wstring path = root.File(L"settings.ini.tmp");
  ASSERT_TRUE(test::WriteFileBytes(path, "written"));
  UniqueFileHandle held(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, 0, nullptr));
  ASSERT_TRUE(held);
  std::thread release([&held] {
    Sleep(50);
    held.reset();
  });
  const bool flushed = FlushFileToDisk(path);
  release.join();
  EXPECT_TRUE(flushed);
}

TEST(SettingsPlatform, AHeldFileIsNotReplacedAndStaysByteForByte) {
  TempFolder root;
  std::wstring error;
  ASSERT_TRUE(SaveSettings(root.path(), Sample(111), error));
  const std::string old = ReadFileBytes(root.File(L"settings.ini"));
  {
    const UniqueFileHandle held = HoldWithoutDeleteSharing(root.File(L"settings.ini"));
    ASSERT_TRUE(held);
    EXPECT_FALSE(SaveSettings(root.path(), Sample(222), error));
    EXPECT_EQ(error, kSaveErrorReplace);
  }
  EXPECT_EQ(ReadFileBytes(root.File(L"settings.ini")), old);
  EXPECT_FALSE(FileExists(root.File(L"settings.ini.tmp")));
  // Loading shares reading and writing, so a file held that way still loads.
  const UniqueFileHandle reader(CreateFileW(root.File(L"settings.ini").c_str(), GENERIC_READ | GENERIC_WRITE,
                                            FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                                            nullptr));
  ASSERT_TRUE(reader);
  EXPECT_EQ(LoadSettings(root.path()).settings, Sample(111));
}

TEST(SettingsPlatform, JapaneseFolderNamesWork) {
  TempFolder root;
  const std::wstring folder = root.File(L"設定フォルダー\\クリック");
  std::wstring error;
  ASSERT_TRUE(SaveSettings(folder, Sample(500), error));
  EXPECT_TRUE(FileExists(folder + L"\\settings.ini"));
  EXPECT_EQ(LoadSettings(folder).settings, Sample(500));
  EXPECT_EQ(LoadSettings(folder + L"\\").settings, Sample(500)) << "a trailing backslash is joined as is";
}

}  // namespace
}  // namespace kestul
