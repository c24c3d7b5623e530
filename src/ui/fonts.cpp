#include "ui/fonts.h"

#include <cwchar>

#include "ui/controls.h"

namespace kestul {

namespace {

int CALLBACK FoundFamily(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
  *reinterpret_cast<bool*>(found) = true;
  return 0;
}

}  // namespace

bool IsFontFamilyInstalled(HWND window, const wchar_t* faceName) {
  LOGFONTW font{};
  font.lfCharSet = DEFAULT_CHARSET;
  // A name cut to fit could match some other family.
  if (wcsncpy_s(font.lfFaceName, faceName, _TRUNCATE) != 0) return false;
  const WindowDc dc(window);
  if (!dc) return false;
  bool found = false;
  EnumFontFamiliesExW(dc.get(), &font, FoundFamily, reinterpret_cast<LPARAM>(&found), 0);
  return found;
}

UniqueFont CreateUiFont(HWND window, int dpi, int weight) {
  const wchar_t* face = L"Segoe UI";
  if (IsFontFamilyInstalled(window, L"Yu Gothic UI")) {
    face = L"Yu Gothic UI";
  } else if (IsFontFamilyInstalled(window, L"Meiryo UI")) {
    face = L"Meiryo UI";
  }
  return UniqueFont(CreateFontW(-MulDiv(10, dpi, 72), 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY,
                                DEFAULT_PITCH | FF_DONTCARE, face));
}

void ApplyFonts(AppState& state) {
  const int dpi = static_cast<int>(GetDpiForWindow(state.window));
  UniqueFont normal = CreateUiFont(state.window, dpi, FW_NORMAL);
  UniqueFont heading = CreateUiFont(state.window, dpi, FW_SEMIBOLD);
  if (!normal || !heading) return;

  for (const ControlSpec& c : kControls) {
    HFONT font = IsGroupBox(c) ? heading.get() : normal.get();
    SendMessageW(Control(state, c.id), WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  }
  // Moving the new pair in releases the old one, after every control holds the new fonts.
  state.normalFont = std::move(normal);
  state.headingFont = std::move(heading);
}

}  // namespace kestul
