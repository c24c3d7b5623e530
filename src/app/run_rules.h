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
  bool startStopEnabled = false;  // IDC_START_STOP
  const wchar_t* startStopCaption = L"";
  bool settingsMenuEnabled = false;
};
RunDisplay ComputeRunDisplay(RunState state, bool hotkeysReady, bool sessionNotificationsOk);

// Every command the window takes, whoever gives it: the user, another program or the system.
enum class Command {
  StartStop,         // the start/stop button, the start/stop key, the side button
  EmergencyStop,     // F9
  RegisterPosition,  // F6, the register button
  OpenSettings,      // the settings menu item
  Apply,
  Cancel,
  About,
  Close,
  SystemStop,  // lock, suspend, a display change, the question before the session ends
  EndSession,  // the session ends
  WorkerStatus,
};

// Where the window stands when a command comes. A message box or the About dialog runs a message
// loop of its own, and a save or a stop waits serving the messages sent to the window: a command
// that comes then runs inside another one that has not finished.
struct CommandSituation {
  RunState run = RunState::Idle;  // Stopping: a stop waits for the click thread to end
  bool settingsView = false;
  bool dialogOpen = false;  // a message box or the About dialog of this program
  bool waiting = false;     // a save, or the window's creation, waits serving sent messages
};

// Act: do the command. StopOnly: only stop clicking. Nothing: change nothing at all.
enum class Verdict { Act, StopOnly, Nothing };
Verdict DecideCommand(Command command, const CommandSituation& situation);

// On a machine with Modern Standby the system sleeps some time after the console's display turns
// off, and says so only then; clicking stops when the display turns off. `displayState` is the
// console display's state as Windows reports it: 0 off, 1 on, 2 dimmed.
bool DisplayStateStopsClicking(bool modernStandby, std::uint32_t displayState);

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
