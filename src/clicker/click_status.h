// What a run reports to the window: the lParam of WM_CLICKER_STATUS.
#pragma once

#include <cstdint>

namespace kestul {

enum class ClickStatus : std::int32_t { Running = 1, Stopped = 2, InputRejected = 3 };

// Whether a raw lParam carries `status`; any other value is none of them.
constexpr bool IsStatus(std::int64_t reported, ClickStatus status) {
  return reported == static_cast<std::int64_t>(status);
}

}  // namespace kestul
