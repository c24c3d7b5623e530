#include "ui/controls.h"

#include <uxtheme.h>

#include <iterator>
#include <string>

#include "ui/fonts.h"
#include "ui/position_labels.h"
#include "ui/settings_view.h"

namespace kestul {

namespace {

bool HighContrastOn() {
  HIGHCONTRASTW contrast{};
  contrast.cbSize = sizeof(contrast);
  return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof(contrast), &contrast, 0) != FALSE &&
         (contrast.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

// Both backgrounds are COLOR_WINDOW, whose brush BrushOf hands out.
Palette SystemPalette() {
  return {.background = GetSysColor(COLOR_WINDOW),
          .text = GetSysColor(COLOR_WINDOWTEXT),
          .hint = GetSysColor(COLOR_WINDOWTEXT),
          .editBackground = GetSysColor(COLOR_WINDOW),
          .link = GetSysColor(COLOR_HOTLIGHT),
          .systemColours = true};
}

// The system's own brush for its colours, which it keeps current; ours for the program's.
HBRUSH BrushOf(const AppState& state, const UniqueBrush& own) {
  return state.palette.systemColours ? GetSysColorBrush(COLOR_WINDOW) : own.get();
}

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
  const UINT dpi = GetDpiForWindow(state.window);
  const auto scaled = [dpi](int value) { return static_cast<int>(ScaleForDpi(value, dpi)); };
  HDWP batch = BeginDeferWindowPos(static_cast<int>(std::size(kControls)));
  for (const ControlSpec& c : kControls) {
    if (batch == nullptr) break;
    batch = DeferWindowPos(batch, Control(state, c.id), nullptr, scaled(c.rect.x), scaled(c.rect.y),
                           scaled(c.rect.width), scaled(c.rect.height), SWP_NOZORDER | SWP_NOACTIVATE);
  }
  if (batch != nullptr && EndDeferWindowPos(batch) != FALSE) return;
  // The batch could not be built (out of memory): one control at a time.
  for (const ControlSpec& c : kControls) {
    MoveWindow(Control(state, c.id), scaled(c.rect.x), scaled(c.rect.y), scaled(c.rect.width),
               scaled(c.rect.height), TRUE);
  }
}

void ApplyColours(AppState& state) {
  state.palette = ChoosePalette(HighContrastOn(), SystemPalette());
  const bool own = !state.palette.systemColours;
  state.backgroundBrush.reset(own ? CreateSolidBrush(state.palette.background) : nullptr);
  state.editBrush.reset(own ? CreateSolidBrush(state.palette.editBackground) : nullptr);
}

void ForwardColourChange(HWND window) {
  for (HWND child = GetWindow(window, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    SendMessageW(child, WM_SYSCOLORCHANGE, 0, 0);
  }
}

void CreateMainControls(AppState& state) {
  ApplyColours(state);

  for (const ControlSpec& c : kControls) CreateChildControl(state, c.className, c.text, c.style, c.id);
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
  SendMessageW(interval, EM_LIMITTEXT, kIntervalDigits, 0);

  UpdatePositionLabels(state);
  LayoutControls(state);
  ApplyFonts(state);
  for (const ControlSpec& c : kControls) {
    if (c.view == View::Settings) ShowWindow(Control(state, c.id), SW_HIDE);
  }
}

LRESULT OnEraseBackground(const AppState& state, HDC dc) {
  RECT client{};
  GetClientRect(state.window, &client);
  if (HBRUSH brush = BrushOf(state, state.backgroundBrush)) FillRect(dc, &client, brush);
  return 1;
}

HBRUSH OnCtlColorEdit(const AppState& state, HDC dc) {
  SetBkColor(dc, state.palette.editBackground);
  SetTextColor(dc, state.palette.text);
  return BrushOf(state, state.editBrush);
}

HBRUSH OnCtlColorButton(const AppState& state, HDC dc) {
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, state.palette.text);
  return BrushOf(state, state.backgroundBrush);
}

// cppcheck-suppress constParameter ; HWND is a handle, not data the function could leave alone
HBRUSH OnCtlColorStatic(const AppState& state, HDC dc, HWND control) {
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, control == Control(state, IDC_TOGGLE_HINT) ? state.palette.hint : state.palette.text);
  return BrushOf(state, state.backgroundBrush);
}

}  // namespace kestul
