#include <gtest/gtest.h>

#include "app/run_rules.h"
#include "common/message_texts.h"

namespace kestul {
namespace {

TEST(IntervalText, AcceptsPlainDigitsWithinBoundsIncludingLeadingZeros) {
  std::uint32_t value = 0;
  EXPECT_TRUE(ParseIntervalText(L"0100", value));
  EXPECT_EQ(value, 100u);
  EXPECT_TRUE(ParseIntervalText(L"20", value));
  EXPECT_EQ(value, 20u);
  EXPECT_TRUE(ParseIntervalText(L"60000", value));
  EXPECT_EQ(value, 60000u);
  EXPECT_TRUE(ParseIntervalText(L"0000000000000000000000000000020", value));
  EXPECT_EQ(value, 20u);
}

TEST(IntervalText, RefusesOutOfRangeSignsBlanksAndNonAsciiDigits) {
  for (const wchar_t* text :
       {L"", L"19", L"0", L"60001", L"99999", L"+100", L"-100", L" 100", L"100 ", L"1,000", L"１００", L"10a",
        L"18446744073709551615", L"18446744073709551616", L"99999999999999999999999999999"}) {
    std::uint32_t value = 1234;
    EXPECT_FALSE(ParseIntervalText(text, value)) << static_cast<int>(wcslen(text));
    EXPECT_EQ(value, 1234u) << "the value is written only on success";
  }
}

TEST(IntervalText, OverflowNeverWrapsIntoTheValidRange) {
  // 2^64 + 100 would wrap to 100 with unchecked arithmetic.
  std::uint32_t value = 0;
  EXPECT_FALSE(ParseIntervalText(L"18446744073709551716", value));
}

TEST(RunDisplay, IdleAndFaultedShowStartAndFollowTheFlags) {
  for (const RunState state : {RunState::Idle, RunState::Faulted}) {
    const RunDisplay ready = ComputeRunDisplay(state, true, true);
    EXPECT_TRUE(ready.inputsEnabled);
    EXPECT_TRUE(ready.startStopEnabled);
    EXPECT_STREQ(ready.startStopCaption, L"開始(&A)");
    EXPECT_TRUE(ready.settingsMenuEnabled);
    EXPECT_FALSE(ComputeRunDisplay(state, false, true).startStopEnabled);
    EXPECT_FALSE(ComputeRunDisplay(state, true, false).startStopEnabled);
  }
}

TEST(RunDisplay, ActiveStatesShowStopAndKeepItEnabledEvenWithoutHotkeys) {
  for (const RunState state : {RunState::Starting, RunState::Running, RunState::Stopping}) {
    const RunDisplay display = ComputeRunDisplay(state, false, false);
    EXPECT_FALSE(display.inputsEnabled);
    EXPECT_TRUE(display.startStopEnabled);
    EXPECT_STREQ(display.startStopCaption, L"停止(&T)");
    EXPECT_FALSE(display.settingsMenuEnabled);
  }
}

TEST(StatusAction, OnlyTheCurrentRunCountsAndStoppedWhileIdleIsNothing) {
  EXPECT_EQ(DecideStatusAction(RunState::Running, 5, 4, 2), StatusAction::Ignore);
  EXPECT_EQ(DecideStatusAction(RunState::Running, 5, 4, 3), StatusAction::Ignore);
  EXPECT_EQ(DecideStatusAction(RunState::Starting, 5, 4, 1), StatusAction::Ignore);
  // All 64 bits are compared.
  EXPECT_EQ(DecideStatusAction(RunState::Running, 0x100000001ULL, 1, 2), StatusAction::Ignore);

  EXPECT_EQ(DecideStatusAction(RunState::Idle, 5, 5, 1), StatusAction::SetRunning);
  EXPECT_EQ(DecideStatusAction(RunState::Idle, 5, 5, 3), StatusAction::StopAndFault);
  EXPECT_EQ(DecideStatusAction(RunState::Idle, 5, 5, 2), StatusAction::Ignore);
  EXPECT_EQ(DecideStatusAction(RunState::Faulted, 5, 5, 2), StatusAction::StopAndIdle);
  EXPECT_EQ(DecideStatusAction(RunState::Running, 5, 5, 2), StatusAction::StopAndIdle);
  EXPECT_EQ(DecideStatusAction(RunState::Running, 5, 5, 99), StatusAction::StopAndIdle);
}

TEST(SettingsFolderArguments, OnlyTheExactOptionWithAFollowingValueCounts) {
  const std::wstring def = L"C:\\default";
  EXPECT_EQ(SettingsFolderFromArguments({L"app.exe"}, def), def);
  EXPECT_EQ(SettingsFolderFromArguments({L"app.exe", L"--settings-dir", L"D:\\a"}, def), L"D:\\a");
  EXPECT_EQ(SettingsFolderFromArguments({L"app.exe", L"--settings-dir"}, def), def);
  EXPECT_EQ(SettingsFolderFromArguments({L"app.exe", L"--settings-dir=D:\\a"}, def), def);
  EXPECT_EQ(SettingsFolderFromArguments({L"app.exe", L"--Settings-Dir", L"D:\\a"}, def), def);
  EXPECT_EQ(
      SettingsFolderFromArguments({L"app.exe", L"--settings-dir", L"A", L"x", L"--settings-dir", L"B"}, def),
      L"B");
  EXPECT_EQ(SettingsFolderFromArguments({L"app.exe", L"--settings-dir", L"--settings-dir", L"B"}, def),
            L"--settings-dir");
  EXPECT_EQ(SettingsFolderFromArguments({L"app.exe", L"--settings-dir", L""}, def), L"");
  // The program path itself is never taken as the option.
  EXPECT_EQ(SettingsFolderFromArguments({L"--settings-dir", L"X"}, def), def);
}

TEST(StartupWarning, MismatchIsAppendedAfterABlankLine) {
  const std::wstring mismatch = kWarningPositionMismatch;
  EXPECT_EQ(StartupWarningText(L"", false), L"");
  EXPECT_EQ(StartupWarningText(L"", true), mismatch);
  EXPECT_EQ(StartupWarningText(L"W", false), L"W");
  EXPECT_EQ(StartupWarningText(L"W", true), L"W\n\n" + mismatch);
}

}  // namespace
}  // namespace kestul
