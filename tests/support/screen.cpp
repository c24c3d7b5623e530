#include "support/screen.h"

#include <algorithm>

#include "clicker/send_input_adapter.h"
#include "common/unique_handle.h"
#include "support/files.h"
#include "support/process.h"
#include "support/recording_window.h"

namespace kestul::test {

namespace {

std::wstring ArtifactsFolder() {
  std::wstring folder = EnvironmentValue(L"KESTUL_ARTIFACTS");
  if (folder.empty()) return {};
  if (folder.front() == L'/') folder = L"Z:" + folder;  // a Unix path from the test script
  std::replace(folder.begin(), folder.end(), L'/', L'\\');
  return folder;
}

// A bottom-up 24-bit BMP, rows padded to four bytes.
std::string Bitmap(const std::vector<COLORREF>& pixels, LONG width, LONG height) {
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
  return bytes + image;
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
  const WindowDc screen(nullptr);
  const UniqueMemoryDc memory(CreateCompatibleDC(screen.get()));
  void* bits = nullptr;
  const UniqueBitmap bitmap(CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!screen || !memory || !bitmap) return pixels;
  const HGDIOBJ old = SelectObject(memory.get(), bitmap.get());
  if (BitBlt(memory.get(), 0, 0, width, height, screen.get(), area.left, area.top, SRCCOPY | CAPTUREBLT)) {
    GdiFlush();
    const auto* bgra = static_cast<const RGBQUAD*>(bits);
    const std::size_t count = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    pixels.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
      pixels.push_back(RGB(bgra[i].rgbRed, bgra[i].rgbGreen, bgra[i].rgbBlue));
    }
  }
  SelectObject(memory.get(), old);
  return pixels;
}

void SaveScreenshot(const std::wstring& name, HWND window) {
  const std::wstring folder = ArtifactsFolder();
  if (folder.empty()) return;
  // A window that has just appeared may not have painted itself yet.
  PumpFor(400);
  const VirtualScreen screen = CurrentVirtualScreen();
  RECT area{screen.left, screen.top, screen.left + screen.width, screen.top + screen.height};
  if (window != nullptr) GetWindowRect(window, &area);
  const std::vector<COLORREF> pixels = CaptureScreen(area);
  if (pixels.empty()) return;
  WriteFileBytes(folder + L"\\" + name + L".bmp",
                 Bitmap(pixels, area.right - area.left, area.bottom - area.top));
}

}  // namespace kestul::test
