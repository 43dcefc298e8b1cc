#pragma once
#include <windows.h>

#include <string>

namespace tavi {

// Our picture of a monitor, drawn to fill `area`, with the bar shown on the
// edge of its screen that option button `position` (0 top, 1 bottom, 2 left,
// 3 right) stands for, and the number of the chosen monitor in the middle of
// its screen (none when empty) in `font`. Drawn from its twips, so it is
// sharp at every scale.
void DrawMonitorPicture(HDC dc, const RECT& area, int position, const std::wstring& number = {},
                        HFONT font = nullptr);

}  // namespace tavi
