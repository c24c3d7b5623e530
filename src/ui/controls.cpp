#include "ui/controls.h"

#include <uxtheme.h>

#include <iterator>
#include <string>

#include "ui/fonts.h"
#include "ui/position_labels.h"
#include "ui/settings_view.h"

namespace kestul {

namespace {

struct ControlTemplate {
  int id;
  const wchar_t* className;
  const wchar_t* text;
  DWORD style;
};

// In creation order, which is also the sibling and Tab order.
constexpr ControlTemplate kControls[] = {
    {IDC_GROUP_TARGET, L"BUTTON", L"クリック位置", BS_GROUPBOX},
    {IDC_GROUP_CLICK, L"BUTTON", L"クリック設定", BS_GROUPBOX},
    {IDC_GROUP_RUN, L"BUTTON", L"実行", BS_GROUPBOX},
    {IDC_GROUP_KEYS, L"BUTTON", L"キー設定", BS_GROUPBOX},
    {IDC_GROUP_SAVED, L"BUTTON", L"保存位置", BS_GROUPBOX},
    {IDC_TARGET_CURRENT, L"BUTTON", L"現在の位置(&C)", BS_AUTORADIOBUTTON | WS_TABSTOP | WS_GROUP},
    {IDC_TARGET_SAVED, L"BUTTON", L"保存した位置(&S)  未登録", BS_AUTORADIOBUTTON | WS_TABSTOP},
    {IDC_BUTTON_LEFT, L"BUTTON", L"左クリック(&L)", BS_AUTORADIOBUTTON | WS_TABSTOP | WS_GROUP},
    {IDC_BUTTON_RIGHT, L"BUTTON", L"右クリック(&R)", BS_AUTORADIOBUTTON | WS_TABSTOP},
    {IDC_INTERVAL, L"EDIT", L"100", ES_NUMBER | WS_BORDER | WS_TABSTOP},
    {IDC_REGISTER_POSITION, L"BUTTON", L"現在位置を登録(&P)  F6", BS_PUSHBUTTON | WS_TABSTOP},
    {IDC_START_STOP, L"BUTTON", L"開始(&A)", BS_DEFPUSHBUTTON | WS_TABSTOP},
    {IDC_SAVED_POSITION_LABEL, L"STATIC", L"保存位置: 未登録", SS_LEFT},
    {IDC_INTERVAL_LABEL, L"STATIC", L"間隔 (ms):", SS_LEFT},
    {IDC_TOGGLE_LABEL, L"STATIC", L"開始・停止:", SS_LEFT},
    {IDC_TOGGLE_KEY, L"COMBOBOX", L"", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP},
    {IDC_TOGGLE_HINT, L"STATIC",
     L"F1～F11（F6・F9を除く）またはマウス横ボタン1/"
     L"2を選べます。\nF6は位置登録、F9は緊急停止として固定です。",
     SS_LEFT},
    {IDC_SETTINGS_APPLY, L"BUTTON", L"適用(&A)", BS_DEFPUSHBUTTON | WS_TABSTOP},
    {IDC_SETTINGS_CANCEL, L"BUTTON", L"キャンセル", BS_PUSHBUTTON | WS_TABSTOP},
};

struct ControlRect {
  int id;
  int x, y, width, height;
};

// 96-DPI client coordinates; both views share the area.
constexpr ControlRect kLayout[] = {
    {108, 12, 12, 356, 92},   {100, 28, 40, 155, 24},   {101, 28, 70, 324, 24},   {109, 12, 114, 356, 120},
    {102, 28, 140, 105, 24},  {103, 28, 170, 110, 24},  {107, 28, 204, 80, 24},   {104, 112, 200, 110, 29},
    {110, 12, 244, 356, 76},  {106, 28, 271, 324, 34},  {111, 12, 12, 356, 150},  {112, 28, 47, 96, 24},
    {113, 128, 42, 224, 260}, {114, 28, 83, 324, 58},   {117, 12, 172, 356, 92},  {118, 28, 198, 324, 24},
    {105, 182, 226, 170, 31}, {115, 102, 282, 120, 34}, {116, 232, 282, 120, 34},
};

}  // namespace

HWND CreateChildControl(AppState& state, const wchar_t* className, const wchar_t* text, DWORD style, int id) {
  HWND control =
      CreateWindowExW(0, className, text, style | WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, state.window,
                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
  state.controls.at(static_cast<std::size_t>(id - kFirstControlId)) = control;
  return control;
}

// One batch, so the window is repainted once and not once per control.
void LayoutControls(const AppState& state) {
  const int dpi = static_cast<int>(GetDpiForWindow(state.window));
  const auto scaled = [dpi](int value) { return MulDiv(value, dpi, 96); };
  HDWP batch = BeginDeferWindowPos(static_cast<int>(std::size(kLayout)));
  for (const ControlRect& r : kLayout) {
    if (batch == nullptr) break;
    batch = DeferWindowPos(batch, Control(state, r.id), nullptr, scaled(r.x), scaled(r.y), scaled(r.width),
                           scaled(r.height), SWP_NOZORDER | SWP_NOACTIVATE);
  }
  if (batch != nullptr && EndDeferWindowPos(batch) != FALSE) return;
  // The batch could not be built (out of memory): one control at a time.
  for (const ControlRect& r : kLayout) {
    MoveWindow(Control(state, r.id), scaled(r.x), scaled(r.y), scaled(r.width), scaled(r.height), TRUE);
  }
}

bool HighContrastOn() {
  HIGHCONTRASTW contrast{};
  contrast.cbSize = sizeof(contrast);
  return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof(contrast), &contrast, 0) != FALSE &&
         (contrast.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

Palette SystemPalette() {
  return {.background = GetSysColor(COLOR_WINDOW),
          .text = GetSysColor(COLOR_WINDOWTEXT),
          .hint = GetSysColor(COLOR_WINDOWTEXT),
          .editBackground = GetSysColor(COLOR_WINDOW),
          .link = GetSysColor(COLOR_HOTLIGHT)};
}

void ApplyColours(AppState& state) {
  state.palette = ChoosePalette(HighContrastOn(), SystemPalette());
  state.backgroundBrush.reset(CreateSolidBrush(state.palette.background));
  state.editBrush.reset(CreateSolidBrush(state.palette.editBackground));
}

void CreateMainControls(AppState& state) {
  ApplyColours(state);

  for (const ControlTemplate& control : kControls) {
    CreateChildControl(state, control.className, control.text, control.style, control.id);
  }
  FillKeySelector(state);
  // Without uxtheme the controls keep the plain style, as when SetWindowTheme fails.
  if (auto* setWindowTheme = state.uxtheme.Find<decltype(SetWindowTheme)>("SetWindowTheme")) {
    for (int id = kFirstControlId; id < kFirstControlId + kControlCount; ++id) {
      setWindowTheme(Control(state, id), L"Explorer", nullptr);
    }
  }

  const bool saved = state.settings.mode == ClickMode::Saved;
  SendMessageW(Control(state, saved ? IDC_TARGET_SAVED : IDC_TARGET_CURRENT), BM_SETCHECK, BST_CHECKED, 0);
  const bool right = state.settings.button == ClickButton::Right;
  SendMessageW(Control(state, right ? IDC_BUTTON_RIGHT : IDC_BUTTON_LEFT), BM_SETCHECK, BST_CHECKED, 0);

  HWND interval = Control(state, IDC_INTERVAL);
  SetWindowTextW(interval, std::to_wstring(state.settings.interval_ms).c_str());
  SendMessageW(interval, EM_LIMITTEXT, 5, 0);

  UpdatePositionLabels(state);
  LayoutControls(state);
  ApplyFonts(state);
  for (const int id : kSettingsViewIds) ShowWindow(Control(state, id), SW_HIDE);
}

LRESULT OnEraseBackground(const AppState& state, HDC dc) {
  RECT client{};
  GetClientRect(state.window, &client);
  if (state.backgroundBrush) FillRect(dc, &client, state.backgroundBrush.get());
  return 1;
}

HBRUSH OnCtlColorEdit(const AppState& state, HDC dc) {
  SetBkColor(dc, state.palette.editBackground);
  SetTextColor(dc, state.palette.text);
  return state.editBrush.get();
}

HBRUSH OnCtlColorButton(const AppState& state, HDC dc) {
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, state.palette.text);
  return state.backgroundBrush.get();
}

// cppcheck-suppress constParameter ; HWND is a handle, not data the function could leave alone
HBRUSH OnCtlColorStatic(const AppState& state, HDC dc, HWND control) {
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, control == Control(state, IDC_TOGGLE_HINT) ? state.palette.hint : state.palette.text);
  return state.backgroundBrush.get();
}

}  // namespace kestul
