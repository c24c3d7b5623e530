// The child controls of the main window: creation, layout and colours.
#pragma once

#include <windows.h>

#include <iterator>
#include <string_view>

#include "app/app_state.h"
#include "common/message_texts.h"

namespace kestul {

// The main view, or the settings view that replaces it in the same client area.
enum class View { Main, Settings };

// 96-DPI client coordinates, scaled to the window's DPI by ScaleForDpi.
struct Rect96 {
  int x, y, width, height;
};

struct ControlSpec {
  int id;
  const wchar_t* className;
  DWORD style;
  Rect96 rect;
  View view;
  const wchar_t* text;
};

// The settings view's hint under the start/stop key selector.
inline constexpr wchar_t kToggleHint[] =
    L"F1～F11（F6・F9を除く）またはマウス横ボタン1/2を選べます。\nF6は位置登録、F9は緊急停止として固定です。";

// Every child control, in creation order, which is also the sibling and Tab order. Creation,
// layout, the two views and the group boxes' heading font all come from here. A field's label
// comes just before it: screen readers name an edit or a combo box by the static text they find
// going back through its siblings, and stop at a control with WS_GROUP | WS_TABSTOP.
// clang-format off
constexpr ControlSpec kControls[] = {
    {IDC_GROUP_TARGET,         L"BUTTON",   BS_GROUPBOX,                                {12, 12, 356, 92},   View::Main,     L"クリック位置"},
    {IDC_GROUP_CLICK,          L"BUTTON",   BS_GROUPBOX,                                {12, 114, 356, 120}, View::Main,     L"クリック設定"},
    {IDC_GROUP_RUN,            L"BUTTON",   BS_GROUPBOX,                                {12, 244, 356, 76},  View::Main,     L"実行"},
    {IDC_GROUP_KEYS,           L"BUTTON",   BS_GROUPBOX,                                {12, 12, 356, 150},  View::Settings, L"キー設定"},
    {IDC_GROUP_SAVED,          L"BUTTON",   BS_GROUPBOX,                                {12, 172, 356, 92},  View::Settings, L"保存位置"},
    {IDC_TARGET_CURRENT,       L"BUTTON",   BS_AUTORADIOBUTTON | WS_TABSTOP | WS_GROUP, {28, 40, 155, 24},   View::Main,     L"現在の位置(&C)"},
    {IDC_TARGET_SAVED,         L"BUTTON",   BS_AUTORADIOBUTTON | WS_TABSTOP,            {28, 70, 324, 24},   View::Main,     L""},  // UpdatePositionLabels
    {IDC_BUTTON_LEFT,          L"BUTTON",   BS_AUTORADIOBUTTON | WS_TABSTOP | WS_GROUP, {28, 140, 105, 24},  View::Main,     L"左クリック(&L)"},
    {IDC_BUTTON_RIGHT,         L"BUTTON",   BS_AUTORADIOBUTTON | WS_TABSTOP,            {28, 170, 110, 24},  View::Main,     L"右クリック(&R)"},
    {IDC_INTERVAL_LABEL,       L"STATIC",   SS_LEFT,                                    {28, 204, 80, 24},   View::Main,     L"間隔 (ms):"},
    {IDC_INTERVAL,             L"EDIT",     ES_NUMBER | WS_BORDER | WS_TABSTOP,         {112, 200, 110, 29}, View::Main,     L"100"},
    {IDC_REGISTER_POSITION,    L"BUTTON",   BS_PUSHBUTTON | WS_TABSTOP,                 {182, 226, 170, 31}, View::Settings, L"現在位置を登録(&P)  F6"},
    {IDC_START_STOP,           L"BUTTON",   BS_DEFPUSHBUTTON | WS_TABSTOP,              {28, 271, 324, 34},  View::Main,     kStartCaption},
    {IDC_SAVED_POSITION_LABEL, L"STATIC",   SS_LEFT,                                    {28, 198, 324, 24},  View::Settings, L""},  // UpdatePositionLabels
    {IDC_TOGGLE_LABEL,         L"STATIC",   SS_LEFT,                                    {28, 47, 96, 24},    View::Settings, L"開始・停止:"},
    {IDC_TOGGLE_KEY,           L"COMBOBOX", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, {128, 42, 224, 260}, View::Settings, L""},
    {IDC_TOGGLE_HINT,          L"STATIC",   SS_LEFT,                                    {28, 83, 324, 58},   View::Settings, kToggleHint},
    {IDC_SETTINGS_APPLY,       L"BUTTON",   BS_DEFPUSHBUTTON | WS_TABSTOP,              {102, 282, 120, 34}, View::Settings, L"適用(&A)"},
    {IDC_SETTINGS_CANCEL,      L"BUTTON",   BS_PUSHBUTTON | WS_TABSTOP,                 {232, 282, 120, 34}, View::Settings, L"キャンセル"},
};
// clang-format on

// Each id of the window exactly once: AppState::controls has a slot for each.
constexpr bool EachIdOnce() {
  bool seen[kControlCount] = {};
  for (const ControlSpec& c : kControls) {
    const int slot = c.id - kFirstControlId;
    if (slot < 0 || slot >= kControlCount || seen[slot]) return false;
    seen[slot] = true;
  }
  return std::size(kControls) == kControlCount;
}
static_assert(EachIdOnce(), "every control id once, and no other");

constexpr bool IsField(const ControlSpec& c) {
  const std::wstring_view kind = c.className;
  return kind == L"EDIT" || kind == L"COMBOBOX";
}

constexpr bool EachFieldAfterItsLabel() {
  for (std::size_t i = 0; i < std::size(kControls); ++i) {
    if (IsField(kControls[i]) && (i == 0 || std::wstring_view(kControls[i - 1].className) != L"STATIC")) {
      return false;
    }
  }
  return true;
}
static_assert(EachFieldAfterItsLabel(), "a field's label is created just before it");

constexpr bool IsGroupBox(const ControlSpec& c) {
  return (c.style & BS_TYPEMASK) == BS_GROUPBOX;
}

HWND CreateChildControl(AppState& state, const wchar_t* className, const wchar_t* text, DWORD style, int id);
// Moves every control (both views) to its rectangle at the window's DPI.
void LayoutControls(const AppState& state);
// The user-interface steps of WM_CREATE: brushes, controls, items, theme, values, texts,
// layout, fonts, and the settings view hidden.
void CreateMainControls(AppState& state);

// Chooses the colours (the user's when high contrast is on) and makes the brushes; at creation
// and whenever the user changes theme. The About dialog takes its colours from them too.
void ApplyColours(AppState& state);
// Hands WM_SYSCOLORCHANGE on to every child of `window`: the common controls hear of a change of
// the system's colours only from their top-level window.
void ForwardColourChange(HWND window);

// Colour handlers; each returns the brush the message answers with.
LRESULT OnEraseBackground(const AppState& state, HDC dc);
HBRUSH OnCtlColorEdit(const AppState& state, HDC dc);
HBRUSH OnCtlColorButton(const AppState& state, HDC dc);
HBRUSH OnCtlColorStatic(const AppState& state, HDC dc, HWND control);

}  // namespace kestul
