#include <gtest/gtest.h>

#include <iterator>
#include <string_view>
#include <utility>

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
    EXPECT_STREQ(ready.startStopCaption, kStartCaption);
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
    EXPECT_STREQ(display.startStopCaption, kStopCaption);
    EXPECT_FALSE(display.settingsMenuEnabled);
  }
}

// What every command does in every kind of situation, written out by hand. Columns, in order:
constexpr CommandSituation kSituations[] = {
    {RunState::Idle, false, false, false},      // idle
    {RunState::Faulted, false, false, false},   // idle after an error
    {RunState::Starting, false, false, false},  // started, no click yet
    {RunState::Running, false, false, false},   // clicking
    {RunState::Stopping, false, false, false},  // a stop waits for the click thread
    {RunState::Idle, true, false, false},       // the settings view
    {RunState::Idle, false, true, false},       // idle under a message box
    {RunState::Running, false, true, false},    // clicking under the About dialog
    {RunState::Idle, true, true, false},        // the settings view under a message box
    {RunState::Idle, false, false, true},       // a start's or a registration's save waits
    {RunState::Idle, true, false, true},        // Apply's save waits
};
// A: act, S: stop clicking only, -: nothing.
constexpr std::pair<Command, std::string_view> kVerdicts[] = {
    {Command::StartStop, "AASS---S---"},
    {Command::EmergencyStop, "SSSSS-SS-S-"},
    {Command::RegisterPosition, "AA---A-----"},
    {Command::OpenSettings, "AA---A-----"},
    {Command::Apply, "-----A-----"},
    {Command::Cancel, "-----A-----"},
    {Command::About, "AAAA-A-----"},
    {Command::Close, "AAAASASSSSS"},
    {Command::SystemStop, "AAAAAAAAAAA"},
    {Command::EndSession, "AAAASASSSSS"},
    {Command::WorkerStatus, "AAAAAAAAAAA"},
};

TEST(CommandGate, EveryCommandInEverySituation) {
  for (const auto& [command, row] : kVerdicts) {
    ASSERT_EQ(row.size(), std::size(kSituations)) << static_cast<int>(command);
    for (std::size_t i = 0; i < row.size(); ++i) {
      const Verdict expected = row[i] == 'A'   ? Verdict::Act
                               : row[i] == 'S' ? Verdict::StopOnly
                                               : Verdict::Nothing;
      EXPECT_EQ(DecideCommand(command, kSituations[i]), expected)
          << "command " << static_cast<int>(command) << ", situation " << i;
    }
  }
}

TEST(DisplayState, OnlyTheDisplayTurningOffUnderModernStandbyStops) {
  EXPECT_TRUE(DisplayStateStopsClicking(true, 0));
  EXPECT_FALSE(DisplayStateStopsClicking(true, 2)) << "dimmed";
  EXPECT_FALSE(DisplayStateStopsClicking(true, 1));
  EXPECT_FALSE(DisplayStateStopsClicking(false, 0)) << "without Modern Standby, sleep says so itself";
}

TEST(StatusAction, OnlyTheCurrentRunCountsAndRunningOnlyAfterAStart) {
  EXPECT_EQ(DecideStatusAction(RunState::Running, 5, 4, 2), StatusAction::Ignore);
  EXPECT_EQ(DecideStatusAction(RunState::Running, 5, 4, 3), StatusAction::Ignore);
  EXPECT_EQ(DecideStatusAction(RunState::Starting, 5, 4, 1), StatusAction::Ignore);
  // All 64 bits are compared.
  EXPECT_EQ(DecideStatusAction(RunState::Running, 0x100000001ULL, 1, 2), StatusAction::Ignore);

  EXPECT_EQ(DecideStatusAction(RunState::Starting, 5, 5, 1), StatusAction::SetRunning);
  // A Running that comes after a stop shows nothing as clicking.
  for (const RunState state : {RunState::Idle, RunState::Faulted, RunState::Stopping}) {
    EXPECT_EQ(DecideStatusAction(state, 5, 5, 1), StatusAction::Ignore);
  }
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
