#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "bar/auto_hide.h"
#include "reference_screen.h"

namespace tavi {
void PrintTo(const AutoHideAction& a, std::ostream* os) {
    static const char* const names[] = {"ShowEdgeTrigger",   "PlaceEdgeTrigger", "EdgeTriggerTopmost", "SetVisible",
                                        "ToolbarNotTopmost", "HideBar",          "EdgeTriggerToBottom"};
    *os << names[a.kind];
    if (a.kind == AutoHideAction::PlaceEdgeTrigger)
        *os << "{" << a.rect.left << "," << a.rect.top << "," << a.rect.right << "," << a.rect.bottom << "}";
}
}  // namespace tavi

using namespace tavi;
using namespace tavi::reference;
using Actions = std::vector<AutoHideAction>;

namespace {

const AutoHideAction kSetVisible{AutoHideAction::SetVisible, {}};
const Actions kHide{{AutoHideAction::ToolbarNotTopmost, {}},
                    {AutoHideAction::ShowEdgeTrigger, {}},
                    {AutoHideAction::HideBar, {}},
                    {AutoHideAction::EdgeTriggerToBottom, {}}};

// The default bar: left edge, 32×32 icons, taskbar at the bottom; the window
// is 617 twips (41 px) wide and 14940 twips high.
TickInput DefaultTick(int32_t xPx, int32_t yPx, int delay = 1) {
    TickInput in;
    in.pointer = {xPx, yPx};
    in.screen = Screen1280(kTaskbarBottom);
    in.barWindow = MakeRect(0, 0, 617, 14940);
    in.edge = DockEdge::Left;
    in.autoHide = true;
    in.delayIndex = delay;
    return in;
}

AutoHideState Hidden() {
    AutoHideState s;
    s.barVisible = false;
    s.triggerVisible = true;
    return s;
}

AutoHideState Shown() { return AutoHideState{}; }

}  // namespace

TEST(MessagePos, SignedCoordinates) {
    EXPECT_EQ(PointFromMessagePos(0x00100020u).x, 32);
    EXPECT_EQ(PointFromMessagePos(0x00100020u).y, 16);
    // A monitor to the left of and above the primary one.
    EXPECT_EQ(PointFromMessagePos(0xFFFFFFF6u).x, -10);
    EXPECT_EQ(PointFromMessagePos(0xFFFFFFF6u).y, -1);
    EXPECT_EQ(PointFromMessagePos(0x80007FFFu).x, 32767);
    EXPECT_EQ(PointFromMessagePos(0x80007FFFu).y, -32768);
}

TEST(ShowZone, BoundariesPerEdgeAndTaskbar) {
    struct Case {
        const char* what;
        DockEdge edge;
        Rect taskbar;
        int32_t mx, my;
        bool inZone;
    } cases[] = {
        // Right edge: SW - P - 32 = 19153 unless the taskbar is at the right.
        {"right, taskbar bottom, at 19153", DockEdge::Right, kTaskbarBottom, 19153, 5000, true},
        {"right, taskbar bottom, at 19152", DockEdge::Right, kTaskbarBottom, 19152, 5000, false},
        {"right, taskbar left, at 19153", DockEdge::Right, kTaskbarLeft, 19153, 5000, true},
        // Taskbar at the right: 1220 px = 18300 twips, less 32.
        {"right, taskbar right, at 18268", DockEdge::Right, kTaskbarRight, 18268, 5000, true},
        {"right, taskbar right, at 18267", DockEdge::Right, kTaskbarRight, 18267, 5000, false},
        {"right, taskbar right, over it", DockEdge::Right, kTaskbarRight, 19000, 5000, true},
        // Left edge: the taskbar at the left (full height) widens the zone to
        // 32 twips past its right side, the taskbar itself included.
        {"left, taskbar left, over it", DockEdge::Left, kTaskbarLeft, 0, 5000, true},
        {"left, taskbar left, at 932", DockEdge::Left, kTaskbarLeft, 932, 5000, true},
        {"left, taskbar left, at 933", DockEdge::Left, kTaskbarLeft, 933, 5000, false},
        {"left, taskbar bottom, at 32", DockEdge::Left, kTaskbarBottom, 32, 5000, true},
        {"left, taskbar bottom, at 33", DockEdge::Left, kTaskbarBottom, 33, 5000, false},
        {"left, short left taskbar", DockEdge::Left, Rect{0, 0, 60, 1000}, 500, 5000, false},
        {"left, taskbar right, at 32", DockEdge::Left, kTaskbarRight, 32, 5000, true},
        // Top edge: a taskbar across the top makes the zone its own height.
        {"top, taskbar top, at 450", DockEdge::Top, kTaskbarTop, 5000, 450, true},
        {"top, taskbar top, at 451", DockEdge::Top, kTaskbarTop, 5000, 451, false},
        {"top, taskbar left, at 32", DockEdge::Top, kTaskbarLeft, 5000, 32, true},
        {"top, taskbar left, at 33", DockEdge::Top, kTaskbarLeft, 5000, 33, false},
        {"top, taskbar right, at 33", DockEdge::Top, kTaskbarRight, 5000, 33, false},
        {"top, taskbar bottom, at 32", DockEdge::Top, kTaskbarBottom, 5000, 32, true},
        // Bottom edge: the taskbar at the bottom and 32 twips above its top
        // (994 px = 14910 twips).
        {"bottom, taskbar bottom, at 14878", DockEdge::Bottom, kTaskbarBottom, 5000, 14878, true},
        {"bottom, taskbar bottom, at 14877", DockEdge::Bottom, kTaskbarBottom, 5000, 14877, false},
        {"bottom, taskbar bottom, over it", DockEdge::Bottom, kTaskbarBottom, 5000, 15300, true},
        {"bottom, taskbar top, at 15328", DockEdge::Bottom, kTaskbarTop, 5000, 15328, true},
        {"bottom, taskbar top, at 15327", DockEdge::Bottom, kTaskbarTop, 5000, 15327, false},
        {"bottom, taskbar right, at 15328", DockEdge::Bottom, kTaskbarRight, 5000, 15328, true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(InShowZone(c.edge, c.mx, c.my, Screen1280(c.taskbar)), c.inZone) << c.what;
}

TEST(AutoHideTick, DelayZeroShowsAndHidesOnFirstTick) {
    AutoHideState s = Hidden();
    EXPECT_EQ(s.Tick(DefaultTick(0, 500, 0)), Actions{kSetVisible}) << "first tick at the edge";
    EXPECT_TRUE(s.barVisible);
    EXPECT_FALSE(s.triggerVisible);
    EXPECT_EQ(s.hideCounter, 0);

    EXPECT_EQ(s.Tick(DefaultTick(100, 500, 0)), kHide) << "first tick away from the bar";
    EXPECT_FALSE(s.barVisible);
    EXPECT_TRUE(s.triggerVisible);
    EXPECT_EQ(s.hideCounter, 0);
}

TEST(AutoHideTick, DelayIndexTakesIndexPlusOneTicks) {
    // Delay 3 = 2.0 s = 4 ticks each way.
    AutoHideState s = Hidden();
    for (int tick = 1; tick <= 3; ++tick) {
        EXPECT_TRUE(s.Tick(DefaultTick(0, 500, 3)).empty()) << "show tick " << tick;
        EXPECT_EQ(s.hideCounter, tick) << "show tick " << tick;
    }
    EXPECT_EQ(s.Tick(DefaultTick(0, 500, 3)), Actions{kSetVisible}) << "show tick 4";

    for (int tick = 1; tick <= 3; ++tick)
        EXPECT_TRUE(s.Tick(DefaultTick(100, 500, 3)).empty()) << "hide tick " << tick;
    EXPECT_EQ(s.Tick(DefaultTick(100, 500, 3)), kHide) << "hide tick 4";
}

TEST(AutoHideTick, HiddenBarRaisesTriggerFirst) {
    // Something hid the trigger while the bar was hidden: the tick shows it,
    // places it and puts it on top before looking at the pointer.
    AutoHideState s = Hidden();
    s.triggerVisible = false;
    const Actions expected{{AutoHideAction::ShowEdgeTrigger, {}},
                           {AutoHideAction::PlaceEdgeTrigger, Rect{0, 0, 1, 996}},
                           {AutoHideAction::EdgeTriggerTopmost, {}},
                           kSetVisible};
    EXPECT_EQ(s.Tick(DefaultTick(0, 500, 0)), expected);
    EXPECT_TRUE(s.barVisible);
    EXPECT_FALSE(s.triggerVisible);
}

TEST(AutoHideTick, CountersShareOneValue) {
    AutoHideState s = Shown();
    // Away twice with delay 2, back inside: the count is kept, not reset.
    s.Tick(DefaultTick(100, 500, 2));
    s.Tick(DefaultTick(100, 500, 2));
    for (int i = 0; i < 3; ++i) EXPECT_TRUE(s.Tick(DefaultTick(20, 500, 2)).empty()) << "inside tick " << i;
    EXPECT_EQ(s.hideCounter, 2);
    EXPECT_EQ(s.Tick(DefaultTick(100, 500, 2)), kHide) << "one more tick away";

    // Hidden: two ticks at the edge, then away from the bar's rectangle
    // starts the show delay again.
    s.Tick(DefaultTick(0, 500, 2));
    s.Tick(DefaultTick(0, 500, 2));
    EXPECT_EQ(s.hideCounter, 2);
    EXPECT_TRUE(s.Tick(DefaultTick(600, 500, 2)).empty());
    EXPECT_EQ(s.hideCounter, 0) << "pointer left the bar while hidden";
    EXPECT_TRUE(s.Tick(DefaultTick(0, 500, 2)).empty());
    EXPECT_TRUE(s.Tick(DefaultTick(0, 500, 2)).empty());
    EXPECT_EQ(s.Tick(DefaultTick(0, 500, 2)), Actions{kSetVisible});
}

TEST(AutoHideTick, LeftEdgeWithLeftTaskbarZone) {
    // Taskbar 60 px wide at the left; the bar window starts at 900 twips.
    TickInput in = DefaultTick(62, 500, 0);  // 930 twips: inside the zone
    in.screen = Screen1280(kTaskbarLeft);
    in.barWindow = MakeRect(900, 0, 617, 15360);

    AutoHideState s = Hidden();
    EXPECT_EQ(s.Tick(in), Actions{kSetVisible}) << "just right of the taskbar";

    s = Hidden();
    in.pointer = {10, 500};  // over the taskbar itself, left of the bar
    EXPECT_EQ(s.Tick(in), Actions{kSetVisible}) << "over the taskbar";

    s = Hidden();
    in.pointer = {63, 500};  // 945 twips
    EXPECT_TRUE(s.Tick(in).empty()) << "one pixel further";
}

TEST(AutoHideTick, EdgeSideNeverCountsAsLeaving) {
    struct Case {
        const char* what;
        DockEdge edge;
        Rect window;
        int32_t xPx, yPx;
        bool hides;
    } cases[] = {
        // Left bar at x 0..617, y 0..14940.
        {"left bar, pointer on a monitor to the left", DockEdge::Left, MakeRect(0, 0, 617, 14940), -100, 500, false},
        {"left bar, pointer right of it", DockEdge::Left, MakeRect(0, 0, 617, 14940), 42, 500, true},
        {"left bar, pointer above it", DockEdge::Left, MakeRect(450, 450, 617, 14490), 31, 20, true},
        {"left bar, pointer below it", DockEdge::Left, MakeRect(0, 0, 617, 14940), 10, 1000, true},
        // Right bar at x 18600..19217.
        {"right bar, pointer past the screen", DockEdge::Right, MakeRect(18600, 0, 617, 14940), 1300, 500, false},
        {"right bar, pointer left of it", DockEdge::Right, MakeRect(18600, 0, 617, 14940), 1239, 500, true},
        {"right bar, pointer below it", DockEdge::Right, MakeRect(18600, 0, 617, 14940), 1250, 1000, true},
        // Top bar at y 0..617.
        {"top bar, pointer above the screen", DockEdge::Top, MakeRect(0, 0, 19230, 617), 500, -50, false},
        {"top bar, pointer below it", DockEdge::Top, MakeRect(0, 0, 19230, 617), 500, 42, true},
        {"top bar, pointer left of it", DockEdge::Top, MakeRect(900, 0, 18330, 617), 30, 10, true},
        // Bottom bar at y 14340..14957: only above it counts.
        {"bottom bar, pointer below it", DockEdge::Bottom, MakeRect(0, 14340, 19230, 617), 500, 1020, false},
        {"bottom bar, pointer below the screen", DockEdge::Bottom, MakeRect(0, 14340, 19230, 617), 500, 1100, false},
        {"bottom bar, pointer above it", DockEdge::Bottom, MakeRect(0, 14340, 19230, 617), 500, 955, true},
        {"bottom bar, pointer right of it", DockEdge::Bottom, MakeRect(900, 14340, 18330, 617), 1300, 960, true},
    };
    for (const Case& c : cases) {
        TickInput in = DefaultTick(c.xPx, c.yPx, 0);
        in.edge = c.edge;
        in.barWindow = c.window;
        AutoHideState s = Shown();
        const Actions got = s.Tick(in);
        EXPECT_EQ(got, c.hides ? kHide : Actions{}) << c.what;
        EXPECT_EQ(s.lastReleasePosition, c.hides ? -2 : 20) << c.what;
    }
}

TEST(AutoHideTick, PointerOnTheBarBoundaryIsInside) {
    // mx == L + W and my == T + H are still on the bar.
    AutoHideState s = Shown();
    TickInput in = DefaultTick(0, 0, 0);
    in.barWindow = MakeRect(0, 0, 615, 14940);  // right edge exactly 41 px
    in.pointer = {41, 996};                     // 615, 14940 twips
    EXPECT_TRUE(s.Tick(in).empty());
    EXPECT_EQ(s.lastReleasePosition, 20);
}

TEST(AutoHideTick, BottomEdgeLooksEveryDelayPlusTwoTicks) {
    // Bottom bar over a bottom taskbar; the zone starts at 14878 twips.
    TickInput in = DefaultTick(500, 1000, 1);  // 15000 twips: in the zone
    in.edge = DockEdge::Bottom;
    in.barWindow = MakeRect(0, 14340, 19230, 617);

    AutoHideState s = Hidden();
    EXPECT_TRUE(s.Tick(in).empty()) << "tick 1";
    EXPECT_TRUE(s.Tick(in).empty()) << "tick 2";
    EXPECT_EQ(s.Tick(in), Actions{kSetVisible}) << "tick 3 = delay + 2";

    // The counter runs with the pointer outside the zone too, and the tick
    // that runs it over only looks once.
    s = Hidden();
    in.pointer = {500, 980};  // 14700 twips: on the hidden bar, not in the zone
    s.Tick(in);
    s.Tick(in);
    EXPECT_EQ(s.hideCounter, 2);
    EXPECT_TRUE(s.Tick(in).empty()) << "count ran over while the pointer was outside";
    EXPECT_EQ(s.hideCounter, 0);
    in.pointer = {500, 1000};
    EXPECT_TRUE(s.Tick(in).empty()) << "in the zone, counting again";
    EXPECT_TRUE(s.Tick(in).empty());
    EXPECT_EQ(s.Tick(in), Actions{kSetVisible});

    // Delay 0 still needs two ticks.
    s = Hidden();
    in.delayIndex = 0;
    EXPECT_TRUE(s.Tick(in).empty());
    EXPECT_EQ(s.Tick(in), Actions{kSetVisible});
}

TEST(AutoHideTick, TopEdgeBesideSideTaskbarUsesScreenTop) {
    TickInput in = DefaultTick(500, 2, 0);  // 30 twips
    in.edge = DockEdge::Top;
    in.screen = Screen1280(kTaskbarRight);
    in.barWindow = MakeRect(0, 0, 18330, 617);
    AutoHideState s = Hidden();
    EXPECT_EQ(s.Tick(in), Actions{kSetVisible}) << "30 twips from the top";

    s = Hidden();
    in.pointer = {500, 3};  // 45 twips
    EXPECT_TRUE(s.Tick(in).empty()) << "45 twips from the top";
}

TEST(AutoHideTick, AutoHideOffNeverHidesNorRaisesTrigger) {
    AutoHideState s = Shown();
    TickInput in = DefaultTick(800, 500, 0);
    in.autoHide = false;
    for (int i = 0; i < 5; ++i) EXPECT_TRUE(s.Tick(in).empty()) << "tick " << i;
    EXPECT_TRUE(s.barVisible);
    EXPECT_EQ(s.hideCounter, 0);
    EXPECT_EQ(s.lastReleasePosition, -2) << "the pointer still counts as gone";

    // Even a hidden bar with a hidden trigger stays as it is.
    AutoHideState hidden = Hidden();
    hidden.triggerVisible = false;
    in.pointer = {0, 500};
    EXPECT_TRUE(hidden.Tick(in).empty());
    EXPECT_FALSE(hidden.triggerVisible);
    EXPECT_FALSE(hidden.barVisible);
}

TEST(AutoHideTick, HighDpiConvertsPointerWithTenTwips) {
    // 1920×1080 at 144 dpi, right edge, taskbar at the bottom: the zone is
    // mx >= 19200 - 10 - 32 = 19158.
    TickInput in;
    in.screen = MakeScreenInfo(1920, 1080, 144, 144, Rect{0, 1040, 1920, 1080});
    in.edge = DockEdge::Right;
    in.barWindow = MakeRect(18600, 0, 422, 10430);
    in.delayIndex = 0;

    AutoHideState s = Hidden();
    in.pointer = {1915, 500};
    EXPECT_TRUE(s.Tick(in).empty()) << "19150 twips";
    in.pointer = {1916, 500};
    EXPECT_EQ(s.Tick(in), Actions{kSetVisible}) << "19160 twips";
}

TEST(AutoHideTick, FullScreenProgramKeepsTheBarAway) {
    // Hidden bar, pointer resting at the edge while a full-screen program is
    // in front: no show, no count, and the strip is not raised over it.
    AutoHideState s = Hidden();
    s.triggerVisible = false;
    TickInput atEdge = DefaultTick(0, 500, 0);
    atEdge.fullScreenApp = true;
    const Actions stripOnly{{AutoHideAction::ShowEdgeTrigger, {}},
                            {AutoHideAction::PlaceEdgeTrigger, Rect{0, 0, 1, 996}}};
    EXPECT_EQ(s.Tick(atEdge), stripOnly);
    for (int tick = 0; tick < 5; ++tick) EXPECT_TRUE(s.Tick(atEdge).empty()) << "tick " << tick;
    EXPECT_FALSE(s.barVisible);
    EXPECT_EQ(s.hideCounter, 0) << "nothing counted toward showing";

    // The program left: the bar comes back as before, after its delay.
    TickInput after = DefaultTick(0, 500, 1);
    EXPECT_TRUE(s.Tick(after).empty());
    EXPECT_EQ(s.Tick(after), Actions{kSetVisible});
}

TEST(AutoHideTick, ShownByTheUserStaysForTheWholeDelay) {
    // The hide count had run up before the bar hid; a double click on the
    // tray icon shows it, and it stays delay + 1 ticks with the pointer away.
    AutoHideState s = Shown();
    s.hideCounter = 2;
    s.barVisible = false;
    s.triggerVisible = true;
    s.ShownByUser();
    EXPECT_TRUE(s.barVisible);
    EXPECT_FALSE(s.triggerVisible);
    for (int tick = 1; tick <= 2; ++tick)
        EXPECT_TRUE(s.Tick(DefaultTick(600, 500, 2)).empty()) << "tick " << tick << " of the delay";
    EXPECT_EQ(s.Tick(DefaultTick(600, 500, 2)), kHide);
}

TEST(FullScreenWindow, CoversTheWholeMonitorWithoutACaption) {
    const Rect monitor{0, 0, 1920, 1080};
    struct Case {
        const char* what;
        Rect window;
        bool caption;
        bool fullScreen;
    } cases[] = {
        {"exactly the monitor", {0, 0, 1920, 1080}, false, true},
        {"past every side", {-8, -8, 1928, 1088}, false, true},
        {"maximised, caption kept", {-8, -8, 1928, 1048}, true, false},
        {"monitor-sized but with a caption", {0, 0, 1920, 1080}, true, false},
        {"one pixel short at the bottom", {0, 0, 1920, 1079}, false, false},
        {"one pixel short at the left", {1, 0, 1920, 1080}, false, false},
        {"on another monitor", {1920, 0, 3840, 1080}, false, false},
    };
    for (const Case& c : cases) EXPECT_EQ(CoversMonitor(c.window, monitor, c.caption), c.fullScreen) << c.what;
    EXPECT_FALSE(CoversMonitor({0, 0, 10, 10}, Rect{}, false)) << "no monitor known";
}

// Timer1 stops once more ticks could change nothing, and only then: each row
// is a state after a tick and whether the bar may wait for the pointer's
// next message instead of polling.
TEST(AutoHideTick, TheTimerRestsOnlyOnceTheBarHasSettled) {
    const auto with = [](AutoHideState s, int16_t counter, bool triggerVisible) {
        s.hideCounter = counter;
        s.triggerVisible = triggerVisible;
        return s;
    };
    const struct {
        const char* what;
        AutoHideState state;
        TickInput input;
        bool settled;
    } cases[] = {
        {"hidden, the pointer away", Hidden(), DefaultTick(640, 500), true},
        {"hidden, the pointer resting at the edge", Hidden(), DefaultTick(0, 500), false},
        {"hidden, a count under way", with(Hidden(), 1, true), DefaultTick(640, 500), false},
        {"hidden, the edge strip not up yet", with(Hidden(), 0, false), DefaultTick(640, 500), false},
        {"shown, the pointer away: it may still hide", Shown(), DefaultTick(640, 500), false},
        {"shown, the pointer on it", Shown(), DefaultTick(10, 500), false},
        {"without auto-hide", Shown(), [] { TickInput in = DefaultTick(640, 500); in.autoHide = false; return in; }(),
         true},
    };
    for (const auto& c : cases) EXPECT_EQ(c.state.Settled(c.input), c.settled) << c.what;

    // A shown bar left by the pointer counts down, hides, and then rests.
    AutoHideState s = Shown();
    int ticks = 0;
    while (!s.Settled(DefaultTick(640, 500)) && ticks < 10) {
        s.Tick(DefaultTick(640, 500));
        ++ticks;
    }
    EXPECT_EQ(ticks, 2) << "delay 1: two ticks to hide, then nothing to wait for";
}
