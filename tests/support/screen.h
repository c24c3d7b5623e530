// What is on the screen: pixels to check, and pictures kept for the reader of a test run.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace kestul::test {

// The pixels of `area` of the screen as they are now, row by row, in one copy of the screen (a read
// per pixel is a round trip to the compositor on Windows).
std::vector<COLORREF> CaptureScreen(const RECT& area);

// Saves the screen as <name>.bmp in the artifacts folder (KESTUL_ARTIFACTS): the area of
// `window` (frame included) when given, else the whole virtual screen.
void SaveScreenshot(const std::wstring& name, HWND window = nullptr);

}  // namespace kestul::test
