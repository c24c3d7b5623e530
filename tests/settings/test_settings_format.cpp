// The settings text: the integer rule, the trigger codes and the exact bytes of the writer.
#include <gtest/gtest.h>

#include <limits>

#include "settings/app_settings.h"
#include "settings/save_loop_records.h"

namespace kestul {
namespace {

TEST(WholeInt64, AcceptsOptionalMinusDigitsAndLeadingZeros) {
  std::int64_t v = 0;
  EXPECT_TRUE(ParseWholeInt64("0100", v));
  EXPECT_EQ(v, 100);
  EXPECT_TRUE(ParseWholeInt64("-0", v));
  EXPECT_EQ(v, 0);
  EXPECT_TRUE(ParseWholeInt64("9223372036854775807", v));
  EXPECT_EQ(v, std::numeric_limits<std::int64_t>::max());
  EXPECT_TRUE(ParseWholeInt64("-9223372036854775808", v));
  EXPECT_EQ(v, std::numeric_limits<std::int64_t>::min());
  EXPECT_TRUE(ParseWholeInt64("-000000000000000000000000042", v));
  EXPECT_EQ(v, -42);
}

TEST(WholeInt64, RefusesEverythingElseAndLeavesTheValue) {
  for (const char* text : {"", "-", "+1", " 1", "1 ", "1x", "0x10", "--1", "1-", "9223372036854775808",
                           "-9223372036854775809", "99999999999999999999", "1.0", "1e3"}) {
    std::int64_t v = 77;
    EXPECT_FALSE(ParseWholeInt64(text, v)) << text;
    EXPECT_EQ(v, 77) << text;
  }
  std::int64_t v = 0;
  EXPECT_FALSE(ParseWholeInt64(std::string_view("1\0", 2), v)) << "an embedded NUL is a stray byte";
}

TEST(ToggleCodes, EveryValidCodeRoundTripsThroughItsText) {
  for (const ToggleBinding code : kToggleBindings) {
    ToggleBinding parsed = 0;
    ASSERT_TRUE(ParseToggleBinding(FormatToggleBinding(code), parsed)) << code;
    EXPECT_EQ(parsed, code);
  }
  EXPECT_EQ(FormatToggleBinding(10), "f10");
  EXPECT_EQ(FormatToggleBinding(100), "mouse_x1");
  EXPECT_EQ(FormatToggleBinding(101), "mouse_x2");
}

TEST(ToggleCodes, ParsingFollowsTheWholeIntegerRule) {
  ToggleBinding code = 0;
  EXPECT_TRUE(ParseToggleBinding("f08", code));
  EXPECT_EQ(code, 8);
  EXPECT_TRUE(ParseToggleBinding("f011", code));
  EXPECT_EQ(code, 11);
  for (const char* text : {"f6", "f9", "f0", "f12", "f-1", "f+1", "F8", "f", "f8 ", "", "Mouse_x1",
                           "mouse_x3", "mouse_x1 ", "f-0", "fmouse_x1", "f100", "f99999999999999999999"}) {
    code = 42;
    EXPECT_FALSE(ParseToggleBinding(text, code)) << text;
    EXPECT_EQ(code, 42) << text;
  }
}

TEST(ToggleCodes, KeysAndNamesForTheHotkeyAndTheSelector) {
  EXPECT_FALSE(IsMouseBinding(99));
  EXPECT_TRUE(IsMouseBinding(100));
  EXPECT_TRUE(IsMouseBinding(101));
  EXPECT_FALSE(IsMouseBinding(102));
  EXPECT_EQ(ToggleBindingVirtualKey(1), 0x70u);
  EXPECT_EQ(ToggleBindingVirtualKey(11), 0x7Au);
  EXPECT_EQ(ToggleBindingVirtualKey(100), 0u);
  EXPECT_EQ(ToggleBindingVirtualKey(101), 0u);
  EXPECT_EQ(ToggleBindingDisplayName(8), L"F8");
  EXPECT_EQ(ToggleBindingDisplayName(11), L"F11");
  EXPECT_EQ(ToggleBindingDisplayName(100), L"マウス横ボタン1");
  EXPECT_EQ(ToggleBindingDisplayName(101), L"マウス横ボタン2");
}

TEST(SettingsBytes, DefaultRecord) {
  EXPECT_EQ(FormatSettingsFile(AppSettings{}),
            "schema_version=1\r\nmode=current\r\nbutton=left\r\ninterval_ms=100\r\nposition_saved=0\r\n"
            "x=0\r\ny=0\r\nmonitor_layout=\r\ntoggle_binding=f8\r\n");
}

TEST(SettingsBytes, SavedPositionOnTwoMonitorsWithSideButton) {
  EXPECT_EQ(
      FormatSettingsFile(SaveLoopRecord(1)),
      "schema_version=1\r\nmode=saved\r\nbutton=right\r\ninterval_ms=59999\r\nposition_saved=1\r\n"
      "x=-1280\r\ny=1023\r\nmonitor_layout=-1280,0,0,1024;0,0,1920,1080;\r\ntoggle_binding=mouse_x2\r\n");
}

TEST(SettingsBytes, LayoutWithAnyNonPrintableUnitIsWrittenEmpty) {
  EXPECT_EQ(ToPrintableAscii(L"0,0,1,1;"), "0,0,1,1;");
  EXPECT_EQ(ToPrintableAscii(L"0,0,1,1;\x7F"), "");
  EXPECT_EQ(ToPrintableAscii(L"\x1F"), "");
  EXPECT_EQ(ToPrintableAscii(L"画面"), "");
  EXPECT_EQ(ToPrintableAscii(L" ~"), " ~");
  AppSettings s;
  s.monitor_layout = L"0,0,10,10;\t";
  EXPECT_NE(FormatSettingsFile(s).find("\r\nmonitor_layout=\r\n"), std::string::npos);
}

}  // namespace
}  // namespace kestul
