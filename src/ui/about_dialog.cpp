#include "ui/about_dialog.h"

#include <shellapi.h>

#include "product_info.h"
#include "ui/resource_ids.h"

namespace kestul {

namespace {

constexpr COLORREF kLinkColour = RGB(0, 102, 204);

HFONT LinkFont(HWND dialog) {
  return reinterpret_cast<HFONT>(GetWindowLongPtrW(dialog, GWLP_USERDATA));
}

void CreateLinkFont(HWND dialog) {
  auto* dialogFont = reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0));
  LOGFONTW font{};
  if (dialogFont == nullptr || GetObjectW(dialogFont, sizeof(font), &font) == 0) return;
  font.lfUnderline = TRUE;
  HFONT link = CreateFontIndirectW(&font);
  if (link == nullptr) return;
  SetWindowLongPtrW(dialog, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(link));
  SendDlgItemMessageW(dialog, IDC_ABOUT_LINK, WM_SETFONT, reinterpret_cast<WPARAM>(link), TRUE);
}

}  // namespace

INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      CreateLinkFont(dialog);
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
    case WM_DESTROY:
      if (HFONT link = LinkFont(dialog)) {
        DeleteObject(link);
        SetWindowLongPtrW(dialog, GWLP_USERDATA, 0);
      }
      return FALSE;
    default:
      return FALSE;
  }
}

}  // namespace kestul
