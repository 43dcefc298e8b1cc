#pragma once
#include <windows.h>

#include "platform/colour_scheme.h"

// The palette in force for the program's windows, and the drawing that
// follows it. In light and high-contrast modes every function here calls the
// system's own drawing as the views did before; in dark mode it draws in the
// palette's fixed colours.
namespace tavi {

// Read on first use, then again by ColourSettingChanged.
const Palette& CurrentPalette();
// For each window that draws in the palette, on WM_SETTINGCHANGE (the app
// mode's "ImmersiveColorSet", high contrast) and WM_SYSCOLORCHANGE: true
// when the message is about colours, with the palette read again, so that
// the window draws itself anew whichever window heard the message first.
bool ColourSettingChanged(UINT message, WPARAM wParam, LPARAM lParam);

COLORREF ColourOf(const PaletteColour& colour);
// Fills without making a brush of its own.
void FillWithColour(HDC dc, const RECT& area, const PaletteColour& colour);

enum class ButtonFrame { Raised, Sunken, Hot, Pressed };  // as EDGE_RAISED, EDGE_SUNKEN, BDR_RAISEDINNER, BDR_SUNKENOUTER
void DrawButtonFrame(HDC dc, RECT rect, ButtonFrame frame);
// The keyboard's focus mark inside `rect`.
void DrawFocusMark(HDC dc, const RECT& rect);
// A line under the picture of `button`, as a taskbar marks a running program;
// its size follows the picture's, which follows the display scale.
void DrawRunningMark(HDC dc, const RECT& button, int pictureSize);
enum class Glyph { Close, Left, Right, Up, Down };
// A whole push button showing a glyph: face, frame and glyph, pushed or not.
void DrawGlyphButton(HDC dc, const RECT& rect, Glyph glyph, bool pushed);

// Title bars of the program's own top-level windows in the dark app mode
// (DWMWA_USE_IMMERSIVE_DARK_MODE); nothing where the system lacks it.
void ApplyTitleBarColours(HWND window);

}  // namespace tavi
