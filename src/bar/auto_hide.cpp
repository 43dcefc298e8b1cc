#include "bar/auto_hide.h"

namespace tavi {

namespace {

int32_t Factor(int32_t twipsPerPixel) { return UsableTwipsPerPixel(twipsPerPixel); }

// Sides are tested in a fixed order and the first that applies decides; the
// side lying on the screen edge never counts as leaving, so a pointer on a
// neighbouring monitor past that edge keeps the bar.
bool PointerHasLeft(DockEdge edge, int32_t mx, int32_t my, const Rect& bar) {
    if (mx < bar.left) return edge != DockEdge::Left;
    if (mx > bar.right) return edge != DockEdge::Right;
    if (my < bar.top) return edge != DockEdge::Top;
    return edge != DockEdge::Bottom && my > bar.bottom;
}

}  // namespace

PixelPoint PointFromMessagePos(uint32_t packed) {
    const auto x = static_cast<int16_t>(static_cast<uint16_t>(packed & 0xFFFFu));
    const auto y = static_cast<int16_t>(static_cast<uint16_t>(packed >> 16));
    return {x, y};
}

bool CoversMonitor(const Rect& window, const Rect& monitor, bool hasCaption) {
    if (hasCaption || monitor.Width() <= 0 || monitor.Height() <= 0) return false;
    return window.left <= monitor.left && window.top <= monitor.top && window.right >= monitor.right &&
           window.bottom >= monitor.bottom;
}

bool InShowZone(DockEdge edge, int32_t screenX, int32_t screenY, const ScreenInfo& screen) {
    const int32_t px = Factor(screen.twipsPerPixelX);
    const int32_t py = Factor(screen.twipsPerPixelY);
    // The zone is measured from the bar's monitor, as its taskbar is.
    const int32_t mx = screenX - screen.originXPixels * px;
    const int32_t my = screenY - screen.originYPixels * py;
    // A pointer on a neighbouring monitor is past an inner edge, not at it.
    if (mx < 0 || my < 0 || mx >= screen.widthTwips || my >= screen.heightTwips) return false;
    const Rect& tb = screen.taskbarPixels;
    // This classification is the zone's own; it does not follow ClassifyTaskbar.
    switch (edge) {
        case DockEdge::Right:
            if (tb.left < 1) return mx >= screen.widthTwips - px - 32;
            return mx >= px * tb.left - 32;
        case DockEdge::Left:
            if (tb.left < 1 && py * tb.Height() >= screen.heightTwips) return mx <= px * tb.right + 32;
            return mx <= 32;
        case DockEdge::Top:
            if (tb.left < 1 && tb.top < 1 && px * tb.Width() >= screen.widthTwips) return my <= py * tb.Height();
            return my <= 32;
        case DockEdge::Bottom:
            if (tb.top > 0) return my >= py * tb.top - 32;
            return my >= screen.heightTwips - 32;
    }
    return false;
}

std::vector<AutoHideAction> AutoHideState::Tick(const TickInput& input) {
    std::vector<AutoHideAction> actions;
    const auto emit = [&actions](AutoHideAction::Kind kind, Rect rect = {}) { actions.push_back({kind, rect}); };
    const auto setVisible = [&] {
        emit(AutoHideAction::SetVisible);
        barVisible = true;
        triggerVisible = false;
    };
    const int delay = input.delayIndex;

    if (input.autoHide && !barVisible && !triggerVisible) {
        emit(AutoHideAction::ShowEdgeTrigger);
        emit(AutoHideAction::PlaceEdgeTrigger, EdgeTriggerPixels(input.edge, input.screen));
        if (!input.fullScreenApp) emit(AutoHideAction::EdgeTriggerTopmost);
        triggerVisible = true;
    }

    const int32_t mx = input.pointer.x * Factor(input.screen.twipsPerPixelX);
    const int32_t my = input.pointer.y * Factor(input.screen.twipsPerPixelY);

    if (input.autoHide && !barVisible && input.fullScreenApp) {
        // No count runs up while the full-screen program is in front, so the
        // bar does not appear the moment it leaves.
        hideCounter = 0;
    } else if (input.autoHide && !barVisible) {
        const bool inZone = InShowZone(input.edge, mx, my, input.screen);
        if (input.edge == DockEdge::Bottom) {
            // The bottom edge counts every tick and only looks at the pointer
            // when the count runs over, once every delay + 2 ticks.
            if (delay < hideCounter) {
                hideCounter = 0;
                if (inZone) setVisible();
            } else {
                ++hideCounter;
            }
        } else if (inZone) {
            if (hideCounter < delay) {
                ++hideCounter;
            } else {
                hideCounter = 0;
                setVisible();
            }
        } else {
            // Only a pointer resting at the edge counts: one crossing to a
            // neighbouring monitor through an inner edge must not add up.
            hideCounter = 0;
        }
    }

    if (!PointerHasLeft(input.edge, mx, my, input.barWindow)) return actions;

    if (input.autoHide) {
        if (!barVisible) {
            hideCounter = 0;
        } else if (hideCounter < delay) {
            ++hideCounter;
        } else {
            hideCounter = 0;
            emit(AutoHideAction::ToolbarNotTopmost);
            emit(AutoHideAction::ShowEdgeTrigger);
            emit(AutoHideAction::HideBar);
            emit(AutoHideAction::EdgeTriggerToBottom);
            barVisible = false;
            triggerVisible = true;
        }
    }
    lastReleasePosition = -2;
    return actions;
}

bool AutoHideState::Settled(const TickInput& input) const {
    // Without auto-hide a tick does nothing the pointer's messages do not.
    if (!input.autoHide) return true;
    if (barVisible || !triggerVisible || hideCounter != 0) return false;
    const int32_t mx = input.pointer.x * Factor(input.screen.twipsPerPixelX);
    const int32_t my = input.pointer.y * Factor(input.screen.twipsPerPixelY);
    return !InShowZone(input.edge, mx, my, input.screen);
}

void AutoHideState::ShownByUser() {
    hideCounter = 0;
    barVisible = true;
    triggerVisible = false;
}

}  // namespace tavi
