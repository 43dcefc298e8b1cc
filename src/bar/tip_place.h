#pragma once
#include "bar/bar_geometry.h"
#include "platform/rect.h"

namespace tavi {

// Where the tooltip naming a button stands: beside the bar (or the group
// box that continues it) on the side away from the screen edge it is docked
// to, so that nothing of it lies under the bar, centred on the button and
// kept on the monitor. `gap` pixels lie between the bar and the tip.
Rect TipBesideBar(DockEdge edge, const Rect& bar, const Rect& button, int tipWidth, int tipHeight,
                  const Rect& monitor, int gap);

}  // namespace tavi
