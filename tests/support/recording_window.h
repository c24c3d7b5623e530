// A real window that keeps what reaches it, and the one way a test waits: dispatching this
// thread's messages (so the window keeps recording) until a condition holds.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace kestul::test {

// Milliseconds on the performance counter; GetTickCount's 10 to 16 ms steps would hide what the
// benchmarks measure.
double NowMs();

// Dispatches this thread's messages until `done` is true or `timeoutMs` passes. `done` is asked
// at the latest every `pollMs`, and at once whenever a message arrives.
bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs, DWORD pollMs = 10);
// Dispatches this thread's messages for `ms` milliseconds.
void PumpFor(DWORD ms);

struct Received {
  UINT message = 0;  // a mouse button message, or a private one (WM_APP and above)
  WPARAM wParam = 0;
  LPARAM lParam = 0;
  POINT screen{};    // buttons: where the click landed, in screen coordinates
  WORD xbutton = 0;  // XBUTTON1 or XBUTTON2 for the side-button messages
  double at = 0;     // NowMs() when the window procedure saw it
};

class RecordingWindow {
 public:
  // A message-only window: keeps the private messages posted to it.
  RecordingWindow();
  // A visible, topmost window covering `area`: keeps the mouse buttons it receives as well.
  explicit RecordingWindow(const RECT& area);
  ~RecordingWindow();
  RecordingWindow(const RecordingWindow&) = delete;
  RecordingWindow& operator=(const RecordingWindow&) = delete;

  HWND window() const { return window_; }
  const std::vector<Received>& received() const { return received_; }
  // How many of `message` arrived; of side button `xbutton` only, when given.
  int Count(UINT message, WORD xbutton = 0) const;
  void Clear() { received_.clear(); }
  // One line per message, for failure output.
  std::string Describe() const;

 private:
  void Create(const RECT& area, DWORD exStyle, DWORD style, HWND parent);
  static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  HWND window_ = nullptr;
  std::vector<Received> received_;
};

}  // namespace kestul::test
