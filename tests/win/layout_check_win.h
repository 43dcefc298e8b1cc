#pragma once
// What a person sees wrong in a window's layout, measured on the live
// window: fonts that differ from the window's own, controls reaching outside
// their parent or over a sibling, texts that do not fit their control, and
// two of its shown controls (one page of a dialog) with one access key.
#include <windows.h>

#include <string>
#include <vector>

namespace layout_check {

// Every fault found in `window` and its visible child controls, one line
// each naming the control. `pointSize` is the size the window's font has
// in its template (0: the window has no font of its own and only the
// geometry is checked).
std::vector<std::string> Problems(HWND window, int pointSize);

}  // namespace layout_check
