#include "clicker/send_input_adapter.h"

#include <windows.h>

#include "clicker/click_events.h"

namespace kestul {

// The platform-free composer writes the SDK's flag values by hand; here they meet the SDK.
static_assert(kMouseMove == MOUSEEVENTF_MOVE && kMouseLeftDown == MOUSEEVENTF_LEFTDOWN &&
              kMouseLeftUp == MOUSEEVENTF_LEFTUP && kMouseRightDown == MOUSEEVENTF_RIGHTDOWN &&
              kMouseRightUp == MOUSEEVENTF_RIGHTUP && kMouseVirtualDesk == MOUSEEVENTF_VIRTUALDESK &&
              kMouseAbsolute == MOUSEEVENTF_ABSOLUTE);

unsigned SendMouseEvents(const MouseEventRecord* events, unsigned count) {
  INPUT inputs[3] = {};
  if (count > 3) return 0;
  for (unsigned i = 0; i < count; ++i) {
    inputs[i].type = INPUT_MOUSE;
    inputs[i].mi.dx = events[i].dx;
    inputs[i].mi.dy = events[i].dy;
    inputs[i].mi.mouseData = events[i].mouseData;
    inputs[i].mi.dwFlags = events[i].flags;
    inputs[i].mi.time = 0;
    inputs[i].mi.dwExtraInfo = static_cast<ULONG_PTR>(events[i].extraInfo);
  }
  return SendInput(count, inputs, sizeof(INPUT));
}

namespace {

void WriteDebugText(const wchar_t* text) {
  OutputDebugStringW(text);
}

}  // namespace

VirtualScreen CurrentVirtualScreen() {
  return {GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
          GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN)};
}

bool SendInputAdapter::SendClick(const ClickRequest& request) {
  return DeliverClick(request, CurrentVirtualScreen(), SendMouseEvents, WriteDebugText);
}

}  // namespace kestul
