// Reading and operating the windows and message boxes of another process, as a user or an
// accessibility tool would: messages only, never the calls that Windows keeps to the caller's own
// windows (SetWindowTextW, GetWindowTextW).
#pragma once

#include <windows.h>

#include <string>

namespace kestul::test {

// A message sent as the system sends its notifications; the answer, or 0 after two seconds.
LRESULT SendWithTimeout(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// A top-level window of the process; `className` or `title` null matches any.
HWND FindProcessWindow(DWORD pid, const wchar_t* className, const wchar_t* title);
std::wstring WindowText(HWND window);
// The text becomes `text` within the time, or keeps it for the whole time.
bool TextBecomes(HWND window, const std::wstring& text, DWORD timeoutMs = 5000);
bool TextStays(HWND window, const std::wstring& text, DWORD ms);
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

}  // namespace kestul::test
