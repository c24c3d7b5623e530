#include "support/test_window.h"

#include <algorithm>

namespace kestul::test {

namespace {
constexpr wchar_t kTargetClass[] = L"KestulTestClickTarget";

void RegisterTargetClass(WNDPROC proc) {
  static bool registered = false;
  if (registered) return;
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = proc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = kTargetClass;
  registered = RegisterClassExW(&wc) != 0;
}
}  // namespace

ClickTarget::ClickTarget(const RECT& area) {
  RegisterTargetClass(&ClickTarget::Proc);
  window_ = CreateWindowExW(WS_EX_TOPMOST, kTargetClass, L"click target", WS_POPUP | WS_VISIBLE, area.left,
                            area.top, area.right - area.left, area.bottom - area.top, nullptr, nullptr,
                            GetModuleHandleW(nullptr), this);
  // Topmost is enough: a click goes to the window under the cursor, foreground or not, and a
  // test process may not take the foreground on Windows anyway.
  if (window_ != nullptr) {
    UpdateWindow(window_);
    PumpFor(200);
  }
}

ClickTarget::~ClickTarget() {
  if (window_ != nullptr) DestroyWindow(window_);
}

int ClickTarget::Count(UINT message) const {
  return static_cast<int>(std::count_if(received_.begin(), received_.end(),
                                        [message](const ReceivedButton& b) { return b.message == message; }));
}

int ClickTarget::Count(UINT message, WORD xbutton) const {
  return static_cast<int>(std::count_if(received_.begin(), received_.end(), [=](const ReceivedButton& b) {
    return b.message == message && b.xbutton == xbutton;
  }));
}

std::string ClickTarget::Describe() const {
  std::string text;
  for (const ReceivedButton& b : received_) {
    text += "message " + std::to_string(b.message) + " x" + std::to_string(b.xbutton) + " at " +
            std::to_string(b.screen.x) + "," + std::to_string(b.screen.y) + " t=" + std::to_string(b.tick) +
            "\n";
  }
  return text;
}

LRESULT CALLBACK ClickTarget::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* self = reinterpret_cast<ClickTarget*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_XBUTTONDOWN:
    case WM_XBUTTONUP:
      if (self != nullptr) {
        POINT p{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        ClientToScreen(window, &p);
        const bool side = message == WM_XBUTTONDOWN || message == WM_XBUTTONUP;
        self->received_.push_back({message, p, GetTickCount(), side ? GET_XBUTTON_WPARAM(wParam) : WORD{0}});
      }
      if (message == WM_XBUTTONDOWN || message == WM_XBUTTONUP) return TRUE;
      return 0;
    case WM_MOUSEACTIVATE:
      return MA_NOACTIVATE;
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs) {
  const ULONGLONG deadline = GetTickCount64() + timeoutMs;
  for (;;) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    if (done()) return true;
    const ULONGLONG now = GetTickCount64();
    if (now >= deadline) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(std::min<ULONGLONG>(deadline - now, 10)),
                              QS_ALLINPUT);
  }
}

void PumpFor(DWORD ms) {
  PumpUntil([] { return false; }, ms);
}

}  // namespace kestul::test
