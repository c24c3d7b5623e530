// One click request and the seam through which clicks are injected.
#pragma once

#include <cstdint>

namespace kestul {

// The parameters of one clicking run.
struct ClickRequest {
  std::int32_t mode = 0;    // 1: move to (x, y) first; anything else: click where the cursor is
  std::int32_t button = 0;  // 0: left; anything else: right
  std::uint32_t interval_ms = 100;
  std::int32_t x = 0;
  std::int32_t y = 0;
};

class InputAdapter {
 public:
  virtual ~InputAdapter() = default;
  // True only when the system accepted every event of the click.
  virtual bool SendClick(const ClickRequest& request) = 0;
};

}  // namespace kestul
