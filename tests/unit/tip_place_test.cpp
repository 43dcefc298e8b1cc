#include <gtest/gtest.h>

#include <algorithm>

#include "bar/tip_place.h"

using namespace tavi;

namespace {

const Rect kMonitor{0, 0, 1280, 1024};

// A 41-pixel bar on each edge, the button at 100..139 along it, a 120 x 20 tip.
struct Case {
    const char* name;
    DockEdge edge;
    Rect bar, button;
    Rect tip;
};

}  // namespace

TEST(TipBesideBar, StandsOutsideTheBarOnTheSideAwayFromItsEdgeCentredOnTheButton) {
    const Case cases[] = {
        {"left", DockEdge::Left, {0, 0, 41, 1024}, {1, 100, 40, 139}, {43, 109, 163, 129}},
        {"right", DockEdge::Right, {1239, 0, 1280, 1024}, {1240, 100, 1279, 139}, {1117, 109, 1237, 129}},
        {"top", DockEdge::Top, {0, 0, 1280, 41}, {100, 1, 139, 40}, {60, 43, 180, 63}},
        {"bottom", DockEdge::Bottom, {0, 983, 1280, 1024}, {100, 984, 139, 1023}, {60, 961, 180, 981}},
        // At the monitor's ends the tip slides along the bar rather than off the screen.
        {"left, last button", DockEdge::Left, {0, 0, 41, 1024}, {1, 1010, 40, 1024}, {43, 1004, 163, 1024}},
        {"top, first button", DockEdge::Top, {0, 0, 1280, 41}, {0, 1, 39, 40}, {0, 43, 120, 63}},
    };
    for (const Case& c : cases) {
        const Rect tip = TipBesideBar(c.edge, c.bar, c.button, 120, 20, kMonitor, 2);
        EXPECT_EQ(tip, c.tip) << c.name << ": {" << tip.left << "," << tip.top << "," << tip.right << ","
                              << tip.bottom << "}";
        Rect common{std::max(tip.left, c.bar.left), std::max(tip.top, c.bar.top), std::min(tip.right, c.bar.right),
                    std::min(tip.bottom, c.bar.bottom)};
        EXPECT_TRUE(common.left >= common.right || common.top >= common.bottom) << c.name << ": over the bar";
    }
}
