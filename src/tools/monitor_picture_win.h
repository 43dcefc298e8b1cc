#pragma once
#include <windows.h>

namespace tavi {

// Our picture of a monitor, drawn to fill `area`, with the bar shown on the
// edge of its screen that option button `position` (0 top, 1 bottom, 2 left,
// 3 right) stands for. Drawn from its twips, so it is sharp at every scale.
void DrawMonitorPicture(HDC dc, const RECT& area, int position);

}  // namespace tavi
