#include "support/recording_window.h"

#include <algorithm>

namespace kestul::test {

namespace {
constexpr wchar_t kClass[] = L"KestulTestRecordingWindow";

bool IsButton(UINT message) {
  return message == WM_LBUTTONDOWN || message == WM_LBUTTONUP || message == WM_RBUTTONDOWN ||
         message == WM_RBUTTONUP || message == WM_XBUTTONDOWN || message == WM_XBUTTONUP;
}
}  // namespace

double NowMs() {
  static const double perMs = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return static_cast<double>(f.QuadPart) / 1000.0;
  }();
  LARGE_INTEGER counter;
  QueryPerformanceCounter(&counter);
  return static_cast<double>(counter.QuadPart) / perMs;
}

bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs, DWORD pollMs) {
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
    MsgWaitForMultipleObjects(0, nullptr, FALSE,
                              static_cast<DWORD>(std::min<ULONGLONG>(deadline - now, pollMs)), QS_ALLINPUT);
  }
}

void PumpFor(DWORD ms) {
  WaitUntil([] { return false; }, ms);
}

RecordingWindow::RecordingWindow() {
  Create({}, 0, 0, HWND_MESSAGE);
}

RecordingWindow::RecordingWindow(const RECT& area) {
  // Topmost is enough: a click goes to the window under the cursor, foreground or not, and a
  // test process may not take the foreground on Windows anyway.
  Create(area, WS_EX_TOPMOST, WS_POPUP | WS_VISIBLE, nullptr);
  if (window_ != nullptr) {
    UpdateWindow(window_);
    PumpFor(200);
  }
}

void RecordingWindow::Create(const RECT& area, DWORD exStyle, DWORD style, HWND parent) {
  static const bool registered = [] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = &RecordingWindow::Proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = kClass;
    return RegisterClassExW(&wc) != 0;
  }();
  if (!registered) return;
  received_.reserve(4096);  // growing the record must not delay a timed message
  window_ = CreateWindowExW(exStyle, kClass, L"recording window", style, area.left, area.top,
                            area.right - area.left, area.bottom - area.top, parent, nullptr,
                            GetModuleHandleW(nullptr), this);
}

RecordingWindow::~RecordingWindow() {
  if (window_ != nullptr) DestroyWindow(window_);
}

int RecordingWindow::Count(UINT message, WORD xbutton) const {
  return static_cast<int>(std::count_if(received_.begin(), received_.end(), [=](const Received& r) {
    return r.message == message && (xbutton == 0 || r.xbutton == xbutton);
  }));
}

std::string RecordingWindow::Describe() const {
  std::string text;
  for (const Received& r : received_) {
    text += "message " + std::to_string(r.message) + " x" + std::to_string(r.xbutton) + " at " +
            std::to_string(r.screen.x) + "," + std::to_string(r.screen.y) + " w=" + std::to_string(r.wParam) +
            " l=" + std::to_string(r.lParam) + " t=" + std::to_string(r.at) + "\n";
  }
  return text;
}

LRESULT CALLBACK RecordingWindow::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  const double at = NowMs();
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* self = reinterpret_cast<RecordingWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  // Registered messages (0xC000 and above) come from the system, not from the code under test.
  const bool kept = IsButton(message) || (message >= WM_APP && message < 0xC000);
  if (self != nullptr && kept) {
    Received r{message, wParam, lParam, {}, 0, at};
    if (IsButton(message)) {
      r.screen = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
      ClientToScreen(window, &r.screen);
      if (message == WM_XBUTTONDOWN || message == WM_XBUTTONUP) r.xbutton = GET_XBUTTON_WPARAM(wParam);
    }
    self->received_.push_back(r);
  }
  if (message == WM_XBUTTONDOWN || message == WM_XBUTTONUP) return TRUE;
  if (kept) return 0;
  if (message == WM_MOUSEACTIVATE) return MA_NOACTIVATE;
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace kestul::test
