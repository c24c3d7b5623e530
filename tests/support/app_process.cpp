#include "support/app_process.h"

#include "support/test_window.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace kestul::test {

std::wstring AppExePath() {
  wchar_t self[MAX_PATH];
  const DWORD length = GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring path(self, length);
  const auto slash = path.find_last_of(L"\\/");
  return path.substr(0, slash + 1) + L"KestulAutoClicker.exe";
}

std::wstring EnvironmentValue(const wchar_t* name) {
  std::wstring value(64, L'\0');
  for (;;) {
    const DWORD length = GetEnvironmentVariableW(name, value.data(), static_cast<DWORD>(value.size()));
    if (length < value.size()) {
      value.resize(length);
      return value;
    }
    value.resize(length);  // too small: `length` is the size needed, terminator included
  }
}

bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs) {
  return PumpUntil(done, timeoutMs);
}

TempFolder::TempFolder() {
  wchar_t base[MAX_PATH];
  GetTempPathW(MAX_PATH, base);
  static unsigned counter = 0;
  path_ = std::wstring(base) + L"kestul-test-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
          std::to_wstring(GetTickCount64()) + L"-" + std::to_wstring(++counter);
  std::filesystem::create_directories(path_);
}

TempFolder::~TempFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::string ReadFileBytes(const std::wstring& path) {
  std::ifstream in(std::filesystem::path(path), std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

bool WriteFileBytes(const std::wstring& path, const std::string& bytes) {
  std::ofstream out(std::filesystem::path(path), std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}

bool FileExists(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

namespace {

std::wstring QuoteArgument(const std::wstring& argument) {
  // Enough for our folders: no embedded quotes; trailing backslashes doubled before the quote.
  std::wstring quoted = L"\"" + argument;
  std::size_t slashes = 0;
  for (auto it = argument.rbegin(); it != argument.rend() && *it == L'\\'; ++it) ++slashes;
  quoted.append(slashes, L'\\');
  return quoted + L"\"";
}

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

void SendKey(WORD virtualKey, bool up) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = virtualKey;
  input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC));
  input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  SendInput(1, &input, sizeof(INPUT));
}

}  // namespace

DWORD LaunchProcess(std::wstring commandLine, PROCESS_INFORMATION& started) {
  DWORD error = 0;
  for (int attempt = 0; attempt < 5; ++attempt) {
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    if (CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                       &started) != FALSE) {
      return 0;
    }
    error = GetLastError();
    Sleep(200);
  }
  return error;
}

AppProcess::AppProcess(const std::vector<std::wstring>& arguments, const std::wstring& exe) {
  std::wstring commandLine = QuoteArgument(exe);
  for (const std::wstring& argument : arguments) commandLine += L" " + QuoteArgument(argument);
  PROCESS_INFORMATION info{};
  if (LaunchProcess(commandLine, info) == 0) {
    CloseHandle(info.hThread);
    process_ = info.hProcess;
    pid_ = info.dwProcessId;
  }
}

AppProcess::~AppProcess() {
  if (process_ == nullptr) return;
  if (WaitForSingleObject(process_, 0) == WAIT_TIMEOUT) {
    // Answer whatever box is still open, then close; kill only a copy that will not end.
    for (int i = 0; i < 10; ++i) {
      HWND box = AnyMessageBox(pid_);
      if (box == nullptr) break;
      DismissMessageBox(box);
    }
    if (window_ != nullptr) PostMessageW(window_, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process_, 5000) == WAIT_TIMEOUT) TerminateProcess(process_, 99);
    WaitForSingleObject(process_, 5000);
  }
  CloseHandle(process_);
}

HWND AppProcess::WaitForMainWindow(DWORD timeoutMs) {
  WaitUntil(
      [this] {
        window_ = FindProcessWindow(pid_, L"KESTULAutoClickerWindow", nullptr);
        return window_ != nullptr && IsWindowVisible(window_);
      },
      timeoutMs);
  return window_ != nullptr && IsWindowVisible(window_) ? window_ : nullptr;
}

DWORD AppProcess::WaitForExit(DWORD timeoutMs) {
  if (process_ == nullptr) return STILL_ACTIVE;
  WaitUntil([this] { return WaitForSingleObject(process_, 0) == WAIT_OBJECT_0; }, timeoutMs);
  DWORD code = STILL_ACTIVE;
  GetExitCodeProcess(process_, &code);
  return code;
}

DWORD AppProcess::Close(DWORD timeoutMs) {
  if (window_ != nullptr) PostMessageW(window_, WM_CLOSE, 0, 0);
  return WaitForExit(timeoutMs);
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

bool IsVisible(HWND window) {
  return (GetWindowLongW(window, GWL_STYLE) & WS_VISIBLE) != 0;
}

bool IsEnabled(HWND window) {
  return (GetWindowLongW(window, GWL_STYLE) & WS_DISABLED) == 0;
}

bool IsChecked(HWND button) {
  DWORD_PTR result = 0;
  SendMessageTimeoutW(button, BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, 2000, &result);
  return result == BST_CHECKED;
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
  DWORD_PTR ignored = 0;
  SendMessageTimeoutW(GetDlgItem(window, partner), BM_SETCHECK, BST_UNCHECKED, 0, SMTO_ABORTIFHUNG, 2000,
                      &ignored);
  SendMessageTimeoutW(GetDlgItem(window, id), BM_SETCHECK, BST_CHECKED, 0, SMTO_ABORTIFHUNG, 2000, &ignored);
  PostButtonClick(window, id);
}

void SetControlText(HWND control, const std::wstring& text) {
  DWORD_PTR ignored = 0;
  SendMessageTimeoutW(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), SMTO_ABORTIFHUNG, 2000,
                      &ignored);
}

void TypeIntoEdit(HWND edit, const std::wstring& text) {
  DWORD_PTR ignored = 0;
  SendMessageTimeoutW(edit, EM_SETSEL, 0, -1, SMTO_ABORTIFHUNG, 2000, &ignored);
  SendMessageTimeoutW(edit, WM_CHAR, VK_BACK, 0, SMTO_ABORTIFHUNG, 2000, &ignored);
  for (const wchar_t ch : text) SendMessageTimeoutW(edit, WM_CHAR, ch, 0, SMTO_ABORTIFHUNG, 2000, &ignored);
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

void PressKey(WORD virtualKey) {
  SendKey(virtualKey, false);
  SendKey(virtualKey, true);
}

void KeyDown(WORD virtualKey) {
  SendKey(virtualKey, false);
}

void KeyUp(WORD virtualKey) {
  SendKey(virtualKey, true);
}

void SideButton(int button, bool down) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.mouseData = button == 1 ? XBUTTON1 : XBUTTON2;
  input.mi.dwFlags = down ? MOUSEEVENTF_XDOWN : MOUSEEVENTF_XUP;
  SendInput(1, &input, sizeof(INPUT));
}

void MoveCursorTo(int x, int y) {
  // Wine can lose a warp that races with its own pointer bookkeeping (seen right after a
  // message box closed), so repeat until the system reports the new position.
  WaitUntil(
      [x, y] {
        SetCursorPos(x, y);
        PumpFor(20);
        POINT now{};
        return GetCursorPos(&now) && now.x == x && now.y == y;
      },
      2000);
}

namespace {

std::wstring ArtifactsFolder() {
  std::wstring folder = EnvironmentValue(L"KESTUL_ARTIFACTS");
  if (folder.empty()) return {};
  if (folder.front() == L'/') folder = L"Z:" + folder;  // a Unix path from the test script
  std::replace(folder.begin(), folder.end(), L'/', L'\\');
  return folder;
}

}  // namespace

std::vector<COLORREF> CaptureScreen(const RECT& area) {
  const LONG width = area.right - area.left, height = area.bottom - area.top;
  std::vector<COLORREF> pixels;
  if (width <= 0 || height <= 0) return pixels;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top row first
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (bitmap != nullptr) {
    HGDIOBJ old = SelectObject(memory, bitmap);
    if (BitBlt(memory, 0, 0, width, height, screen, area.left, area.top, SRCCOPY | CAPTUREBLT)) {
      GdiFlush();
      const auto* bgra = static_cast<const RGBQUAD*>(bits);
      pixels.reserve(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
      for (std::size_t i = 0; i < static_cast<std::size_t>(width) * static_cast<std::size_t>(height); ++i) {
        pixels.push_back(RGB(bgra[i].rgbRed, bgra[i].rgbGreen, bgra[i].rgbBlue));
      }
    }
    SelectObject(memory, old);
    DeleteObject(bitmap);
  }
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return pixels;
}

void SaveScreenshot(const std::wstring& name, HWND window) {
  const std::wstring folder = ArtifactsFolder();
  if (folder.empty()) return;
  // A window that has just appeared may not have painted itself yet.
  PumpFor(400);
  const int left = GetSystemMetrics(SM_XVIRTUALSCREEN), top = GetSystemMetrics(SM_YVIRTUALSCREEN);
  RECT area{left, top, left + GetSystemMetrics(SM_CXVIRTUALSCREEN),
            top + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
  if (window != nullptr) GetWindowRect(window, &area);
  const std::vector<COLORREF> pixels = CaptureScreen(area);
  if (pixels.empty()) return;
  // A bottom-up 24-bit BMP, rows padded to four bytes.
  const LONG width = area.right - area.left, height = area.bottom - area.top;
  const auto stride = static_cast<std::size_t>((width * 3 + 3) / 4 * 4);
  std::string image(stride * static_cast<std::size_t>(height), '\0');
  for (LONG y = 0; y < height; ++y) {
    char* row = &image[stride * static_cast<std::size_t>(height - 1 - y)];
    for (LONG x = 0; x < width; ++x) {
      const COLORREF c = pixels[static_cast<std::size_t>(y * width + x)];
      row[3 * x] = static_cast<char>(GetBValue(c));
      row[3 * x + 1] = static_cast<char>(GetGValue(c));
      row[3 * x + 2] = static_cast<char>(GetRValue(c));
    }
  }
  BITMAPINFOHEADER header{};
  header.biSize = sizeof(header);
  header.biWidth = width;
  header.biHeight = height;
  header.biPlanes = 1;
  header.biBitCount = 24;
  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
  file.bfSize = file.bfOffBits + static_cast<DWORD>(image.size());
  std::string bytes(reinterpret_cast<const char*>(&file), sizeof(file));
  bytes.append(reinterpret_cast<const char*>(&header), sizeof(header));
  bytes += image;
  WriteFileBytes(folder + L"\\" + name + L".bmp", bytes);
}

}  // namespace kestul::test
