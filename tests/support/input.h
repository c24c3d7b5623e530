// Real keyboard and mouse input through SendInput, as the user's own devices would give it. Keys
// reach the foreground window or a hotkey; clicks reach the window under the cursor.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <utility>

#include "clicker/input_adapter.h"

namespace kestul::test {

void PressKey(WORD virtualKey);
void KeyDown(WORD virtualKey);
void KeyUp(WORD virtualKey);
void SideButtonDown(int button);
void SideButtonUp(int button);
void PressSideButton(int button);
void MoveCursorTo(POINT p);

// Holds a function key for this test process, so the program finds it taken; several can be held
// at once, each under an id of its own.
class HeldHotkey {
 public:
  explicit HeldHotkey(UINT virtualKey)
      : id_(0x7000 + static_cast<int>(virtualKey)),
        held_(RegisterHotKey(nullptr, id_, MOD_NOREPEAT, virtualKey) != 0) {}
  ~HeldHotkey() {
    if (held_) UnregisterHotKey(nullptr, id_);
  }
  HeldHotkey(const HeldHotkey&) = delete;
  HeldHotkey& operator=(const HeldHotkey&) = delete;
  bool held() const { return held_; }

 private:
  int id_;
  bool held_;
};

// Stands in for the real injection: counts each click and holds it until `release` is set, then
// answers with `then`.
class HeldClickAdapter final : public InputAdapter {
 public:
  HeldClickAdapter(
      std::atomic<int>& clicks, HANDLE release, std::function<bool()> then = [] { return true; })
      : clicks_(clicks), release_(release), then_(std::move(then)) {}
  bool SendClick(const ClickRequest&) override {
    ++clicks_;
    WaitForSingleObject(release_, 10000);
    return then_();
  }

 private:
  std::atomic<int>& clicks_;
  HANDLE release_;
  std::function<bool()> then_;
};

}  // namespace kestul::test
