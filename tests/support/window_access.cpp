#include "support/window_access.h"

#include "support/recording_window.h"

namespace kestul::test {

namespace {

struct FindData {
  DWORD pid;
  const wchar_t* className;
  const wchar_t* title;
  HWND found;
};

BOOL CALLBACK FindWindowOfProcess(HWND window, LPARAM lParam) {
  auto* data = reinterpret_cast<FindData*>(lParam);
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  if (pid != data->pid) return TRUE;
  wchar_t className[64] = {};
  GetClassNameW(window, className, 64);
  if (data->className != nullptr && wcscmp(className, data->className) != 0) return TRUE;
  if (data->title != nullptr && WindowText(window) != data->title) return TRUE;
  data->found = window;
  return FALSE;
}

}  // namespace

LRESULT SendWithTimeout(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  DWORD_PTR result = 0;
  SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, 2000, &result);
  return static_cast<LRESULT>(result);
}

HWND FindProcessWindow(DWORD pid, const wchar_t* className, const wchar_t* title) {
  FindData data{pid, className, title, nullptr};
  EnumWindows(FindWindowOfProcess, reinterpret_cast<LPARAM>(&data));
  return data.found;
}

std::wstring WindowText(HWND window) {
  wchar_t buffer[1024] = {};
  DWORD_PTR copied = 0;
  if (!SendMessageTimeoutW(window, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(buffer), SMTO_ABORTIFHUNG, 2000,
                           &copied)) {
    return L"<no answer>";
  }
  return std::wstring(buffer, copied);
}

bool TextBecomes(HWND window, const std::wstring& text, DWORD timeoutMs) {
  return WaitUntil([&] { return WindowText(window) == text; }, timeoutMs);
}

bool TextStays(HWND window, const std::wstring& text, DWORD ms) {
  return !WaitUntil([&] { return WindowText(window) != text; }, ms);
}

bool IsVisible(HWND window) {
  return (GetWindowLongW(window, GWL_STYLE) & WS_VISIBLE) != 0;
}

bool IsEnabled(HWND window) {
  return (GetWindowLongW(window, GWL_STYLE) & WS_DISABLED) == 0;
}

bool IsChecked(HWND button) {
  return SendWithTimeout(button, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

RECT ChildRect(HWND child) {
  RECT rect{};
  GetWindowRect(child, &rect);
  MapWindowPoints(HWND_DESKTOP, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

RECT ClientSize(HWND window) {
  RECT rect{};
  GetClientRect(window, &rect);
  return rect;
}

HWND WaitForMessageBox(DWORD pid, const wchar_t* caption, DWORD timeoutMs) {
  HWND box = nullptr;
  WaitUntil(
      [&] {
        box = FindProcessWindow(pid, L"#32770", caption);
        return box != nullptr && IsWindowVisible(box);
      },
      timeoutMs);
  return box;
}

std::wstring MessageBoxText(HWND box) {
  return WindowText(GetDlgItem(box, 0xFFFF));
}

void DismissMessageBox(HWND box) {
  PostMessageW(box, WM_COMMAND, IDOK, 0);
  WaitUntil([box] { return !IsWindow(box); }, 5000);
}

HWND AnyMessageBox(DWORD pid) {
  return FindProcessWindow(pid, L"#32770", nullptr);
}

void PostButtonClick(HWND window, int id) {
  PostMessageW(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(window, id)));
}

void ChooseOption(HWND window, int id, int partner) {
  SendWithTimeout(GetDlgItem(window, partner), BM_SETCHECK, BST_UNCHECKED, 0);
  SendWithTimeout(GetDlgItem(window, id), BM_SETCHECK, BST_CHECKED, 0);
  PostButtonClick(window, id);
}

void SetControlText(HWND control, const std::wstring& text) {
  SendWithTimeout(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void TypeIntoEdit(HWND edit, const std::wstring& text) {
  SendWithTimeout(edit, EM_SETSEL, 0, -1);
  SendWithTimeout(edit, WM_CHAR, VK_BACK, 0);
  for (const wchar_t ch : text) SendWithTimeout(edit, WM_CHAR, ch, 0);
}

HWND FocusedWindow(HWND window) {
  GUITHREADINFO info{};
  info.cbSize = sizeof(info);
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info)) return nullptr;
  return info.hwndFocus;
}

void PressKeyIn(HWND window, WORD virtualKey) {
  HWND focus = FocusedWindow(window);
  if (focus == nullptr || (focus != window && !IsChild(window, focus))) focus = window;
  const auto scan = static_cast<LPARAM>(MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC)) << 16;
  PostMessageW(focus, WM_KEYDOWN, virtualKey, scan | 1);
  PostMessageW(focus, WM_KEYUP, virtualKey, scan | 1 | (LPARAM{1} << 30) | (LPARAM{1} << 31));
}

}  // namespace kestul::test
