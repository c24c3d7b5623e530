#include "support/input.h"

#include "support/recording_window.h"

namespace kestul::test {

namespace {

void SendKey(WORD virtualKey, bool up) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = virtualKey;
  input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC));
  input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  SendInput(1, &input, sizeof(INPUT));
}

}  // namespace

void PressKey(WORD virtualKey) {
  SendKey(virtualKey, false);
  SendKey(virtualKey, true);
}

void KeyDown(WORD virtualKey) {
  SendKey(virtualKey, false);
}

void KeyUp(WORD virtualKey) {
  SendKey(virtualKey, true);
}

void SideButton(int button, bool down) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.mouseData = button == 1 ? XBUTTON1 : XBUTTON2;
  input.mi.dwFlags = down ? MOUSEEVENTF_XDOWN : MOUSEEVENTF_XUP;
  SendInput(1, &input, sizeof(INPUT));
}

void MoveCursorTo(POINT p) {
  // Wine can lose a warp that races with its own pointer bookkeeping (seen right after a
  // message box closed), so repeat until the system reports the new position.
  WaitUntil(
      [p] {
        SetCursorPos(p.x, p.y);
        PumpFor(20);
        POINT now{};
        return GetCursorPos(&now) && now.x == p.x && now.y == p.y;
      },
      2000);
}

}  // namespace kestul::test
