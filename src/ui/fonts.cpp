#include "ui/fonts.h"

#include <cwchar>

namespace kestul {

namespace {

int CALLBACK FoundFamily(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
  *reinterpret_cast<bool*>(found) = true;
  return 0;
}

constexpr int kGroupBoxIds[] = {IDC_GROUP_TARGET, IDC_GROUP_CLICK, IDC_GROUP_RUN, IDC_GROUP_KEYS,
                                IDC_GROUP_SAVED};

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

HFONT CreateUiFont(HWND window, int dpi, int weight) {
  const wchar_t* face = L"Segoe UI";
  if (IsFontFamilyInstalled(window, L"Yu Gothic UI")) {
    face = L"Yu Gothic UI";
  } else if (IsFontFamilyInstalled(window, L"Meiryo UI")) {
    face = L"Meiryo UI";
  }
  return CreateFontW(-MulDiv(10, dpi, 72), 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                     OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                     face);
}

void ApplyFonts(AppState& state) {
  const int dpi = static_cast<int>(GetDpiForWindow(state.window));
  UniqueFont normal(CreateUiFont(state.window, dpi, FW_NORMAL));
  UniqueFont heading(CreateUiFont(state.window, dpi, FW_SEMIBOLD));
  if (!normal || !heading) return;

  for (int id = kFirstControlId; id < kFirstControlId + kControlCount; ++id) {
    SendMessageW(Control(state, id), WM_SETFONT, reinterpret_cast<WPARAM>(normal.get()), TRUE);
  }
  for (const int id : kGroupBoxIds) {
    SendMessageW(Control(state, id), WM_SETFONT, reinterpret_cast<WPARAM>(heading.get()), TRUE);
  }
  // Moving the new pair in releases the old one, after every control holds the new fonts.
  state.normalFont = std::move(normal);
  state.headingFont = std::move(heading);
}

}  // namespace kestul
