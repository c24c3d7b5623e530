// The two records the save loop alternates between.
#pragma once

#include "settings/app_settings.h"

namespace kestul {

inline AppSettings SaveLoopRecord(int which) {
  AppSettings s;
  if (which == 1) {
    s.mode = ClickMode::Saved;
    s.button = ClickButton::Right;
    s.interval_ms = 59999;
    s.position_saved = true;
    s.x = -1280;
    s.y = 1023;
    s.monitor_layout = L"-1280,0,0,1024;0,0,1920,1080;";
    s.toggle_binding = 101;
  }
  return s;
}

}  // namespace kestul
