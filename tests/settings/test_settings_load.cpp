// Loading settings.ini: every refusal gives the defaults, the protection flag and one warning.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <limits>

#include "common/message_texts.h"
#include "settings/settings_store.h"

namespace kestul {
namespace {

const std::string kValid =
    "schema_version=1\nmode=saved\nbutton=right\ninterval_ms=250\nposition_saved=1\nx=-640\ny=360\n"
    "monitor_layout=-1920,0,0,1080;0,0,2560,1440;\ntoggle_binding=mouse_x2\n";

// The valid file with one line replaced (or removed when `replacement` is empty).
std::string With(const std::string& key, const std::string& replacement) {
  std::string out;
  std::size_t start = 0;
  while (start < kValid.size()) {
    const std::size_t end = kValid.find('\n', start);
    const std::string line = kValid.substr(start, end - start);
    if (line.rfind(key + "=", 0) == 0) {
      if (!replacement.empty()) out += replacement + "\n";
    } else {
      out += line + "\n";
    }
    start = end + 1;
  }
  return out;
}

void ExpectRefused(const std::string& text, const std::wstring& warning, const char* note = "") {
  SCOPED_TRACE(note);
  const SettingsLoadResult r = ParseSettingsText(text);
  EXPECT_EQ(r.warning, warning) << text;
  EXPECT_TRUE(r.protectSettingsFile) << text;
  EXPECT_EQ(r.settings, AppSettings{}) << "nothing read before a refusal survives";
}

AppSettings ExpectAccepted(const std::string& text) {
  const SettingsLoadResult r = ParseSettingsText(text);
  EXPECT_TRUE(r.warning.empty()) << text;
  EXPECT_FALSE(r.protectSettingsFile) << text;
  return r.settings;
}

TEST(LoadRules, AValidFileGivesEveryField) {
  const AppSettings s = ExpectAccepted(kValid);
  EXPECT_EQ(s.mode, ClickMode::Saved);
  EXPECT_EQ(s.button, ClickButton::Right);
  EXPECT_EQ(s.interval_ms, 250u);
  EXPECT_TRUE(s.position_saved);
  EXPECT_EQ(s.x, -640);
  EXPECT_EQ(s.y, 360);
  EXPECT_EQ(s.monitor_layout, L"-1920,0,0,1080;0,0,2560,1440;");
  EXPECT_EQ(s.toggle_binding, 101);
}

TEST(LoadRules, SyntaxLineEndsCommentsBlanksAndExtraKeys) {
  const AppSettings reference = ExpectAccepted(kValid);
  std::string crlf;
  for (const char ch : kValid) crlf += ch == '\n' ? std::string("\r\n") : std::string(1, ch);
  EXPECT_EQ(ExpectAccepted(crlf), reference);
  EXPECT_EQ(ExpectAccepted(kValid.substr(0, kValid.size() - 1)), reference) << "no line end on the last line";
  EXPECT_EQ(ExpectAccepted("; comment\n# another\n\n\r\n" + kValid + "extra=1\nMode=x\n ;x=1\n"), reference);

  ExpectRefused("just text\n" + kValid, kWarningSyntax);
  ExpectRefused("=value\n" + kValid, kWarningSyntax);
  ExpectRefused(" ;comment after a blank\n" + kValid, kWarningSyntax);
  ExpectRefused(kValid + "mode=saved\n", kWarningSyntax);  // same key twice, even with the same value
  ExpectRefused(With("schema_version", "schema_version=2") + "broken\n", kWarningSyntax,
                "syntax wins over version");
}

TEST(LoadRules, Version) {
  ExpectRefused("", kWarningVersion);
  ExpectRefused("# only a comment\n\n", kWarningVersion);
  ExpectRefused(With("schema_version", ""), kWarningVersion);
  ExpectRefused(With("schema_version", "schema_version=one"), kWarningVersion);
  ExpectRefused(With("schema_version", "schema_version= 1"), kWarningVersion);
  ExpectRefused(With("schema_version", "schema_version=2"), kWarningUnknownVersion);
  ExpectRefused(With("schema_version", "schema_version=-1"), kWarningUnknownVersion);
  ExpectRefused("schema_version=2\n", kWarningUnknownVersion, "version wins over missing keys");
  EXPECT_EQ(ExpectAccepted(With("schema_version", "schema_version=01")), ExpectAccepted(kValid));
  ExpectRefused("\xEF\xBB\xBF" + kValid, kWarningVersion, "a byte-order mark belongs to the first key");
}

TEST(LoadRules, RequiredKeysInOrder) {
  for (const char* key : {"mode", "button", "interval_ms", "position_saved", "x", "y", "monitor_layout"}) {
    ExpectRefused(With(key, ""), kWarningMissingKey);
  }
  ExpectRefused(With("mode", "mode = saved"), kWarningMissingKey, "blanks belong to the key");
  ExpectRefused(With("mode", "Mode=saved"), kWarningMissingKey);
  // A missing key wins over a bad value elsewhere.
  std::string badModeNoY = With("mode", "mode=sideways");
  badModeNoY.replace(badModeNoY.find("\ny=360"), 6, "\nz=360");
  ExpectRefused(badModeNoY, kWarningMissingKey);
}

TEST(LoadRules, ModeButtonAndNumbers) {
  ExpectRefused(With("mode", "mode=Saved"), kWarningMode);
  ExpectRefused(With("mode", "mode=saved "), kWarningMode);
  ExpectRefused(With("mode", "mode=saved\r\r"), kWarningMode, "only one CR is removed");
  ExpectRefused(With("button", "button=middle"), kWarningButton);
  ExpectRefused(With("mode", "mode=x"), kWarningMode, "mode is checked before button");
  for (const char* line :
       {"interval_ms=19", "interval_ms=60001", "interval_ms=+100", "interval_ms= 100", "interval_ms=100ms",
        "interval_ms=", "position_saved=2", "position_saved=-1", "x=2147483648", "x=-2147483649", "y=1e3"}) {
    const std::string key(line, std::string(line).find('='));
    ExpectRefused(With(key, line), kWarningNumber);
  }
  EXPECT_EQ(ExpectAccepted(With("interval_ms", "interval_ms=20")).interval_ms, 20u);
  EXPECT_EQ(ExpectAccepted(With("interval_ms", "interval_ms=60000")).interval_ms, 60000u);
  EXPECT_EQ(ExpectAccepted(With("interval_ms", "interval_ms=0100")).interval_ms, 100u);
  EXPECT_EQ(ExpectAccepted(With("x", "x=-2147483648")).x, std::numeric_limits<std::int32_t>::min());
  EXPECT_EQ(ExpectAccepted(With("y", "y=2147483647")).y, std::numeric_limits<std::int32_t>::max());
  EXPECT_FALSE(ExpectAccepted(With("position_saved", "position_saved=-0")).position_saved);
}

TEST(LoadRules, LayoutAndTrigger) {
  ExpectRefused(With("monitor_layout", "monitor_layout="), kWarningLayout);
  const std::string unsavedText = With("position_saved", "position_saved=0");
  EXPECT_EQ(ExpectAccepted(unsavedText).monitor_layout, L"-1920,0,0,1080;0,0,2560,1440;")
      << "kept while no position is saved";
  std::string emptyLayout = unsavedText;
  const std::string layoutLine = "monitor_layout=-1920,0,0,1080;0,0,2560,1440;";
  emptyLayout.replace(emptyLayout.find(layoutLine), layoutLine.size(), "monitor_layout=");
  EXPECT_TRUE(ExpectAccepted(emptyLayout).monitor_layout.empty());
  // Every byte becomes one code unit, unchecked.
  EXPECT_EQ(ExpectAccepted(With("monitor_layout", "monitor_layout=\xE9=\x01")).monitor_layout,
            std::wstring(L"\x00E9=\x0001"));

  EXPECT_EQ(ExpectAccepted(With("toggle_binding", "")).toggle_binding, 8) << "absent means F8";
  for (const char* line :
       {"toggle_binding=", "toggle_binding=F8", "toggle_binding=f6", "toggle_binding=f9"}) {
    ExpectRefused(With("toggle_binding", line), kWarningBinding);
  }
  ExpectRefused(With("y", "y=z"), kWarningNumber, "numbers are checked before the trigger");
}

TEST(LoadRules, FirstFaultInRuleOrderWins) {
  // One fault per rule; each step below mends the fault that was reported, revealing the next.
  std::string text =
      "schema_version=x\nmode=sideways\nbutton=middle\ninterval_ms=5\nposition_saved=1\nx=0\n"
      "monitor_layout=\ntoggle_binding=f6\nno equals sign\n";
  const auto mend = [&text](const std::string& from, const std::string& to) {
    const std::size_t at = text.find(from);
    ASSERT_NE(at, std::string::npos) << from;
    text.replace(at, from.size(), to);
  };
  ExpectRefused(text, kWarningSyntax);
  mend("no equals sign\n", "");
  ExpectRefused(text, kWarningVersion);
  mend("schema_version=x", "schema_version=3");
  ExpectRefused(text, kWarningUnknownVersion);
  mend("schema_version=3", "schema_version=1");
  ExpectRefused(text, kWarningMissingKey);
  mend("x=0\n", "x=0\ny=0\n");
  ExpectRefused(text, kWarningMode);
  mend("mode=sideways", "mode=saved");
  ExpectRefused(text, kWarningButton);
  mend("button=middle", "button=right");
  ExpectRefused(text, kWarningNumber);
  mend("interval_ms=5", "interval_ms=50");
  ExpectRefused(text, kWarningLayout);
  mend("monitor_layout=", "monitor_layout=0,0,800,600;");
  ExpectRefused(text, kWarningBinding);
  mend("toggle_binding=f6", "toggle_binding=f7");
  EXPECT_EQ(ExpectAccepted(text).toggle_binding, 7);
}

class SettingsFolderFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = std::filesystem::temp_directory_path() /
            ("kestul-settings-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
             ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(root_);
    std::filesystem::create_directories(root_);
  }
  void TearDown() override { std::filesystem::remove_all(root_); }
  // Folders handed to the program end in '/', so that its backslash join adds nothing here.
  std::wstring Folder(const std::string& sub = "") const { return (root_ / sub).wstring() + L"/"; }
  void Write(const std::string& bytes) const {
    std::ofstream(root_ / "settings.ini", std::ios::binary) << bytes;
  }
  std::string Read(const std::string& name = "settings.ini") const {
    std::ifstream in(root_ / name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
  }
  std::filesystem::path root_;
};

TEST_F(SettingsFolderFixture, MissingFileOrFolderGivesDefaultsSilentlyAndCreatesNothing) {
  for (const std::wstring& folder : {Folder(), Folder("not/there")}) {
    const SettingsLoadResult r = LoadSettings(folder);
    EXPECT_EQ(r.settings, AppSettings{});
    EXPECT_FALSE(r.protectSettingsFile);
    EXPECT_TRUE(r.warning.empty());
  }
  EXPECT_TRUE(std::filesystem::is_empty(root_));
}

TEST_F(SettingsFolderFixture, AFolderNamedSettingsIniIsUnreadable) {
  std::filesystem::create_directory(root_ / "settings.ini");
  const SettingsLoadResult r = LoadSettings(Folder());
  EXPECT_EQ(r.warning, kWarningUnreadable);
  EXPECT_TRUE(r.protectSettingsFile);
}

TEST_F(SettingsFolderFixture, HugeFilesAreRefusedWithoutReadingThemWhole) {
  {
    std::ofstream out(root_ / "settings.ini", std::ios::binary);
    out << kValid;
    const std::string comment = "; " + std::string(98, 'c') + "\n";
    for (int i = 0; i < 500000; ++i) out << comment;  // 50 MB of comment lines
  }
  const SettingsLoadResult r = LoadSettings(Folder());
  EXPECT_EQ(r.warning, kWarningSyntax);
  EXPECT_TRUE(r.protectSettingsFile);

  {
    std::ofstream out(root_ / "settings.ini", std::ios::binary);
    out << kValid;
    for (int i = 0; i < 1000000; ++i) out << "k" << i << "=v\n";  // a million distinct keys
  }
  EXPECT_EQ(LoadSettings(Folder()).warning, kWarningSyntax);
}

TEST_F(SettingsFolderFixture, AFileUpToTheBoundIsReadWholeAndOneByteMoreIsRefused) {
  // Filled up to the bound with distinct short keys: the most lines a readable file can hold.
  std::string text = kValid;
  for (int i = 0; text.size() + 16 <= kMaxSettingsFileBytes; ++i) text += "k" + std::to_string(i) + "=\n";
  text += "#";
  text.append(kMaxSettingsFileBytes - text.size(), '#');
  ASSERT_EQ(text.size(), kMaxSettingsFileBytes);
  Write(text);
  const SettingsLoadResult read = LoadSettings(Folder());
  EXPECT_TRUE(read.warning.empty());
  EXPECT_EQ(read.settings, ParseSettingsText(kValid).settings);

  Write(text + "#");
  EXPECT_EQ(LoadSettings(Folder()).warning, kWarningSyntax);
}

TEST_F(SettingsFolderFixture, FilesWithoutLineEndsOrWithBinaryBytesLoadOrRefuseCleanly) {
  Write("schema_version=1");
  EXPECT_EQ(LoadSettings(Folder()).warning, kWarningMissingKey);
  std::string oneLine(200000, '\0');  // one long line of NUL bytes, no '=' anywhere
  Write(oneLine);
  EXPECT_EQ(LoadSettings(Folder()).warning, kWarningSyntax);
  oneLine[100] = '=';  // now a single key of NUL bytes
  Write(oneLine);
  EXPECT_EQ(LoadSettings(Folder()).warning, kWarningVersion);
  Write(std::string(kValid).insert(kValid.find("x=-640") + 2, 1, '\0'));
  EXPECT_EQ(LoadSettings(Folder()).warning, kWarningNumber);
}

TEST_F(SettingsFolderFixture, SaveThenLoadGivesTheSameRecord) {
  std::vector<AppSettings> records(1);
  AppSettings extreme;
  extreme.mode = ClickMode::Saved;
  extreme.button = ClickButton::Right;
  extreme.interval_ms = 60000;
  extreme.position_saved = true;
  extreme.x = std::numeric_limits<std::int32_t>::min();
  extreme.y = std::numeric_limits<std::int32_t>::max();
  extreme.monitor_layout = L"-2147483648,-5,0,0;0,0,2147483647,2147483647;";
  records.push_back(extreme);
  AppSettings kept;  // layout kept while no position is saved
  kept.interval_ms = 20;
  kept.x = -1280;
  kept.y = -200;
  kept.monitor_layout = L"0,0,1920,1080;";
  records.push_back(kept);
  for (const ToggleBinding code : kToggleBindings) {
    AppSettings s;
    s.toggle_binding = code;
    records.push_back(s);
  }
  for (const AppSettings& s : records) {
    std::wstring error;
    ASSERT_TRUE(SaveSettings(Folder(), s, error));
    EXPECT_TRUE(error.empty());
    EXPECT_FALSE(std::filesystem::exists(root_ / "settings.ini.tmp"));
    EXPECT_EQ(Read(), FormatSettingsFile(s));
    const SettingsLoadResult r = LoadSettings(Folder());
    EXPECT_TRUE(r.warning.empty());
    EXPECT_EQ(r.settings, s);
  }
}

TEST_F(SettingsFolderFixture, SaveCreatesMissingFoldersAndReusesALeftoverTemporaryFile) {
  std::wstring error;
  ASSERT_TRUE(SaveSettings(Folder("a/b/c"), AppSettings{}, error));
  EXPECT_EQ(Read("a/b/c/settings.ini"), FormatSettingsFile(AppSettings{}));

  std::ofstream(root_ / "settings.ini.tmp", std::ios::binary) << std::string(5000, 'x');
  EXPECT_EQ(LoadSettings(Folder()).warning, L"") << "the loader never reads the temporary file";
  AppSettings s;
  s.interval_ms = 777;
  ASSERT_TRUE(SaveSettings(Folder(), s, error));
  EXPECT_EQ(Read(), FormatSettingsFile(s));
  EXPECT_FALSE(std::filesystem::exists(root_ / "settings.ini.tmp"));
}

TEST_F(SettingsFolderFixture, RefusedSavesLeaveTheOldFileAndSayWhy) {
  Write("old bytes");
  std::wstring error = L"previous text";
  EXPECT_FALSE(SaveSettings(L"", AppSettings{}, error));
  EXPECT_EQ(error, kSaveErrorFolder);

  std::ofstream(root_ / "plain", std::ios::binary) << "a file";
  EXPECT_FALSE(SaveSettings(Folder("plain/below"), AppSettings{}, error));
  EXPECT_EQ(error, kSaveErrorFolder);

  AppSettings noLayout;
  noLayout.position_saved = true;
  EXPECT_FALSE(SaveSettings(Folder(), noLayout, error));
  EXPECT_EQ(error, kSaveErrorLayout);
  noLayout.monitor_layout = L"0,0,1920,1080;\x3000";
  EXPECT_FALSE(SaveSettings(Folder(), noLayout, error));
  EXPECT_EQ(error, kSaveErrorLayout);

  std::filesystem::create_directory(root_ / "settings.ini.tmp");
  EXPECT_FALSE(SaveSettings(Folder(), AppSettings{}, error));
  EXPECT_EQ(error, kSaveErrorTemporaryCreate);
  EXPECT_EQ(Read(), "old bytes");
}

TEST(JoinSettingsPath, BackslashOnlyWhereNeeded) {
  EXPECT_EQ(JoinSettingsPath(L"", L"settings.ini"), L"settings.ini");
  EXPECT_EQ(JoinSettingsPath(L"C:", L"settings.ini"), L"C:settings.ini");
  EXPECT_EQ(JoinSettingsPath(L"C:\\", L"settings.ini"), L"C:\\settings.ini");
  EXPECT_EQ(JoinSettingsPath(L"D:/x/", L"settings.ini"), L"D:/x/settings.ini");
  EXPECT_EQ(JoinSettingsPath(L"D:\\x", L"settings.ini"), L"D:\\x\\settings.ini");
  EXPECT_EQ(JoinSettingsPath(L"1:", L"settings.ini"), L"1:\\settings.ini") << "not a drive letter";
  EXPECT_EQ(JoinSettingsPath(L"\\\\server\\share", L"a"), L"\\\\server\\share\\a");
}

}  // namespace
}  // namespace kestul
