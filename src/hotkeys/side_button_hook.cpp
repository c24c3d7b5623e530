#include "hotkeys/side_button_hook.h"

#include <cstdint>
#include <system_error>

#include "common/window_messages.h"
#include "hotkeys/hotkey_rules.h"

namespace kestul {

// The rule names the side-button messages without the Windows headers.
static_assert(kMessageXButtonDown == WM_XBUTTONDOWN && kMessageXButtonUp == WM_XBUTTONUP);

namespace {
// The hook procedure has no parameter of its own; Windows calls it on the thread that installed it.
thread_local const SideButtonHook* threadHook = nullptr;
}  // namespace

SideButtonHook::SideButtonHook(HWND window, ToggleBinding binding, bool passThrough)
    : window_(window), binding_(binding), passThrough_(passThrough) {
  if (!ready_ || !quit_) return;
  try {
    thread_ = std::thread([this] { Run(); });
  } catch (const std::system_error&) {
    return;  // no thread, no hook: reported as a binding that could not be installed
  }
  WaitForSingleObject(ready_.get(), INFINITE);
}

SideButtonHook::~SideButtonHook() {
  if (!thread_.joinable()) return;
  SetEvent(quit_.get());
  thread_.join();
}

void SideButtonHook::Run() {
  // Above every thread of normal priority, however boosted, so that a game at full load does not
  // keep the mouse waiting; the thread runs only for a few instructions per mouse event.
  SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_TIME_CRITICAL);
  threadHook = this;
  const UniqueHook hook(SetWindowsHookExW(WH_MOUSE_LL, Proc, GetModuleHandleW(nullptr), 0));
  installed_ = static_cast<bool>(hook);
  SetEvent(ready_.get());
  if (!hook) return;
  // The hook is called through a message sent to this thread; a wait that takes sent messages
  // answers it at once.
  HANDLE quit = quit_.get();
  while (MsgWaitForMultipleObjectsEx(1, &quit, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE) != WAIT_OBJECT_0) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE) != FALSE) DispatchMessageW(&message);
  }
}

LRESULT CALLBACK SideButtonHook::Proc(int code, WPARAM wParam, LPARAM lParam) {
  const SideButtonHook* self = threadHook;
  if (code < 0 || self == nullptr) return CallNextHookEx(nullptr, code, wParam, lParam);
  const auto* record = reinterpret_cast<const MSLLHOOKSTRUCT*>(lParam);
  const SideButtonAction action =
      DecideSideButton(self->passThrough_.load(std::memory_order_relaxed), self->binding_,
                       static_cast<std::uint32_t>(wParam), HIWORD(record->mouseData));
  if (action == SideButtonAction::Pass) return CallNextHookEx(nullptr, code, wParam, lParam);
  if (action == SideButtonAction::SwallowAndToggle) PostMessageW(self->window_, WM_CLICKER_TOGGLE, 0, 0);
  return 1;
}

}  // namespace kestul
