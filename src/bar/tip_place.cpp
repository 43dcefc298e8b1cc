#include "bar/tip_place.h"

#include <algorithm>

namespace tavi {
namespace {

// `start` moved so that [start, start + length) lies in [low, high) where it can.
int32_t KeptWithin(int32_t start, int32_t length, int32_t low, int32_t high) {
    return std::max(low, std::min(start, high - length));
}

}  // namespace

Rect TipBesideBar(DockEdge edge, const Rect& bar, const Rect& button, int tipWidth, int tipHeight,
                  const Rect& monitor, int gap) {
    int32_t left = 0, top = 0;
    switch (edge) {
        case DockEdge::Left:
        case DockEdge::Right:
            left = edge == DockEdge::Left ? bar.right + gap : bar.left - gap - tipWidth;
            top = KeptWithin(button.top + (button.Height() - tipHeight) / 2, tipHeight, monitor.top, monitor.bottom);
            break;
        case DockEdge::Top:
        case DockEdge::Bottom:
            top = edge == DockEdge::Top ? bar.bottom + gap : bar.top - gap - tipHeight;
            left = KeptWithin(button.left + (button.Width() - tipWidth) / 2, tipWidth, monitor.left, monitor.right);
            break;
    }
    return MakeRect(left, top, tipWidth, tipHeight);
}

}  // namespace tavi
