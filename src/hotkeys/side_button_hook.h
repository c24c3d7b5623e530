// The low-level mouse hook of a side-button binding, on a thread that does nothing else.
#pragma once

#include <windows.h>

#include <atomic>
#include <thread>

#include "common/unique_handle.h"
#include "settings/toggle_binding.h"

namespace kestul {

// Every mouse event of the whole system waits for a low-level hook's answer, and the hook is
// called on the thread that installed it. The window's thread may be held up (a save, a dialog,
// a starved thread under full load) and Windows removes, without a word, a hook that answers later
// than LowLevelHooksTimeout; so the hook gets a thread of its own, which only answers it.
class SideButtonHook {
 public:
  // Installs the hook for `binding` (a side button) and returns once it is in or refused; the
  // bound button's press is then posted to `window` as WM_CLICKER_TOGGLE.
  SideButtonHook(HWND window, ToggleBinding binding, bool passThrough);
  // Removes the hook and returns after its thread has ended: no press is taken after this.
  ~SideButtonHook();
  SideButtonHook(const SideButtonHook&) = delete;
  SideButtonHook& operator=(const SideButtonHook&) = delete;

  bool installed() const { return installed_.load(); }
  // While set, the bound button goes on to other programs untouched (the user is choosing a key).
  void SetPassThrough(bool pass) { passThrough_.store(pass, std::memory_order_relaxed); }

 private:
  void Run();
  static LRESULT CALLBACK Proc(int code, WPARAM wParam, LPARAM lParam);

  HWND window_;
  ToggleBinding binding_;
  // Written by the window's thread, read by the hook's: an atomic, no lock the window could hold.
  std::atomic<bool> passThrough_;
  UniqueKernelHandle ready_{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
  UniqueKernelHandle quit_{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
  std::atomic<bool> installed_{false};
  std::thread thread_;
};

}  // namespace kestul
