// Real keyboard and mouse input through SendInput, as the user's own devices would give it. Keys
// reach the foreground window or a hotkey; clicks reach the window under the cursor.
#pragma once

#include <windows.h>

namespace kestul::test {

void PressKey(WORD virtualKey);
void KeyDown(WORD virtualKey);
void KeyUp(WORD virtualKey);
void SideButton(int button, bool down);
void MoveCursorTo(POINT p);

}  // namespace kestul::test
