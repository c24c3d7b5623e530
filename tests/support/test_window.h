// A real top-level window that records the mouse buttons it receives, and a message pump.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace kestul::test {

struct ReceivedButton {
  UINT message = 0;  // WM_LBUTTONDOWN, WM_RBUTTONUP, WM_XBUTTONDOWN, ...
  POINT screen{};    // where it landed, in screen coordinates
  DWORD tick = 0;    // GetTickCount at arrival
  WORD xbutton = 0;  // XBUTTON1 or XBUTTON2 for the side-button messages
};

// A visible, topmost window covering `area` that keeps every button message it is sent.
class ClickTarget {
 public:
  explicit ClickTarget(const RECT& area);
  ~ClickTarget();
  ClickTarget(const ClickTarget&) = delete;
  ClickTarget& operator=(const ClickTarget&) = delete;

  HWND window() const { return window_; }
  const std::vector<ReceivedButton>& received() const { return received_; }
  int Count(UINT message) const;
  int Count(UINT message, WORD xbutton) const;
  void Clear() { received_.clear(); }
  // One line per message, for failure output.
  std::string Describe() const;

 private:
  static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  HWND window_ = nullptr;
  std::vector<ReceivedButton> received_;
};

// Dispatches this thread's messages until `done` is true or `timeoutMs` passes.
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs);
// Dispatches this thread's messages for `ms` milliseconds.
void PumpFor(DWORD ms);

}  // namespace kestul::test
