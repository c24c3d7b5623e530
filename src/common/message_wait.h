// Waiting on the user-interface thread without keeping other threads' senders waiting.
#pragma once

#include <windows.h>

namespace kestul {

// Waits up to `timeoutMs` (INFINITE allowed) for `object`, or with a null object just for the time,
// running the messages other threads send to this one meanwhile: the system's notifications (a
// suspend, a lock, the end of the session) and other programs' sent messages, whose senders would
// otherwise hang with the window. Posted messages stay queued, so none of the program's own keys or
// statuses run inside the wait; what is sent does, and the command gate (DecideFor) keeps it from
// starting, saving or opening a box under the operation that waits.
// True when the object was signalled.
inline bool WaitServingSentMessages(HANDLE object, DWORD timeoutMs) {
  const DWORD count = object != nullptr ? 1 : 0;
  const ULONGLONG deadline = GetTickCount64() + timeoutMs;
  for (;;) {
    DWORD left = INFINITE;
    if (timeoutMs != INFINITE) {
      const ULONGLONG now = GetTickCount64();
      left = now >= deadline ? 0 : static_cast<DWORD>(deadline - now);
    }
    const DWORD result = MsgWaitForMultipleObjectsEx(count, count == 1 ? &object : nullptr, left,
                                                     QS_SENDMESSAGE, MWMO_INPUTAVAILABLE);
    if (count == 1 && result == WAIT_OBJECT_0) return true;
    if (result != WAIT_OBJECT_0 + count) return false;  // the time is up, or the wait failed
    MSG message;
    PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);  // runs what was sent
  }
}

}  // namespace kestul
