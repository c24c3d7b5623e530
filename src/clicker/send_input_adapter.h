// The one adapter that really injects input, through SendInput.
#pragma once

#include "clicker/click_events.h"
#include "clicker/input_adapter.h"

namespace kestul {

// The bounding rectangle of every monitor, as the system gives it now.
VirtualScreen CurrentVirtualScreen();

// Injects the events with one SendInput call; returns how many the system accepted.
unsigned SendMouseEvents(const MouseEventRecord* events, unsigned count);

class SendInputAdapter final : public InputAdapter {
 public:
  ~SendInputAdapter() override = default;
  bool SendClick(const ClickRequest& request) override;
};

}  // namespace kestul
