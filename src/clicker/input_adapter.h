// One click request and the seam through which clicks are injected.
#pragma once

#include <cstdint>

namespace kestul {

// 32-bit, as they are stored: a value read from elsewhere may be none of the named ones, and
// the adapter then treats any mode but Saved as Current and any button but Left as Right.
enum class ClickMode : std::int32_t { Current = 0, Saved = 1 };
// Left (左クリック) is the primary button, the one that selects; Right (右クリック) the secondary
// one, that opens menus. Which physical button each is depends on the system's swap setting.
enum class ClickButton : std::int32_t { Left = 0, Right = 1 };

// The parameters of one clicking run.
struct ClickRequest {
  ClickMode mode = ClickMode::Current;  // Saved: move to (x, y) first
  ClickButton button = ClickButton::Left;
  std::uint32_t interval_ms = 100;
  std::int32_t x = 0;
  std::int32_t y = 0;
  // The system's left and right buttons swapped (a left-handed mouse), as the worker found them
  // when the run started.
  bool buttonsSwapped = false;
};

class InputAdapter {
 public:
  virtual ~InputAdapter() = default;
  // True only when the system accepted every event of the click.
  virtual bool SendClick(const ClickRequest& request) = 0;
};

}  // namespace kestul
