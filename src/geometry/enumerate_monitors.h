// Every monitor of the desktop, sorted; taken afresh on each call.
#pragma once

#include "geometry/monitor_layout.h"

namespace kestul {

MonitorLayout EnumerateMonitors();

}  // namespace kestul
