#include "clicker/click_events.h"

namespace kestul {

bool NormalizeToVirtualDesk(std::int32_t c, std::int32_t origin, std::int32_t extent, std::int32_t& value) {
  const std::int64_t c64 = c, origin64 = origin, extent64 = extent;
  if (extent64 <= 0 || c64 < origin64 || c64 >= origin64 + extent64) return false;
  // Wine takes a value v back to the pixel origin + floor(v * extent / 65536), so each pixel owns a
  // span of 65536 / extent values; aiming at 0 and 65535 for the ends, as a stretch of (extent - 1)
  // would, falls one pixel short on some columns there. Microsoft documents only the two ends (0 the
  // first pixel, 65535 the last), not how Windows rounds between them: the middle of the span is
  // the value that survives rounding either way, and the sweep of every column and row on the
  // hosted runner (SendInputAdapter's test) tells what Windows does.
  value = static_cast<std::int32_t>((2 * (c64 - origin64) + 1) * 32768 / extent64);
  return true;
}

bool DeliverClick(const ClickRequest& request, const VirtualScreen& screen, const SendEventsFn& send,
                  const DebugTextFn& debugText) {
  // Injected events name physical buttons, and the system swaps them as it swaps the mouse's own:
  // with the buttons swapped the primary button is the physical right one.
  const bool primary = request.button == ClickButton::Left;
  const bool left = primary != request.buttonsSwapped;
  const std::uint32_t down = left ? kMouseLeftDown : kMouseRightDown;
  const std::uint32_t up = left ? kMouseLeftUp : kMouseRightUp;

  MouseEventRecord events[3];
  unsigned downIndex = 0;
  if (request.mode == ClickMode::Saved) {
    std::int32_t dx = 0, dy = 0;
    if (!NormalizeToVirtualDesk(request.x, screen.left, screen.width, dx) ||
        !NormalizeToVirtualDesk(request.y, screen.top, screen.height, dy)) {
      return false;
    }
    events[0] = {dx, dy, 0, kMouseMove | kMouseVirtualDesk | kMouseAbsolute, kInjectedMarker};
    downIndex = 1;
  }
  events[downIndex] = {0, 0, 0, down, kInjectedMarker};
  events[downIndex + 1] = {0, 0, 0, up, kInjectedMarker};
  const unsigned count = downIndex + 2;

  const unsigned accepted = send(events, count);
  if (accepted == count) return true;
  if (accepted == downIndex + 1) {
    // The press went in but its release did not: never leave the button held down.
    const MouseEventRecord release{0, 0, 0, up, kInjectedMarker};
    if (send(&release, 1) != 1) debugText(L"KESTUL Auto Clicker: failed to send recovery button-up event.\n");
  }
  return false;
}

}  // namespace kestul
