// The bar at every display scale, stated as invariants rather than recorded
// numbers:
//
//   screen edge (or the taskbar's inner side)
//   |
//   |<-- window -->|        the window's outer side lies on the edge line
//   |<- reserved ->|        (far edges: may run past it by its margin),
//   |              |        and the reserved strip is exactly as thick as
//   |   buttons    |        the part of the window inside that line.
//
// A taskbar on the bar's own side is overlapped by at most 32 twips, as the
// bar always did.
#include <gtest/gtest.h>

#include <string>

#include "bar/bar_geometry.h"
#include "reference_screen.h"

using namespace tavi;
using tavi::reference::Name;

namespace {

constexpr int32_t kWidth = 1920;
constexpr int32_t kHeight = 1080;

struct Taskbar {
    const char* name;
    TaskbarSide side;
    Rect (*at)(int32_t thickness);
};

const Taskbar kTaskbars[] = {
    {"bottom", TaskbarSide::Bottom, [](int32_t t) { return Rect{0, kHeight - t, kWidth, kHeight}; }},
    {"top", TaskbarSide::Top, [](int32_t t) { return Rect{0, 0, kWidth, t}; }},
    {"left", TaskbarSide::Left, [](int32_t t) { return Rect{0, 0, t, kHeight}; }},
    {"right", TaskbarSide::Right, [](int32_t t) { return Rect{kWidth - t, 0, kWidth, kHeight}; }},
    // Wine's shell: a one-pixel strip along the bottom.
    {"one pixel", TaskbarSide::Bottom, [](int32_t) { return Rect{0, kHeight - 1, kWidth, kHeight}; }},
};

bool SameSide(DockEdge edge, TaskbarSide side) {
    switch (edge) {
        case DockEdge::Left: return side == TaskbarSide::Left;
        case DockEdge::Right: return side == TaskbarSide::Right;
        case DockEdge::Top: return side == TaskbarSide::Top;
        case DockEdge::Bottom: return side == TaskbarSide::Bottom;
    }
    return false;
}

// Where the bar must start: the screen's edge, or the taskbar's inner side.
int32_t EdgeLine(DockEdge edge, const Rect& tb, bool taskbarThere) {
    switch (edge) {
        case DockEdge::Left: return taskbarThere ? tb.right : 0;
        case DockEdge::Right: return taskbarThere ? tb.left : kWidth;
        case DockEdge::Top: return taskbarThere ? tb.bottom : 0;
        case DockEdge::Bottom: return taskbarThere ? tb.top : kHeight;
    }
    return 0;
}

// Across-the-edge extents: [inner, outer) as distances into the screen are
// awkward, so each edge names its own sides.
struct Across {
    int32_t outer;  // on the edge line
    int32_t inner;  // toward the middle of the screen
};
Across AcrossOf(DockEdge edge, const Rect& r) {
    switch (edge) {
        case DockEdge::Left: return {r.left, r.right};
        case DockEdge::Right: return {r.right, r.left};
        case DockEdge::Top: return {r.top, r.bottom};
        case DockEdge::Bottom: return {r.bottom, r.top};
    }
    return {};
}
// How far `a` lies beyond `b` toward the edge (positive: nearer the edge).
int32_t Beyond(DockEdge edge, int32_t a, int32_t b) {
    return (edge == DockEdge::Left || edge == DockEdge::Top) ? b - a : a - b;
}
int32_t Thickness(DockEdge edge, const Rect& r) { return IsHorizontal(edge) ? r.Height() : r.Width(); }

}  // namespace

TEST(BarScaling, FlushAndReservingItsOwnThicknessAtEveryDpi) {
    for (int32_t dpi : {96, 120, 144, 192}) {
        const int32_t tpp = TwipsPerPixelFromDpi(dpi);
        for (const Taskbar& taskbar : kTaskbars) {
            const Rect tb = taskbar.at(ScalePixels(40, dpi));
            for (DockEdge edge : {DockEdge::Left, DockEdge::Right, DockEdge::Top, DockEdge::Bottom}) {
                for (int icon : {0, 1, 2}) {
                    for (bool flat : {true, false}) {
                        const std::string where = std::to_string(dpi) + " dpi, " + Name(edge) + " edge, taskbar " +
                                                  taskbar.name + ", icon size " + std::to_string(icon) +
                                                  (flat ? ", flat" : ", standard");
                        LayoutInput in;
                        in.edge = edge;
                        in.iconSizeIndex = icon;
                        in.toolbarFlat = flat;
                        in.autoHide = false;
                        in.screen = MakeScreenInfo(kWidth, kHeight, dpi, dpi, tb);
                        const BarLayout l = LayoutBar(in);
                        const Rect& window = l.windowPixels;
                        const Rect& reserved = l.appBarPixels;
                        const bool taskbarThere = SameSide(edge, taskbar.side);
                        const int32_t line = EdgeLine(edge, tb, taskbarThere);

                        // The reserved strip starts on the edge line, or inside a
                        // taskbar on that side by at most 32 twips.
                        const int32_t overlap = Beyond(edge, AcrossOf(edge, reserved).outer, line);
                        EXPECT_GE(overlap, 0) << where << ": gap between the edge and the bar";
                        EXPECT_LE(overlap, taskbarThere ? (32 + tpp - 1) / tpp : 0) << where;

                        // The window covers the strip with nothing left over inside it,
                        // and reaches the edge line.
                        EXPECT_EQ(AcrossOf(edge, window).inner, AcrossOf(edge, reserved).inner) << where;
                        EXPECT_GE(Beyond(edge, AcrossOf(edge, window).outer, AcrossOf(edge, reserved).outer), 0)
                            << where;
                        if (edge == DockEdge::Left || edge == DockEdge::Top)
                            EXPECT_EQ(AcrossOf(edge, window).outer, AcrossOf(edge, reserved).outer) << where;

                        // Buttons fit across the bar and the bar grows with the scale.
                        EXPECT_GE(Thickness(edge, window), l.metrics.buttonPixels) << where;
                        LayoutInput at96 = in;
                        at96.screen = MakeScreenInfo(kWidth, kHeight, 96, 96, taskbar.at(40));
                        const int32_t thickness96 = Thickness(edge, LayoutBar(at96).appBarPixels);
                        EXPECT_NEAR(Thickness(edge, reserved) * 96.0 / dpi, thickness96, 2.0) << where;
                        if (dpi > 96) EXPECT_GT(Thickness(edge, reserved), thickness96) << where;
                        EXPECT_GT(l.visibleCount, 0) << where;
                    }
                }
            }
        }
    }
}

TEST(BarScaling, AutoHideStripAndEdgeTriggerScale) {
    for (int32_t dpi : {96, 120, 144, 192}) {
        LayoutInput in;
        in.edge = DockEdge::Left;
        in.iconSizeIndex = 0;
        in.autoHide = true;
        in.screen = MakeScreenInfo(kWidth, kHeight, dpi, dpi, Rect{0, kHeight - 40, kWidth, kHeight});
        const BarLayout l = LayoutBar(in);
        EXPECT_EQ(l.autoHideReserve, ScalePixels(5, dpi)) << dpi << " dpi";
        EXPECT_EQ(l.appBarPixels.Width(), ScalePixels(5, dpi)) << dpi << " dpi";
        EXPECT_EQ(l.edgeTriggerPixels.left, 0) << dpi << " dpi";
        EXPECT_EQ(l.edgeTriggerPixels.Width(), ScalePixels(1, dpi)) << dpi << " dpi";

        in.edge = DockEdge::Bottom;
        const BarLayout bottom = LayoutBar(in);
        EXPECT_EQ(bottom.edgeTriggerPixels.Height(), ScalePixels(1, dpi)) << dpi << " dpi, bottom";
        EXPECT_EQ(bottom.edgeTriggerPixels.Width(), kWidth + 30 / TwipsPerPixelFromDpi(dpi)) << dpi << " dpi, bottom";
    }
}

// At 96 dpi nothing moves: the rectangles the bar has always had.
TEST(BarScaling, NinetySixDpiKeepsItsRectangles) {
    const Rect wineTaskbar{0, 1023, 1280, 1024};
    struct Case {
        DockEdge edge;
        Rect window;
        Rect reserved;
    } cases[] = {
        {DockEdge::Left, {0, 0, 41, 1025}, {0, 0, 41, 1025}},
        {DockEdge::Right, {1240, 0, 1281, 1025}, {1240, 0, 1280, 1025}},
        {DockEdge::Top, {0, 0, 1282, 41}, {0, 0, 1280, 41}},
        {DockEdge::Bottom, {0, 985, 1282, 1026}, {0, 985, 1280, 1025}},
    };
    for (const Case& c : cases) {
        LayoutInput in;
        in.edge = c.edge;
        in.autoHide = false;
        in.screen = MakeScreenInfo(1280, 1024, 96, 96, wineTaskbar);
        const BarLayout l = LayoutBar(in);
        EXPECT_EQ(l.windowPixels, c.window) << Name(c.edge);
        EXPECT_EQ(l.appBarPixels, c.reserved) << Name(c.edge);
    }
}
