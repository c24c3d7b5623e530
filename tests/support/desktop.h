// Where the Windows tests put windows, the cursor and saved positions: taken from the desktop they
// run on (one monitor of any size, or several, some at negative coordinates), never assumed.
#pragma once

#include <windows.h>

#include <string>

namespace kestul::test {

// The primary monitor's work area: every desktop has one, and the program's window opens there.
RECT PrimaryWorkArea();
// The monitor farthest left in the program's own (sorted) enumeration; on a desktop with a monitor
// left of the primary, its coordinates are negative.
RECT LeftmostMonitor();
// Room for a click target inside `area`: clear of its edges, and right of its left third, where
// the program's window and its message boxes open.
RECT TargetArea(const RECT& area = PrimaryWorkArea());
// The point `percentX`, `percentY` (0 to 100) of the way across `area`.
POINT PointIn(const RECT& area, int percentX, int percentY);

// The signature of this desktop's layout as the program writes it to settings.ini.
std::string DesktopSignature();
// The signature of a layout this desktop does not have: this one plus a monitor right of it.
std::string ChangedDesktopSignature();
// A point on no monitor: in a gap the monitors leave inside the virtual screen where there is
// one (there a check of the virtual screen alone would wrongly accept it), else just past its
// right edge.
POINT OffMonitorPoint();

}  // namespace kestul::test
