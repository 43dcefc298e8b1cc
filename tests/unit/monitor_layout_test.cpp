// The bar on any monitor of a layout: the same bar it would be on a single
// screen of that monitor's size and scale, moved to where the monitor lies,
// flush with its edge and reserving exactly its own thickness there.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "bar/auto_hide.h"
#include "bar/bar_geometry.h"
#include "bar/monitor_choice.h"
#include "reference_screen.h"

using namespace tavi;
using tavi::reference::Name;

namespace {

MonitorInfo Mon(const char* name, Rect r, int dpi, bool primary) { return {name, r, r, dpi, primary}; }

struct Layout {
    const char* name;
    std::vector<MonitorInfo> monitors;
};

const Layout kLayouts[] = {
    {"side by side", {Mon("\\\\.\\DISPLAY1", {0, 0, 1920, 1080}, 96, true),
                      Mon("\\\\.\\DISPLAY2", {1920, 0, 3200, 1024}, 96, false)}},
    {"stacked, the second at 150 %", {Mon("\\\\.\\DISPLAY1", {0, 0, 1920, 1080}, 96, true),
                                      Mon("\\\\.\\DISPLAY2", {0, 1080, 2560, 2520}, 144, false)}},
    {"second to the left and above", {Mon("\\\\.\\DISPLAY1", {0, 0, 1024, 768}, 96, true),
                                      Mon("\\\\.\\DISPLAY2", {-1280, -200, 0, 824}, 120, false)}},
    {"three, primary in the middle", {Mon("\\\\.\\DISPLAY2", {-1600, 0, 0, 900}, 96, false),
                                      Mon("\\\\.\\DISPLAY1", {0, 0, 1920, 1200}, 192, true),
                                      Mon("\\\\.\\DISPLAY3", {1920, 300, 2944, 1068}, 96, false)}},
};

// A taskbar on one side of a monitor, 40 px at 96 dpi.
Rect TaskbarOn(const MonitorInfo& m, TaskbarSide side) {
    const Rect r = m.monitor;
    const int32_t t = ScalePixels(40, m.dpi);
    switch (side) {
        case TaskbarSide::Bottom: return {r.left, r.bottom - t, r.right, r.bottom};
        case TaskbarSide::Top: return {r.left, r.top, r.right, r.top + t};
        case TaskbarSide::Left: return {r.left, r.top, r.left + t, r.bottom};
        case TaskbarSide::Right: return {r.right - t, r.top, r.right, r.bottom};
    }
    return {};
}

Rect Shift(const Rect& r, int32_t dx, int32_t dy) { return {r.left + dx, r.top + dy, r.right + dx, r.bottom + dy}; }

bool SameSide(DockEdge edge, TaskbarSide side) {
    return (edge == DockEdge::Left && side == TaskbarSide::Left) ||
           (edge == DockEdge::Right && side == TaskbarSide::Right) ||
           (edge == DockEdge::Top && side == TaskbarSide::Top) ||
           (edge == DockEdge::Bottom && side == TaskbarSide::Bottom);
}

// The reserved strip's outer side and the window's inner side, across the edge.
int32_t Outer(DockEdge e, const Rect& r) {
    return e == DockEdge::Left ? r.left : e == DockEdge::Right ? r.right : e == DockEdge::Top ? r.top : r.bottom;
}
int32_t Inner(DockEdge e, const Rect& r) {
    return e == DockEdge::Left ? r.right : e == DockEdge::Right ? r.left : e == DockEdge::Top ? r.bottom : r.top;
}
int32_t Thickness(DockEdge e, const Rect& r) { return IsHorizontal(e) ? r.Height() : r.Width(); }

constexpr DockEdge kEdges[] = {DockEdge::Left, DockEdge::Right, DockEdge::Top, DockEdge::Bottom};
constexpr TaskbarSide kSides[] = {TaskbarSide::Bottom, TaskbarSide::Top, TaskbarSide::Left, TaskbarSide::Right};

}  // namespace

TEST(MonitorLayout, EveryMonitorGivesItsOwnBarFlushAndReservingItsThickness) {
    for (const Layout& layout : kLayouts) {
        for (const MonitorInfo& taskbarMonitor : layout.monitors) {
            for (TaskbarSide side : kSides) {
                const Rect taskbar = TaskbarOn(taskbarMonitor, side);
                for (const MonitorInfo& m : layout.monitors) {
                    const bool taskbarHere = &m == &taskbarMonitor;
                    for (DockEdge edge : kEdges) {
                        for (bool autoHide : {false, true}) {
                            const std::string where = std::string(layout.name) + ", bar on " + m.deviceName +
                                                      ", taskbar on " + taskbarMonitor.deviceName + " side " +
                                                      std::to_string(static_cast<int>(side)) + ", " + Name(edge) +
                                                      (autoHide ? " edge, auto-hide" : " edge");
                            LayoutInput in;
                            in.edge = edge;
                            in.autoHide = autoHide;
                            in.screen = MakeMonitorScreen(m.monitor, m.dpi, taskbar);
                            const BarLayout l = LayoutBar(in);
                            EXPECT_EQ(l.dpi, m.dpi) << where;
                            EXPECT_EQ(l.monitorPixels, m.monitor) << where;

                            // The same bar as on a lone screen of this monitor, moved there;
                            // a taskbar elsewhere is as no taskbar at all.
                            LayoutInput alone = in;
                            alone.screen = MakeScreenInfo(
                                m.monitor.Width(), m.monitor.Height(), m.dpi, m.dpi,
                                taskbarHere ? Shift(taskbar, -m.monitor.left, -m.monitor.top) : Rect{});
                            const BarLayout l0 = LayoutBar(alone);
                            const int32_t dx = m.monitor.left, dy = m.monitor.top;
                            EXPECT_EQ(l.windowPixels, Shift(l0.windowPixels, dx, dy)) << where;
                            EXPECT_EQ(l.appBarPixels, Shift(l0.appBarPixels, dx, dy)) << where;
                            EXPECT_EQ(l.edgeTriggerPixels, Shift(l0.edgeTriggerPixels, dx, dy)) << where;
                            EXPECT_EQ(l.visibleCount, l0.visibleCount) << where;
                            EXPECT_EQ(l.taskbarPixels, alone.screen.taskbarPixels) << where;

                            // Flush with the monitor's edge, or the inner side of a taskbar
                            // on that side of this monitor (overlapped by at most 32 twips).
                            const Rect& reserved = l.appBarPixels;
                            const bool besideTaskbar = taskbarHere && SameSide(edge, side);
                            const int32_t line = Outer(edge, besideTaskbar ? Rect{Inner(edge, taskbar),
                                                                                  Inner(edge, taskbar),
                                                                                  Inner(edge, taskbar),
                                                                                  Inner(edge, taskbar)}
                                                                           : m.monitor);
                            const int32_t overlap = (edge == DockEdge::Left || edge == DockEdge::Top)
                                                        ? line - Outer(edge, reserved)
                                                        : Outer(edge, reserved) - line;
                            const int32_t tpp = TwipsPerPixelFromDpi(m.dpi);
                            EXPECT_GE(overlap, 0) << where << ": gap between the edge and the bar";
                            EXPECT_LE(overlap, besideTaskbar ? (32 + tpp - 1) / tpp : 0) << where;

                            // The strip is the window's thickness, or the auto-hide rest.
                            if (autoHide)
                                EXPECT_EQ(Thickness(edge, reserved), ScalePixels(kAutoHideReservePixels, m.dpi))
                                    << where;
                            else
                                EXPECT_EQ(Inner(edge, l.windowPixels), Inner(edge, reserved)) << where;
                            EXPECT_GT(Thickness(edge, reserved), 0) << where;

                            // Nothing reserved off this monitor; the edge trigger lies on it.
                            EXPECT_GE(reserved.left, m.monitor.left) << where;
                            EXPECT_GE(reserved.top, m.monitor.top) << where;
                            EXPECT_LE(reserved.right, m.monitor.right) << where;
                            EXPECT_LE(reserved.bottom, m.monitor.bottom) << where;
                            const Rect& trigger = l.edgeTriggerPixels;
                            const int32_t cx = (trigger.left + trigger.right) / 2;
                            const int32_t cy = (trigger.top + trigger.bottom) / 2;
                            EXPECT_TRUE(cx >= m.monitor.left && cx < m.monitor.right && cy >= m.monitor.top &&
                                        cy < m.monitor.bottom)
                                << where << ": edge trigger off the monitor";
                        }
                    }
                }
            }
        }
    }
}

TEST(MonitorLayout, ASecondMonitorOnTheRightEndsTheBarAtItsRightEdge) {
    // The case the end-to-end test sees: 1024x768 beside 1024x768, bar right.
    LayoutInput in;
    in.edge = DockEdge::Right;
    in.autoHide = false;
    in.screen = MakeMonitorScreen({1024, 0, 2048, 768}, 96, Rect{0, 767, 1024, 768});
    const BarLayout l = LayoutBar(in);
    EXPECT_EQ(l.appBarPixels.right, 2048);
    EXPECT_EQ(l.appBarPixels.top, 0);
    EXPECT_EQ(l.appBarPixels.bottom, 768) << "the taskbar on the primary does not shorten it";
    EXPECT_GE(l.windowPixels.left, 1024);
    EXPECT_EQ(l.saveX, std::to_string(l.window.left));
    EXPECT_GE(std::stoi(l.saveX), 1024 * 15);
}

TEST(MonitorLayout, NegativeCoordinatesKeepWholePixels) {
    // The bar rectangle's twips do not all fall on pixels; rounding toward
    // zero would move a bar left of the primary by one pixel.
    EXPECT_EQ(TwipsToPixels(MakeRect(-15343, -7, 617, 15), 15, 15), (Rect{-1023, -1, -982, 0}));
    EXPECT_EQ(TwipsToPixels(MakeRect(-30, 0, 15, 15), 15, 15), (Rect{-2, 0, -1, 1}));
}

TEST(TaskbarPlacement, BelongsToTheMonitorHoldingItsCentre) {
    const Rect primary{0, 0, 1920, 1080}, left{-1280, 0, 0, 1024};
    const struct {
        const char* what;
        Rect taskbar;
        bool onPrimary, onLeft;
    } cases[] = {
        {"bottom of the primary", {0, 1040, 1920, 1080}, true, false},
        {"bottom of the left one", {-1280, 984, 0, 1024}, false, true},
        {"right side of the left one", {-40, 0, 0, 1024}, false, true},
        {"left side of the primary", {0, 0, 40, 1080}, true, false},
        {"Wine's one-pixel strip", {0, 1079, 1920, 1080}, true, false},
        {"none", {}, false, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TaskbarOnMonitor(c.taskbar, primary), c.onPrimary) << c.what;
        EXPECT_EQ(TaskbarOnMonitor(c.taskbar, left), c.onLeft) << c.what;
    }
}

TEST(ChooseMonitor, ByDeviceNameElseThePrimary) {
    const std::vector<MonitorInfo> two = {Mon("\\\\.\\DISPLAY1", {0, 0, 1920, 1080}, 96, true),
                                          Mon("\\\\.\\DISPLAY2", {1920, 0, 3200, 1024}, 120, false)};
    // The same devices listed the other way round, the second at a new resolution.
    const std::vector<MonitorInfo> reordered = {Mon("\\\\.\\DISPLAY2", {-1600, 0, 0, 900}, 96, false),
                                                Mon("\\\\.\\DISPLAY1", {0, 0, 1920, 1080}, 96, true)};
    const std::vector<MonitorInfo> noPrimaryFlag = {Mon("\\\\.\\DISPLAY5", {0, 0, 800, 600}, 96, false),
                                                    Mon("\\\\.\\DISPLAY6", {800, 0, 1600, 600}, 96, false)};
    const MonitorInfo whole = Mon("", {0, 0, 1024, 768}, 96, true);
    const struct {
        const char* what;
        std::string setting;
        const std::vector<MonitorInfo>* list;
        Rect expected;
    } cases[] = {
        {"no setting: the primary", "", &two, {0, 0, 1920, 1080}},
        {"the second by name", "\\\\.\\DISPLAY2", &two, {1920, 0, 3200, 1024}},
        {"the primary by name", "\\\\.\\DISPLAY1", &two, {0, 0, 1920, 1080}},
        {"a new order and size keep the device", "\\\\.\\DISPLAY2", &reordered, {-1600, 0, 0, 900}},
        {"the primary is found wherever it is listed", "", &reordered, {0, 0, 1920, 1080}},
        {"a monitor that is gone: the primary", "\\\\.\\DISPLAY3", &two, {0, 0, 1920, 1080}},
        {"names differ in case: no match", "\\\\.\\display2", &two, {0, 0, 1920, 1080}},
        {"an over-long value", std::string(5000, 'x'), &two, {0, 0, 1920, 1080}},
        {"binary bytes", std::string("\\\\.\\DISPLAY2\0\xff", 14), &two, {0, 0, 1920, 1080}},
        {"no primary flagged: the first", "", &noPrimaryFlag, {0, 0, 800, 600}},
    };
    for (const auto& c : cases) EXPECT_EQ(ChooseMonitor(c.setting, *c.list, whole).monitor, c.expected) << c.what;
    EXPECT_EQ(ChooseMonitor("\\\\.\\DISPLAY2", two, whole).dpi, 120) << "the monitor's own scale";
    EXPECT_EQ(ChooseMonitor("\\\\.\\DISPLAY2", {}, whole), whole) << "nothing listed: the whole screen";
}

TEST(AutoHideZone, IsMeasuredOnTheBarsMonitor) {
    // A right bar on a monitor right of the primary: the primary's right edge
    // is not the zone, the second monitor's is.
    const ScreenInfo second = MakeMonitorScreen({1920, 0, 3200, 1024}, 96, Rect{0, 1040, 1920, 1080});
    EXPECT_TRUE(InShowZone(DockEdge::Right, 3199 * 15, 500 * 15, second));
    EXPECT_FALSE(InShowZone(DockEdge::Right, 1919 * 15, 500 * 15, second));
    EXPECT_FALSE(InShowZone(DockEdge::Right, 3000 * 15, 500 * 15, second));
    // A left bar on a monitor left of the primary, in negative coordinates.
    const ScreenInfo left = MakeMonitorScreen({-1280, 0, 0, 1024}, 96, Rect{0, 1040, 1920, 1080});
    EXPECT_TRUE(InShowZone(DockEdge::Left, -1280 * 15, 500 * 15, left));
    EXPECT_FALSE(InShowZone(DockEdge::Left, 0, 500 * 15, left));
    // A bottom bar there: its own bottom, with no taskbar on it.
    EXPECT_TRUE(InShowZone(DockEdge::Bottom, -600 * 15, 1023 * 15, left));
    EXPECT_FALSE(InShowZone(DockEdge::Bottom, -600 * 15, 1000 * 15, left));
    // A right bar on the left-hand monitor: its right edge is an inner one,
    // and a pointer already on the primary beyond it is not at that edge.
    EXPECT_TRUE(InShowZone(DockEdge::Right, -1 * 15, 500 * 15, left));
    EXPECT_FALSE(InShowZone(DockEdge::Right, 0, 500 * 15, left));
    EXPECT_FALSE(InShowZone(DockEdge::Right, 800 * 15, 500 * 15, left));
    EXPECT_FALSE(InShowZone(DockEdge::Bottom, -600 * 15, 1030 * 15, left)) << "below the shorter monitor";
}

TEST(MonitorLayout, AMonitorThatGoesAndComesBackTakesTheBarToThePrimaryAndBack) {
    const MonitorInfo primary = Mon("\\\\.\\DISPLAY1", {0, 0, 1920, 1080}, 96, true);
    const MonitorInfo second = Mon("\\\\.\\DISPLAY2", {1920, 0, 3200, 1024}, 120, false);
    const std::string setting = "\\\\.\\DISPLAY2";
    const Rect taskbar{0, 1040, 1920, 1080};
    const auto layOut = [&](const std::vector<MonitorInfo>& list) {
        const MonitorInfo m = ChooseMonitor(setting, list, primary);
        LayoutInput in;
        in.edge = DockEdge::Right;
        in.autoHide = false;
        in.screen = MakeMonitorScreen(m.monitor, m.dpi, taskbar);
        return LayoutBar(in);
    };
    const BarLayout before = layOut({primary, second});
    const BarLayout gone = layOut({primary});
    const BarLayout back = layOut({second, primary});
    EXPECT_EQ(before.monitorPixels, second.monitor);
    EXPECT_EQ(before.appBarPixels.right, 3200);
    EXPECT_EQ(gone.monitorPixels, primary.monitor) << "docked on the primary while it is away";
    EXPECT_EQ(gone.appBarPixels.right, 1920);
    // The primary's taskbar now shortens the bar, which overlaps it by 30 twips as ever.
    EXPECT_EQ(gone.appBarPixels.bottom, 1042);
    EXPECT_NE(gone.monitorPixels, before.monitorPixels) << "the move must force a new registration";
    EXPECT_EQ(back.windowPixels, before.windowPixels) << "back where it was";
    EXPECT_EQ(back.appBarPixels, before.appBarPixels);
    EXPECT_EQ(back.dpi, 120);
}

TEST(AutoHideTick, AnInnerEdgeShowsTheBarForARestNotForCrossings) {
    // A right bar, hidden, on a monitor left of the primary: its right edge
    // at x = -1 is where the pointer crosses to the primary.
    TickInput in;
    in.screen = MakeMonitorScreen({-1280, 0, 0, 1024}, 96, Rect{0, 1040, 1920, 1080});
    in.edge = DockEdge::Right;
    in.autoHide = true;
    in.delayIndex = 2;
    in.barWindow = MakeRect(-41 * 15, 0, 41 * 15, 1024 * 15);
    const auto tickAt = [&](AutoHideState& s, int32_t x) {
        in.pointer = {x, 500};
        const auto actions = s.Tick(in);
        return std::find_if(actions.begin(), actions.end(), [](const AutoHideAction& a) {
                   return a.kind == AutoHideAction::SetVisible;
               }) != actions.end();
    };
    AutoHideState s;
    s.barVisible = false;
    s.triggerVisible = true;
    // Crossing back and forth: one tick at the edge, the next one beyond it.
    for (int i = 0; i < 20; ++i) {
        EXPECT_FALSE(tickAt(s, -1)) << "crossing " << i;
        EXPECT_FALSE(tickAt(s, 300)) << "crossing " << i;
    }
    // Resting at the edge for the delay brings it back.
    EXPECT_FALSE(tickAt(s, -1));
    EXPECT_FALSE(tickAt(s, -1));
    EXPECT_TRUE(tickAt(s, -1));
}

TEST(MonitorLayout, OnA100AndA150PercentPairTheBarTakesTheSizesOfItsMonitor) {
    const MonitorInfo primary = Mon("\\\\.\\DISPLAY1", {0, 0, 1920, 1080}, 96, true);
    const MonitorInfo wide = Mon("\\\\.\\DISPLAY2", {1920, 0, 5760, 2160}, 144, false);
    const struct {
        int iconSizeIndex;
        int32_t icon96, icon144;  // icon pixels on each monitor
    } rows[] = {{0, 32, 48}, {1, 16, 24}, {2, 24, 36}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.iconSizeIndex);
        const auto layOut = [&](const std::string& setting) {
            const MonitorInfo m = ChooseMonitor(setting, {primary, wide}, primary);
            LayoutInput in;
            in.edge = DockEdge::Left;
            in.iconSizeIndex = row.iconSizeIndex;
            in.autoHide = false;
            in.screen = MakeMonitorScreen(m.monitor, m.dpi, Rect{0, 1040, 1920, 1080});
            return LayoutBar(in);
        };
        const BarLayout onPrimary = layOut("");
        const BarLayout onWide = layOut("\\\\.\\DISPLAY2");
        EXPECT_EQ(onPrimary.metrics.iconPixels, row.icon96);
        EXPECT_EQ(onWide.metrics.iconPixels, row.icon144) << "icons drawn afresh at the monitor's size";
        EXPECT_EQ(onWide.metrics.buttonPixels, ScalePixels(onPrimary.metrics.buttonPixels, 144));
        EXPECT_EQ(onWide.dpi, 144);
        EXPECT_EQ(onWide.windowPixels.left, 1920) << "flush with the wide monitor's left edge";
        EXPECT_EQ(onWide.windowPixels.Width(), ScalePixels(onPrimary.windowPixels.Width(), 144));
        // A move between them changes the monitor, which forces the re-layout
        // that reloads the pictures at the new size.
        EXPECT_NE(onPrimary.monitorPixels, onWide.monitorPixels);
    }
}
