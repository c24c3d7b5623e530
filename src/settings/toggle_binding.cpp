#include "settings/toggle_binding.h"

namespace kestul {

bool IsMouseBinding(ToggleBinding code) {
  return code == kToggleMouseX1 || code == kToggleMouseX2;
}

}  // namespace kestul
