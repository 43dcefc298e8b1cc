#pragma once
#include <windows.h>

#include <commctrl.h>

// The program's dialogs in the palette. In the dark app mode the page, its
// texts, text boxes, lists, buttons and tab strips take the palette's
// colours, and what the system would still draw light (push buttons, check
// boxes, option buttons, tabs) the program draws itself. In the light and
// high-contrast modes the system draws every control as ever.
namespace tavi {

// The title bar and every control of the dialog in the palette's look;
// called again once the colours change.
void ThemeDialogControls(HWND dialog);
// For a dialog's WM_CTLCOLOR* messages: the brush, with the DC's colours
// set, or 0 where the system colours the control.
INT_PTR DialogControlColours(UINT message, HDC dc);
// For NM_CUSTOMDRAW: a push button, check box or option button drawn whole
// in the palette (CDRF_SKIPDEFAULT), or left to the system (CDRF_DODEFAULT).
LRESULT DrawButtonInPalette(const NMCUSTOMDRAW& draw);
// A tab strip's own painting in the palette: true when it was painted, false
// where the system paints it.
bool PaintTabsInPalette(HWND tab);

}  // namespace tavi
