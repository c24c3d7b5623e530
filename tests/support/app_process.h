// Starting and driving the real KestulAutoClicker.exe from a test process, as a user or an
// accessibility tool would: find its windows, read controls, press keys, answer message boxes.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace kestul::test {

// The built exe, beside the test executables.
std::wstring AppExePath();

// An environment variable's value, empty when it is unset (MSVC deprecates _wgetenv).
std::wstring EnvironmentValue(const wchar_t* name);

// Polls `done` (pumping this thread's messages) until true or the timeout passes.
bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs);

// A fresh folder under %TEMP%, removed with everything in it at the end of the test.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  const std::wstring& path() const { return path_; }
  std::wstring File(const std::wstring& name) const { return path_ + L"\\" + name; }

 private:
  std::wstring path_;
};

std::string ReadFileBytes(const std::wstring& path);
bool WriteFileBytes(const std::wstring& path, const std::string& bytes);
bool FileExists(const std::wstring& path);

// CreateProcessW, tried a few times: a fresh Wine prefix has been seen to refuse the very first
// launch once, while a real fault refuses every attempt. Returns 0 or the last error.
DWORD LaunchProcess(std::wstring commandLine, PROCESS_INFORMATION& started);

// One running copy of the program (the built exe, or a copy of it elsewhere). The destructor
// closes it (or kills it if it hangs).
class AppProcess {
 public:
  explicit AppProcess(const std::vector<std::wstring>& arguments, const std::wstring& exe = AppExePath());
  ~AppProcess();
  AppProcess(const AppProcess&) = delete;
  AppProcess& operator=(const AppProcess&) = delete;

  bool started() const { return process_ != nullptr; }
  DWORD pid() const { return pid_; }
  HANDLE process() const { return process_; }
  // The main window once it exists and is visible, or null after the timeout.
  HWND WaitForMainWindow(DWORD timeoutMs = 15000);
  HWND window() const { return window_; }
  HWND Control(int id) const { return GetDlgItem(window_, id); }
  // Exit code, or STILL_ACTIVE after the timeout.
  DWORD WaitForExit(DWORD timeoutMs = 15000);
  // WM_CLOSE to the main window, then wait for the process to end.
  DWORD Close(DWORD timeoutMs = 15000);

 private:
  HANDLE process_ = nullptr;
  DWORD pid_ = 0;
  HWND window_ = nullptr;
};

HWND FindProcessWindow(DWORD pid, const wchar_t* className, const wchar_t* title);
std::wstring WindowText(HWND window);
bool IsVisible(HWND window);
bool IsEnabled(HWND window);
bool IsChecked(HWND button);
// Client-relative rectangle of a child window.
RECT ChildRect(HWND child);
RECT ClientSize(HWND window);

// A message box (#32770) of the given process with the given caption.
HWND WaitForMessageBox(DWORD pid, const wchar_t* caption, DWORD timeoutMs = 10000);
std::wstring MessageBoxText(HWND box);
// Presses OK and waits until the box has gone.
void DismissMessageBox(HWND box);
// Any message box of the process still open, or null.
HWND AnyMessageBox(DWORD pid);

// Posts a button click (BN_CLICKED) to the parent, as pressing the button would; posting keeps
// the test free when the handler opens a modal box.
void PostButtonClick(HWND window, int id);
// Chooses option button `id` of a pair, as clicking it would: it checked, `partner` cleared, then
// the click posted. (BM_CLICK is no substitute: Windows may drop it in a window that is not active.)
void ChooseOption(HWND window, int id, int partner);
// Sets a control's text in another process. SetWindowTextW cannot: on Windows it sends nothing to
// another process's window and changes only the caption the system keeps for it.
void SetControlText(HWND control, const std::wstring& text);
// Replaces the edit's text by typing: select all, then characters as keyboard messages.
void TypeIntoEdit(HWND edit, const std::wstring& text);

// The window that has the keyboard focus on the thread of `window`, or null.
HWND FocusedWindow(HWND window);
// A key pressed in `window` (a dialog, say) whether or not it is in the foreground: the key
// messages are posted to its thread's focus, where its message loop takes them as typed keys.
// Keys injected with SendInput reach only the foreground window, which a test process may not
// choose on Windows (the foreground lock).
void PressKeyIn(HWND window, WORD virtualKey);

// Real keyboard and mouse input through SendInput.
void PressKey(WORD virtualKey);
void KeyDown(WORD virtualKey);
void KeyUp(WORD virtualKey);
void SideButton(int button, bool down);
void MoveCursorTo(int x, int y);
inline void MoveCursorTo(POINT p) {
  MoveCursorTo(p.x, p.y);
}

// The pixels of `area` of the screen as they are now, row by row, in one copy of the screen (a read
// per pixel is a round trip to the compositor on Windows).
std::vector<COLORREF> CaptureScreen(const RECT& area);

// Saves the screen as <name>.bmp in the artifacts folder (KESTUL_ARTIFACTS): the area of
// `window` (frame included) when given, else the whole virtual screen.
void SaveScreenshot(const std::wstring& name, HWND window = nullptr);

}  // namespace kestul::test
