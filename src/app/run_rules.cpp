#include "app/run_rules.h"

#include <limits>

#include "clicker/click_status.h"
#include "common/message_texts.h"
#include "settings/app_settings.h"

namespace kestul {

namespace {

// The refusal's text names the bounds the rule applies: its first two numbers.
constexpr bool NamesTheIntervalBounds(std::wstring_view text) {
  std::uint32_t numbers[2] = {};
  std::size_t count = 0;
  for (std::size_t i = 0; i < text.size() && count < 2; ++i) {
    const bool digit = text[i] >= L'0' && text[i] <= L'9';
    if (digit) numbers[count] = numbers[count] * 10 + static_cast<std::uint32_t>(text[i] - L'0');
    if (!digit && i > 0 && text[i - 1] >= L'0' && text[i - 1] <= L'9') ++count;
  }
  return numbers[0] == kMinIntervalMs && numbers[1] == kMaxIntervalMs;
}
static_assert(NamesTheIntervalBounds(kIntervalErrorText));

}  // namespace

bool ParseIntervalText(std::wstring_view text, std::uint32_t& value) {
  if (text.empty()) return false;
  std::uint64_t number = 0;
  constexpr std::uint64_t kMax = std::numeric_limits<std::uint64_t>::max();
  for (const wchar_t ch : text) {
    if (ch < L'0' || ch > L'9') return false;
    const auto digit = static_cast<std::uint64_t>(ch - L'0');
    if (number > (kMax - digit) / 10) return false;
    number = number * 10 + digit;
  }
  if (number < kMinIntervalMs || number > kMaxIntervalMs) return false;
  value = static_cast<std::uint32_t>(number);
  return true;
}

RunDisplay ComputeRunDisplay(RunState state, bool hotkeysReady, bool sessionNotificationsOk) {
  if (IsIdle(state)) {
    return {true, hotkeysReady && sessionNotificationsOk, kStartCaption, true};
  }
  return {false, true, kStopCaption, false};
}

Verdict DecideCommand(Command command, const CommandSituation& situation) {
  const RunState run = situation.run;
  const bool clicking = run == RunState::Starting || run == RunState::Running;
  // Whatever runs inside an unfinished command must not start, change or save under it, nor open
  // a second box over it; only stopping is always safe.
  const bool busy = situation.dialogOpen || situation.waiting || run == RunState::Stopping;
  const bool free = !busy && IsIdle(run);
  switch (command) {
    case Command::SystemStop:
    case Command::WorkerStatus:
      return Verdict::Act;
    case Command::StartStop:
      if (situation.settingsView) return Verdict::Nothing;
      if (clicking) return Verdict::StopOnly;
      return free ? Verdict::Act : Verdict::Nothing;
    case Command::EmergencyStop:
      return situation.settingsView ? Verdict::Nothing : Verdict::StopOnly;
    case Command::RegisterPosition:
    case Command::OpenSettings:
      return free ? Verdict::Act : Verdict::Nothing;
    case Command::Apply:
    case Command::Cancel:
      return free && situation.settingsView ? Verdict::Act : Verdict::Nothing;
    case Command::About:
      return busy ? Verdict::Nothing : Verdict::Act;
    // Destroying the window under a box or a wait would pull the state from under the code that
    // waits; the clicks stop at once, and the session ends the process anyway.
    case Command::Close:
    case Command::EndSession:
      return busy ? Verdict::StopOnly : Verdict::Act;
  }
  return Verdict::Nothing;
}

bool DisplayStateStopsClicking(bool modernStandby, std::uint32_t displayState) {
  constexpr std::uint32_t kDisplayOff = 0;
  return modernStandby && displayState == kDisplayOff;
}

StatusAction DecideStatusAction(RunState state, std::uint64_t currentRunId, std::uint64_t reportedRunId,
                                std::int64_t status) {
  if (reportedRunId != currentRunId) return StatusAction::Ignore;
  // A run's Running may come after a stop already ended it, when nothing clicks any more.
  if (IsStatus(status, ClickStatus::Running)) {
    return state == RunState::Starting ? StatusAction::SetRunning : StatusAction::Ignore;
  }
  if (IsStatus(status, ClickStatus::InputRejected)) return StatusAction::StopAndFault;
  // Stopped, or a value no run sends.
  return state == RunState::Idle ? StatusAction::Ignore : StatusAction::StopAndIdle;
}

std::wstring SettingsFolderFromArguments(const std::vector<std::wstring>& arguments,
                                         const std::wstring& defaultFolder) {
  std::wstring folder = defaultFolder;
  for (std::size_t i = 1; i < arguments.size(); ++i) {
    if (arguments[i] == L"--settings-dir" && i + 1 < arguments.size()) {
      folder = arguments[i + 1];
      ++i;
    }
  }
  return folder;
}

std::wstring StartupWarningText(const std::wstring& loadWarning, bool positionMismatch) {
  std::wstring text = loadWarning;
  if (positionMismatch) {
    if (!text.empty()) text += L"\n\n";
    text += kWarningPositionMismatch;
  }
  return text;
}

}  // namespace kestul
