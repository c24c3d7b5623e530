// One owner per system handle: a move-only wrapper, declared once per kind of handle with its
// closer and the value that means "none".
#pragma once

#include <windows.h>

#include <combaseapi.h>

#include <functional>
#include <utility>

namespace kestul {

// Most creators answer a failure with null; CreateFileW and the tool-help snapshots answer
// INVALID_HANDLE_VALUE, and null is then a real value. A wrong check cannot compile: the two are
// different owner types.
enum class NoHandle { IsNull, IsMinusOne };

template <typename Handle, auto Close, NoHandle kNone = NoHandle::IsNull>
class UniqueHandle {
 public:
  UniqueHandle() noexcept = default;
  explicit UniqueHandle(Handle value) noexcept : value_(value) {}
  UniqueHandle(UniqueHandle&& other) noexcept : value_(other.release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  ~UniqueHandle() { reset(); }

  [[nodiscard]] Handle get() const noexcept { return value_; }
  explicit operator bool() const noexcept { return value_ != None(); }

  Handle release() noexcept { return std::exchange(value_, None()); }
  void reset(Handle value = None()) noexcept {
    const Handle old = std::exchange(value_, value);
    if (old == None()) return;
    // Closing on the way out of a failed call must not hide the error the caller is about to read.
    const DWORD error = GetLastError();
    Close(old);
    SetLastError(error);
  }

 private:
  static Handle None() noexcept {
    if constexpr (kNone == NoHandle::IsMinusOne) {
      return INVALID_HANDLE_VALUE;
    } else {
      return nullptr;
    }
  }

  Handle value_ = None();
};

using UniqueKernelHandle = UniqueHandle<HANDLE, &::CloseHandle>;  // events, mutexes, processes, threads
using UniqueFileHandle = UniqueHandle<HANDLE, &::CloseHandle, NoHandle::IsMinusOne>;  // files, snapshots
using UniqueHook = UniqueHandle<HHOOK, &::UnhookWindowsHookEx>;
using UniqueFont = UniqueHandle<HFONT, &::DeleteObject>;
using UniqueBrush = UniqueHandle<HBRUSH, &::DeleteObject>;
using UniqueBitmap = UniqueHandle<HBITMAP, &::DeleteObject>;
using UniqueMenu = UniqueHandle<HMENU, &::DestroyMenu>;
using UniqueModule = UniqueHandle<HMODULE, &::FreeLibrary>;
using UniqueSuspendNotification = UniqueHandle<HPOWERNOTIFY, &::UnregisterSuspendResumeNotification>;
using UniquePowerSettingNotification = UniqueHandle<HPOWERNOTIFY, &::UnregisterPowerSettingNotification>;
using UniqueMemoryDc = UniqueHandle<HDC, &::DeleteDC>;             // CreateCompatibleDC
using UniqueArgv = UniqueHandle<LPWSTR*, &::LocalFree>;            // CommandLineToArgvW
using UniqueCoTaskString = UniqueHandle<PWSTR, &::CoTaskMemFree>;  // SHGetKnownFolderPath

// A registration the system keeps for a window until it is undone: a hotkey, the session
// notifications. Whoever registers returns this with the undoing call.
class WindowRegistration {
 public:
  WindowRegistration() noexcept = default;
  explicit WindowRegistration(std::function<void()> undo) noexcept : undo_(std::move(undo)) {}
  WindowRegistration(WindowRegistration&& other) noexcept : undo_(std::exchange(other.undo_, nullptr)) {}
  // The registration held before is undone as `other` goes.
  WindowRegistration& operator=(WindowRegistration other) noexcept {
    std::swap(undo_, other.undo_);
    return *this;
  }
  ~WindowRegistration() { reset(); }

  explicit operator bool() const noexcept { return static_cast<bool>(undo_); }
  void reset() noexcept {
    if (!undo_) return;
    const DWORD error = GetLastError();
    std::exchange(undo_, nullptr)();
    SetLastError(error);
  }

 private:
  std::function<void()> undo_;
};

// GetDC's device context, which goes back with ReleaseDC to the window it came from (null: the
// screen).
class WindowDc {
 public:
  explicit WindowDc(HWND window) noexcept : window_(window), dc_(GetDC(window)) {}
  ~WindowDc() {
    if (dc_ != nullptr) ReleaseDC(window_, dc_);
  }
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;

  [[nodiscard]] HDC get() const noexcept { return dc_; }
  explicit operator bool() const noexcept { return dc_ != nullptr; }

 private:
  HWND window_;
  HDC dc_;
};

}  // namespace kestul
