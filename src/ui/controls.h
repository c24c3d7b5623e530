// The nineteen child controls of the main window: creation, layout and colours.
#pragma once

#include <windows.h>

#include <array>

#include "app/app_state.h"

namespace kestul {

// The two views, in the order they are shown and hidden.
constexpr std::array<int, 10> kMainViewIds = {100, 101, 102, 103, 104, 106, 107, 108, 109, 110};
constexpr std::array<int, 9> kSettingsViewIds = {105, 111, 112, 113, 114, 115, 116, 117, 118};

HWND CreateChildControl(AppState& state, const wchar_t* className, const wchar_t* text, DWORD style, int id);
// Moves every control (both views) to its rectangle at the window's DPI.
void LayoutControls(const AppState& state);
// The user-interface steps of WM_CREATE: brushes, controls, items, theme, values, texts,
// layout, fonts, and the settings view hidden.
void CreateMainControls(AppState& state);

// High contrast on: the window and the About link then draw in the user's colours.
bool HighContrastOn();
Palette SystemPalette();
// Chooses the colours and makes the brushes; at creation and whenever the user changes theme.
void ApplyColours(AppState& state);

// Colour handlers; each returns the brush the message answers with.
LRESULT OnEraseBackground(const AppState& state, HDC dc);
HBRUSH OnCtlColorEdit(const AppState& state, HDC dc);
HBRUSH OnCtlColorButton(const AppState& state, HDC dc);
HBRUSH OnCtlColorStatic(const AppState& state, HDC dc, HWND control);

}  // namespace kestul
