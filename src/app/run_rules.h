// The decisions of run control, as pure functions over small records.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kestul {

enum class RunState : std::int32_t { Idle = 0, Starting = 1, Running = 2, Stopping = 3, Faulted = 4 };

// Idle and Faulted both count as idle.
constexpr bool IsIdle(RunState state) {
  return (static_cast<std::int32_t>(state) & ~4) == 0;
}

// The interval field's rule: ASCII digits only, no wrap-around, kMinIntervalMs..kMaxIntervalMs.
bool ParseIntervalText(std::wstring_view text, std::uint32_t& value);

// What the controls and the menu show for a run state.
struct RunDisplay {
  bool inputsEnabled = false;     // IDC_TARGET_CURRENT to IDC_REGISTER_POSITION
  bool startStopEnabled = false;  // id 106
  const wchar_t* startStopCaption = L"";
  bool settingsMenuEnabled = false;
};
RunDisplay ComputeRunDisplay(RunState state, bool hotkeysReady, bool sessionNotificationsOk);

// What the window does with a WM_CLICKER_STATUS message.
enum class StatusAction { Ignore, SetRunning, StopAndFault, StopAndIdle };
StatusAction DecideStatusAction(RunState state, std::uint64_t currentRunId, std::uint64_t reportedRunId,
                                std::int64_t status);

// The settings folder after scanning the command line (argument 0 is the program).
std::wstring SettingsFolderFromArguments(const std::vector<std::wstring>& arguments,
                                         const std::wstring& defaultFolder);

// The load warning, extended by the saved-position mismatch when there is one.
std::wstring StartupWarningText(const std::wstring& loadWarning, bool positionMismatch);

}  // namespace kestul
