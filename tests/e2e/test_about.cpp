// The About dialog of the real program: its texts, the link as drawn on screen, the cursor over
// it, which commands close it, and clicking going on behind it.
#include "support/app_fixture.h"

#include "ui/resource_ids.h"

#include <algorithm>
#include <vector>

namespace kestul::test {
namespace {

constexpr COLORREF kLinkColour = RGB(0, 102, 204);

HWND OpenAbout(const AppProcess& app) {
  PostMessageW(app.window(), WM_COMMAND, IDM_ABOUT, 0);
  HWND dialog = WaitForMessageBox(app.pid(), L"バージョン情報");
  if (dialog != nullptr) PumpFor(300);  // let it paint before the screen is read
  return dialog;
}

// The screen and the cursor are read over the dialog, which Windows' foreground lock may leave
// behind other windows: a program the test started is not the one in front.
void PutInFront(HWND dialog) {
  SetWindowPos(dialog, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  PumpFor(300);  // let what was covered paint
}

bool Closes(HWND dialog, DWORD ms = 3000) {
  return WaitUntil([dialog] { return !IsWindow(dialog); }, ms);
}

std::vector<std::wstring> ChildTexts(HWND dialog) {
  std::vector<std::wstring> texts;
  for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    texts.push_back(WindowText(child));
  }
  return texts;
}

// The pixels of a child window as they are on screen now.
struct ScreenArea {
  explicit ScreenArea(HWND child) {
    GetWindowRect(child, &rect);
    pixels = CaptureScreen(rect);
  }
  LONG Width() const { return rect.right - rect.left; }
  COLORREF At(LONG x, LONG y) const { return pixels[static_cast<std::size_t>(y * Width() + x)]; }
  int Count(COLORREF colour) const {
    return static_cast<int>(std::count(pixels.begin(), pixels.end(), colour));
  }

  RECT rect{};
  std::vector<COLORREF> pixels;
};

// The longest horizontal run of `colour` in the area, in pixels.
LONG LongestRun(const ScreenArea& area, COLORREF colour) {
  LONG best = 0;
  for (LONG y = 0; y < area.rect.bottom - area.rect.top; ++y) {
    LONG run = 0;
    for (LONG x = 0; x < area.Width(); ++x) {
      run = area.At(x, y) == colour ? run + 1 : 0;
      best = std::max(best, run);
    }
  }
  return best;
}

// Pixels of the area that are neither the dialog face nor the link colour: ordinary text.
int DarkPixels(const ScreenArea& area) {
  return static_cast<int>(std::count_if(area.pixels.begin(), area.pixels.end(), [](COLORREF c) {
    return GetRValue(c) + GetGValue(c) + GetBValue(c) < 200;
  }));
}

HCURSOR ShownCursor() {
  CURSORINFO info{};
  info.cbSize = sizeof(info);
  return GetCursorInfo(&info) ? info.hCursor : nullptr;
}

// Whether `shown` (a handle of another process) has the shape of a standard cursor. Returns
// false when this system does not let us read another process's cursor (Wine).
bool HasStandardShape(HCURSOR shown, LPCWSTR standard, bool* readable) {
  ICONINFO a{}, b{};
  *readable = GetIconInfo(shown, &a) != FALSE;
  if (!*readable || !GetIconInfo(LoadCursorW(nullptr, standard), &b)) return false;
  BITMAP ma{}, mb{};
  GetObjectW(a.hbmMask, sizeof(ma), &ma);
  GetObjectW(b.hbmMask, sizeof(mb), &mb);
  std::vector<unsigned char> bitsA(static_cast<std::size_t>(ma.bmWidthBytes) * ma.bmHeight);
  std::vector<unsigned char> bitsB(static_cast<std::size_t>(mb.bmWidthBytes) * mb.bmHeight);
  const bool sameSize = bitsA.size() == bitsB.size() && !bitsA.empty();
  if (sameSize) {
    GetBitmapBits(a.hbmMask, static_cast<LONG>(bitsA.size()), bitsA.data());
    GetBitmapBits(b.hbmMask, static_cast<LONG>(bitsB.size()), bitsB.data());
  }
  for (HBITMAP bitmap : {a.hbmMask, a.hbmColor, b.hbmMask, b.hbmColor}) {
    if (bitmap != nullptr) DeleteObject(bitmap);
  }
  return sameSize && a.xHotspot == b.xHotspot && a.yHotspot == b.yHotspot && bitsA == bitsB;
}

using AboutFixture = AppTest;

TEST_F(AboutFixture, ShowsTheProductTextsWithAnUnderlinedBlueLinkAndAHandCursor) {
  ASSERT_TRUE(Start());
  HWND dialog = OpenAbout(app);
  ASSERT_NE(dialog, nullptr);
  PutInFront(dialog);
  EXPECT_EQ(ChildTexts(dialog), (std::vector<std::wstring>{
                                    L"" KESTUL_PRODUCT_NAME, L"Version " KESTUL_VERSION_TEXT, L"公式サイト",
                                    L"" KESTUL_PRODUCT_URL, L"Copyright (C) 2026 KESTUL", L"OK"}));
  SaveScreenshot(L"about-dialog", dialog);

  HWND link = GetDlgItem(dialog, IDC_ABOUT_LINK);
  ASSERT_NE(link, nullptr);
  const ScreenArea linkArea(link);
  EXPECT_GT(linkArea.Count(kLinkColour), 20) << "the link is drawn in its colour";
  EXPECT_EQ(DarkPixels(linkArea), 0) << "no text of the link in the default colour";
  // The underline is one unbroken line under the whole text; letters alone never run that long.
  EXPECT_GT(LongestRun(linkArea, kLinkColour), linkArea.Width() / 2);
  for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    if (child == link) continue;
    const ScreenArea area(child);
    EXPECT_EQ(area.Count(kLinkColour), 0) << "only the link uses the link colour";
  }
  const ScreenArea title(GetWindow(dialog, GW_CHILD));
  EXPECT_GT(DarkPixels(title), 20) << "the other texts keep the default colour";

  RECT linkRect{}, ok{};
  GetWindowRect(link, &linkRect);
  GetWindowRect(GetDlgItem(dialog, IDOK), &ok);
  const POINT overLink{linkRect.left + 10, (linkRect.top + linkRect.bottom) / 2};
  const POINT overFace{ok.left - 20, ok.bottom + 4};
  MoveCursorTo(overFace);
  PumpFor(200);
  const HCURSOR faceCursor = ShownCursor();
  MoveCursorTo(overLink);
  ASSERT_TRUE(WaitUntil([&] { return ShownCursor() != faceCursor; }, 3000))
      << "the cursor changes over the link";
  bool readable = false;
  const bool hand = HasStandardShape(ShownCursor(), IDC_HAND, &readable);
  if (readable) {
    EXPECT_TRUE(hand) << "the hand over the link";
  }
  MoveCursorTo(overFace);
  EXPECT_TRUE(WaitUntil([&] { return ShownCursor() == faceCursor; }, 3000)) << "and back off it";

  PostMessageW(dialog, WM_COMMAND, IDOK, 0);
  EXPECT_TRUE(Closes(dialog));
}

TEST_F(AboutFixture, EscapeDoesNotCloseItWhileOkEnterAndTheCloseBoxDo) {
  ASSERT_TRUE(Start());

  HWND dialog = OpenAbout(app);
  ASSERT_NE(dialog, nullptr);
  PressKeyIn(dialog, VK_ESCAPE);
  PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
  EXPECT_FALSE(Closes(dialog, 1000)) << "Esc closed the dialog";
  PressKeyIn(dialog, VK_RETURN);
  EXPECT_TRUE(Closes(dialog)) << "Enter on the default button";

  dialog = OpenAbout(app);
  ASSERT_NE(dialog, nullptr);
  PostMessageW(dialog, WM_CLOSE, 0, 0);
  EXPECT_TRUE(Closes(dialog)) << "the close box";

  dialog = OpenAbout(app);
  ASSERT_NE(dialog, nullptr);
  PostButtonClick(dialog, IDOK);
  EXPECT_TRUE(Closes(dialog)) << "the OK button";
}

TEST_F(AboutFixture, ClickingGoesOnWhileTheDialogIsOpen) {
  RecordingWindow target(targetArea);
  ASSERT_TRUE(Start());
  MoveCursorTo(insideTarget);
  PressKey(VK_F8);
  ASSERT_TRUE(BecomesRunning());
  HWND dialog = OpenAbout(app);
  ASSERT_NE(dialog, nullptr);
  MoveCursorTo(insideTarget);
  const int before = target.Count(WM_LBUTTONUP);
  EXPECT_TRUE(WaitUntil([&] { return target.Count(WM_LBUTTONUP) >= before + 3; }, 5000));
  EXPECT_EQ(StartStopText(), kStopCaption);
  PressKey(VK_F8);
  EXPECT_TRUE(BecomesIdle()) << "the start/stop key stops with the dialog open";
  // Under the dialog nothing starts, registers or opens a second dialog.
  const std::wstring saved = WindowText(app.Control(IDC_TARGET_SAVED));
  PressKey(VK_F8);
  PressKey(VK_F6);
  PostMessageW(app.window(), WM_COMMAND, IDM_ABOUT, 0);
  EXPECT_TRUE(StaysIdle(800));
  EXPECT_EQ(WindowText(app.Control(IDC_TARGET_SAVED)), saved);
  PostMessageW(dialog, WM_COMMAND, IDOK, 0);
  EXPECT_TRUE(Closes(dialog));
  EXPECT_EQ(AnyMessageBox(app.pid()), nullptr);
}

}  // namespace
}  // namespace kestul::test
