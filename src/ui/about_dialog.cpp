#include "ui/about_dialog.h"

#include <shellapi.h>

#include "common/unique_handle.h"
#include "product_info.h"
#include "ui/controls.h"
#include "ui/resource_ids.h"

namespace kestul {

namespace {

// What the dialog keeps for its life: the window's state, and the link's font, which outlives the
// dialog's controls that use it until they are gone.
struct AboutContext {
  AppState& state;
  UniqueFont linkFont;
};

// The link's underlined copy of the dialog font.
void CreateLinkFont(HWND dialog, UniqueFont& owner) {
  auto* dialogFont = reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0));
  LOGFONTW font{};
  if (dialogFont == nullptr || GetObjectW(dialogFont, sizeof(font), &font) == 0) return;
  font.lfUnderline = TRUE;
  owner.reset(CreateFontIndirectW(&font));
  if (owner)
    SendDlgItemMessageW(dialog, IDC_ABOUT_LINK, WM_SETFONT, reinterpret_cast<WPARAM>(owner.get()), TRUE);
}

// Null before WM_INITDIALOG.
AboutContext* ContextOf(HWND dialog) {
  return reinterpret_cast<AboutContext*>(GetWindowLongPtrW(dialog, DWLP_USER));
}

void OpenProductPage(HWND dialog) {
  ShellExecuteW(dialog, L"open", L"" KESTUL_PRODUCT_URL, nullptr, nullptr, SW_SHOWNORMAL);
}

// The link in the palette's link colour. In high contrast that is COLOR_HOTLIGHT, which belongs on
// COLOR_WINDOW: the dialog and its texts then take the window's colours, not the dialog face.
// cppcheck-suppress constParameter ; HWND is a handle, not data the function could leave alone
INT_PTR StaticColours(HWND dialog, HDC dc, HWND control) {
  const AboutContext* context = ContextOf(dialog);
  if (context == nullptr) return FALSE;
  const Palette& palette = context->state.palette;
  const bool link = control == GetDlgItem(dialog, IDC_ABOUT_LINK);
  if (!link && !palette.systemColours) return FALSE;
  SetTextColor(dc, link ? palette.link : palette.text);
  SetBkMode(dc, TRANSPARENT);
  return reinterpret_cast<INT_PTR>(GetSysColorBrush(palette.systemColours ? COLOR_WINDOW : COLOR_BTNFACE));
}

INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      SetWindowLongPtrW(dialog, DWLP_USER, lParam);
      CreateLinkFont(dialog, reinterpret_cast<AboutContext*>(lParam)->linkFont);
      return TRUE;
    case WM_CTLCOLORDLG:
      if (ContextOf(dialog) == nullptr || !ContextOf(dialog)->state.palette.systemColours) return FALSE;
      return reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_WINDOW));
    case WM_CTLCOLORSTATIC:
      return StaticColours(dialog, reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_SYSCOLORCHANGE:
      ForwardColourChange(dialog);
      return TRUE;
    case WM_SETCURSOR:
      if (reinterpret_cast<HWND>(wParam) != GetDlgItem(dialog, IDC_ABOUT_LINK)) return FALSE;
      SetCursor(LoadCursorW(nullptr, IDC_HAND));
      SetWindowLongPtrW(dialog, DWLP_MSGRESULT, TRUE);
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDC_ABOUT_LINK) {
        if (HIWORD(wParam) != STN_CLICKED) return FALSE;
        OpenProductPage(dialog);
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

void ShowAboutDialog(AppState& state) {
  AboutContext context{state, {}};
  // Its loop dispatches the window's messages while it is open, which the gate knows of.
  ++state.openDialogs;
  DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_ABOUT), state.window, AboutDialogProc,
                  reinterpret_cast<LPARAM>(&context));
  --state.openDialogs;
}

}  // namespace kestul
