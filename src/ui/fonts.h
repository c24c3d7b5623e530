// The two interface fonts, chosen by installed face and sized for the window's DPI.
#pragma once

#include <windows.h>

#include "app/app_state.h"
#include "common/unique_handle.h"

namespace kestul {

bool IsFontFamilyInstalled(HWND window, const wchar_t* faceName);
// Null when the font cannot be created.
UniqueFont CreateUiFont(HWND window, int dpi, int weight);
// New fonts for the current DPI to every control; the old pair is deleted only afterwards.
void ApplyFonts(AppState& state);

}  // namespace kestul
