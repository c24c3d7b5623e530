#include "ui/about_dialog.h"

#include <shellapi.h>

#include "common/unique_handle.h"
#include "product_info.h"
#include "ui/resource_ids.h"

namespace kestul {

namespace {

constexpr COLORREF kLinkColour = RGB(0, 102, 204);

// The link's underlined copy of the dialog font, into the owner the caller passed; it outlives the
// dialog's controls, which use it until they are gone.
void CreateLinkFont(HWND dialog, UniqueFont& owner) {
  auto* dialogFont = reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0));
  LOGFONTW font{};
  if (dialogFont == nullptr || GetObjectW(dialogFont, sizeof(font), &font) == 0) return;
  font.lfUnderline = TRUE;
  owner.reset(CreateFontIndirectW(&font));
  if (owner)
    SendDlgItemMessageW(dialog, IDC_ABOUT_LINK, WM_SETFONT, reinterpret_cast<WPARAM>(owner.get()), TRUE);
}

INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      CreateLinkFont(dialog, *reinterpret_cast<UniqueFont*>(lParam));
      return TRUE;
    case WM_CTLCOLORSTATIC:
      if (reinterpret_cast<HWND>(lParam) != GetDlgItem(dialog, IDC_ABOUT_LINK)) return FALSE;
      SetTextColor(reinterpret_cast<HDC>(wParam), kLinkColour);
      SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
      return reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_BTNFACE));
    case WM_SETCURSOR:
      if (reinterpret_cast<HWND>(wParam) != GetDlgItem(dialog, IDC_ABOUT_LINK)) return FALSE;
      SetCursor(LoadCursorW(nullptr, IDC_HAND));
      SetWindowLongPtrW(dialog, DWLP_MSGRESULT, TRUE);
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDC_ABOUT_LINK) {
        if (HIWORD(wParam) != STN_CLICKED) return FALSE;
        ShellExecuteW(dialog, L"open", L"" KESTUL_PRODUCT_URL, nullptr, nullptr, SW_SHOWNORMAL);
        return TRUE;
      }
      if (LOWORD(wParam) == IDOK) {
        EndDialog(dialog, 1);
        return TRUE;
      }
      return FALSE;
    case WM_CLOSE:
      EndDialog(dialog, 2);
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace

void ShowAboutDialog(HWND owner) {
  UniqueFont linkFont;
  DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_ABOUT), owner, AboutDialogProc,
                  reinterpret_cast<LPARAM>(&linkFont));
}

}  // namespace kestul
