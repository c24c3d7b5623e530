#include "support/input.h"

#include "support/recording_window.h"

namespace kestul::test {

namespace {

void SendKey(WORD virtualKey, DWORD flags) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = virtualKey;
  input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC));
  input.ki.dwFlags = flags;
  SendInput(1, &input, sizeof(INPUT));
}

void SendSideButton(int button, DWORD flags) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.mouseData = button == 1 ? XBUTTON1 : XBUTTON2;
  input.mi.dwFlags = flags;
  SendInput(1, &input, sizeof(INPUT));
}

}  // namespace

void PressKey(WORD virtualKey) {
  SendKey(virtualKey, 0);
  SendKey(virtualKey, KEYEVENTF_KEYUP);
}

void KeyDown(WORD virtualKey) {
  SendKey(virtualKey, 0);
}

void KeyUp(WORD virtualKey) {
  SendKey(virtualKey, KEYEVENTF_KEYUP);
}

void SideButtonDown(int button) {
  SendSideButton(button, MOUSEEVENTF_XDOWN);
}

void SideButtonUp(int button) {
  SendSideButton(button, MOUSEEVENTF_XUP);
}

void PressSideButton(int button) {
  SideButtonDown(button);
  SideButtonUp(button);
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
