// The one adapter that really injects input, through SendInput.
#pragma once

#include "clicker/input_adapter.h"

namespace kestul {

class SendInputAdapter final : public InputAdapter {
public:
  ~SendInputAdapter() override = default;
  bool SendClick(const ClickRequest& request) override;
};

}  // namespace kestul
