#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "bar/bar_geometry.h"
#include "reference_screen.h"

namespace tavi {
// Readable failures: "{l,t,r,b}" instead of a byte dump.
void PrintTo(const Rect& r, std::ostream* os) {
    *os << "{" << r.left << "," << r.top << "," << r.right << "," << r.bottom << "}";
}
}  // namespace tavi

using namespace tavi;
using namespace tavi::reference;

namespace {

Rect TaskbarAt(TaskbarSide side) {
    switch (side) {
        case TaskbarSide::Left: return kTaskbarLeft;
        case TaskbarSide::Top: return kTaskbarTop;
        case TaskbarSide::Right: return kTaskbarRight;
        case TaskbarSide::Bottom: return kTaskbarBottom;
    }
    return {};
}

const char* Name(TaskbarSide s) {
    switch (s) {
        case TaskbarSide::Left: return "left";
        case TaskbarSide::Right: return "right";
        case TaskbarSide::Top: return "top";
        case TaskbarSide::Bottom: return "bottom";
    }
    return "?";
}

LayoutInput Input(DockEdge edge, int icon, const Rect& taskbar, bool autoHide = true, bool flat = true) {
    LayoutInput in;
    in.edge = edge;
    in.iconSizeIndex = icon;
    in.toolbarFlat = flat;
    in.autoHide = autoHide;
    in.screen = Screen1280(taskbar);
    return in;
}

}  // namespace

TEST(DockEdgeSettings, DigitsSelectTheEdge) {
    struct Case {
        const char* horizontal;
        const char* edgeCode;
        DockEdge expected;
    } cases[] = {
        {"0", "3", DockEdge::Left},
        {"0", "2", DockEdge::Right},
        {"1", "2", DockEdge::Top},
        {"1", "3", DockEdge::Bottom},
        // Old files store "1" where "3" is meant.
        {"0", "1", DockEdge::Left},
        {"1", "1", DockEdge::Bottom},
        // Damaged digits fall back to the default side of each digit.
        {"0", "0", DockEdge::Left},
        {"1", "", DockEdge::Bottom},
        {"", "2", DockEdge::Right},
        {"2", "2", DockEdge::Right},
        {"x", "9", DockEdge::Left},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DockEdgeFrom(c.horizontal, c.edgeCode), c.expected)
            << "Horizontal \"" << c.horizontal << "\", EdgeCode \"" << c.edgeCode << "\"";
}

TEST(DockEdgeSettings, CodesPerEdge) {
    struct Case {
        DockEdge edge;
        const char* horizontal;
        const char* edgeCode;
        int16_t layoutCode;
        uint32_t shellEdge;
    } cases[] = {
        {DockEdge::Left, "0", "3", 0, 0},
        {DockEdge::Right, "0", "2", 1, 2},
        {DockEdge::Top, "1", "2", 2, 1},
        {DockEdge::Bottom, "1", "3", 3, 3},
    };
    for (const Case& c : cases) {
        const DockEdgeDigits digits = DigitsFor(c.edge);
        EXPECT_EQ(digits.horizontal, c.horizontal) << Name(c.edge);
        EXPECT_EQ(digits.edgeCode, c.edgeCode) << Name(c.edge);
        EXPECT_EQ(LayoutCodeOf(c.edge), c.layoutCode) << Name(c.edge);
        EXPECT_EQ(ShellEdgeOf(c.edge), c.shellEdge) << Name(c.edge);
    }
}

TEST(BarMetricsTable, IconSizeRows) {
    struct Case {
        const char* digit;
        int icon, button, thickness;
    } cases[] = {
        {"0", 32, 39, 600}, {"1", 16, 23, 360}, {"2", 24, 31, 480},
        // Anything else is the 24×24 row.
        {"5", 24, 31, 480}, {"", 24, 31, 480}, {"-1", 24, 31, 480}, {"01", 24, 31, 480},
    };
    for (const Case& c : cases) {
        const BarMetrics m = MetricsFor(IconSizeIndexFrom(c.digit));
        EXPECT_EQ(m.iconPixels, c.icon) << "IconSizeIndex \"" << c.digit << "\"";
        EXPECT_EQ(m.buttonPixels, c.button) << "IconSizeIndex \"" << c.digit << "\"";
        EXPECT_EQ(m.barThicknessTwips, c.thickness) << "IconSizeIndex \"" << c.digit << "\"";
    }
    EXPECT_EQ(MetricsFor(7).buttonPixels, 31) << "index 7 as a number";
    EXPECT_EQ(MetricsFor(-3).buttonPixels, 31) << "index -3 as a number";
}

// Icons take the display's size, buttons keep their margin scaled, and the
// thickness is a whole number of pixels at the display's twips per pixel.
TEST(BarMetricsTable, ScaledWithTheDisplay) {
    struct Case {
        int32_t dpi;
        int index;
        int icon, button, thickness;
    } cases[] = {
        {96, 0, 32, 39, 600},   {96, 1, 16, 23, 360},   {96, 2, 24, 31, 480},
        {120, 0, 40, 49, 600},  {120, 1, 20, 29, 360},  {120, 2, 30, 39, 480},
        {144, 0, 48, 59, 600},  {144, 1, 24, 35, 360},  {144, 2, 36, 47, 480},
        {192, 0, 64, 78, 640},  {192, 1, 32, 46, 384},  {192, 2, 48, 62, 512},
        {0, 0, 32, 39, 600},  // no dpi reported: 96
    };
    for (const Case& c : cases) {
        const BarMetrics m = MetricsFor(c.index, c.dpi);
        const std::string where = std::to_string(c.dpi) + " dpi, index " + std::to_string(c.index);
        EXPECT_EQ(m.iconPixels, c.icon) << where;
        EXPECT_EQ(m.buttonPixels, c.button) << where;
        EXPECT_EQ(m.barThicknessTwips, c.thickness) << where;
    }
    // The system's own icon sizes win; the 24-pixel row has no system size.
    const SystemIconSizes system{42, 21};
    EXPECT_EQ(MetricsFor(0, 120, system).iconPixels, 42);
    EXPECT_EQ(MetricsFor(0, 120, system).buttonPixels, 51);
    EXPECT_EQ(MetricsFor(1, 120, system).iconPixels, 21);
    EXPECT_EQ(MetricsFor(2, 120, system).iconPixels, 30);

    EXPECT_EQ(ScalePixels(7, 144), 11) << "10.5 rounds away from zero, as MulDiv";
    EXPECT_EQ(ScalePixels(5, 120), 6) << "6.25";
    EXPECT_EQ(ScalePixels(1, 96), 1);
}

TEST(ScreenFactors, TwipsPerPixelFromDpi) {
    EXPECT_EQ(TwipsPerPixelFromDpi(96), 15);
    EXPECT_EQ(TwipsPerPixelFromDpi(120), 12);
    EXPECT_EQ(TwipsPerPixelFromDpi(144), 10);
    EXPECT_EQ(TwipsPerPixelFromDpi(192), 8) << "7.5 rounds up";
    EXPECT_EQ(TwipsPerPixelFromDpi(0), 15) << "no dpi reported";

    const ScreenInfo s = MakeScreenInfo(1920, 1080, 144, 144, Rect{0, 1040, 1920, 1080});
    EXPECT_EQ(s.twipsPerPixelX, 10);
    EXPECT_EQ(s.widthTwips, 19200);
    EXPECT_EQ(s.heightTwips, 10800);
}

TEST(TaskbarClassification, SidesInOrder) {
    struct Case {
        Rect tb;
        TaskbarSide expected;
        const char* what;
    } cases[] = {
        {kTaskbarBottom, TaskbarSide::Bottom, "bottom"},
        {kTaskbarTop, TaskbarSide::Top, "top"},
        {kTaskbarLeft, TaskbarSide::Left, "left"},
        {kTaskbarRight, TaskbarSide::Right, "right"},
        // The shell reports the taskbar 2 px past the screen on three sides.
        {{-2, 994, 1282, 1026}, TaskbarSide::Bottom, "bottom, overhanging"},
        {{-2, -2, 1282, 30}, TaskbarSide::Top, "top, overhanging"},
        {{-2, -2, 62, 1026}, TaskbarSide::Left, "left, overhanging"},
        {{1218, -2, 1282, 1026}, TaskbarSide::Right, "right, overhanging"},
        // Right wins over bottom: any positive left is the right side.
        {{1, 994, 1280, 1024}, TaskbarSide::Right, "left 1 px in"},
        // A top bar narrower than the screen reads as a left one.
        {{0, 0, 1279, 30}, TaskbarSide::Left, "top, one pixel short"},
        // Any top from 1 px down is the bottom side.
        {{0, 1, 1280, 31}, TaskbarSide::Bottom, "top at 1 px"},
        {{0, 0, 1280, 31}, TaskbarSide::Top, "top at 0 px"},
        // No taskbar at all (the shell answers zeros).
        {{0, 0, 0, 0}, TaskbarSide::Left, "no taskbar"},
    };
    for (const Case& c : cases) EXPECT_EQ(ClassifyTaskbar(c.tb, 15, kSW), c.expected) << c.what;
}

// Every edge × taskbar side × icon size against the placement table and the
// 5-pixel auto-hide strip, on the 1280×1024 reference screen at 96 dpi. What
// is reserved without auto-hide is checked as an invariant further down.
//
//   left edge, taskbar left        right edge, taskbar right
//   +--+---+---------------+       +---------------+---+--+
//   |tb|bar|               |       |               |bar|tb|   bar overlaps
//   |  |   |               |       |               |  ||  |   the taskbar by
//   +--+---+---------------+       +---------------+---+--+   32 twips
TEST(BarPlacement, EveryEdgeTaskbarAndIconSize) {
    using E = DockEdge;
    using S = TaskbarSide;
    struct Case {
        E edge;
        S taskbar;
        int icon;
        int32_t x, y, w, h;  // twips
        int16_t visible;
        Rect reservedAutoHide;  // pixels
    } cases[] = {
        {E::Left, S::Bottom, 0, 0, 0, 600, 14940, 24, {0, 0, 5, 996}},
        {E::Left, S::Top, 0, 0, 420, 600, 14940, 24, {0, 28, 5, 1024}},
        {E::Left, S::Left, 0, 900, 0, 600, 15360, 24, {60, 0, 65, 1024}},
        {E::Left, S::Right, 0, 0, 0, 600, 15360, 24, {0, 0, 5, 1024}},
        {E::Left, S::Bottom, 1, 0, 0, 360, 14940, 41, {0, 0, 5, 996}},
        {E::Left, S::Top, 1, 0, 420, 360, 14940, 41, {0, 28, 5, 1024}},
        {E::Left, S::Left, 1, 900, 0, 360, 15360, 43, {60, 0, 65, 1024}},
        {E::Left, S::Right, 1, 0, 0, 360, 15360, 43, {0, 0, 5, 1024}},
        {E::Left, S::Bottom, 2, 0, 0, 480, 14940, 30, {0, 0, 5, 996}},
        {E::Left, S::Top, 2, 0, 420, 480, 14940, 30, {0, 28, 5, 1024}},
        {E::Left, S::Left, 2, 900, 0, 480, 15360, 31, {60, 0, 65, 1024}},
        {E::Left, S::Right, 2, 0, 0, 480, 15360, 31, {0, 0, 5, 1024}},

        {E::Right, S::Bottom, 0, 18600, 0, 600, 14940, 24, {1275, 0, 1280, 996}},
        {E::Right, S::Top, 0, 18600, 420, 600, 14940, 24, {1275, 28, 1280, 1024}},
        {E::Right, S::Left, 0, 18600, 0, 600, 15360, 24, {1275, 0, 1280, 1024}},
        {E::Right, S::Right, 0, 17732, 0, 600, 15360, 24, {1217, 0, 1222, 1024}},
        {E::Right, S::Bottom, 1, 18840, 0, 360, 14940, 41, {1275, 0, 1280, 996}},
        {E::Right, S::Top, 1, 18840, 420, 360, 14940, 41, {1275, 28, 1280, 1024}},
        {E::Right, S::Left, 1, 18840, 0, 360, 15360, 43, {1275, 0, 1280, 1024}},
        {E::Right, S::Right, 1, 17972, 0, 360, 15360, 43, {1217, 0, 1222, 1024}},
        {E::Right, S::Bottom, 2, 18720, 0, 480, 14940, 30, {1275, 0, 1280, 996}},
        {E::Right, S::Top, 2, 18720, 420, 480, 14940, 30, {1275, 28, 1280, 1024}},
        {E::Right, S::Left, 2, 18720, 0, 480, 15360, 31, {1275, 0, 1280, 1024}},
        {E::Right, S::Right, 2, 17852, 0, 480, 15360, 31, {1217, 0, 1222, 1024}},

        {E::Top, S::Bottom, 0, 0, 0, 19200, 600, 31, {0, 0, 1280, 5}},
        {E::Top, S::Top, 0, 0, 420, 19200, 600, 31, {0, 28, 1280, 33}},
        {E::Top, S::Left, 0, 900, 0, 18300, 600, 30, {60, 0, 1280, 5}},
        {E::Top, S::Right, 0, 0, 0, 18300, 600, 30, {0, 0, 1220, 5}},
        {E::Top, S::Bottom, 1, 0, 0, 19200, 360, 54, {0, 0, 1280, 5}},
        {E::Top, S::Top, 1, 0, 420, 19200, 360, 54, {0, 28, 1280, 33}},
        {E::Top, S::Left, 1, 900, 0, 18300, 360, 51, {60, 0, 1280, 5}},
        {E::Top, S::Right, 1, 0, 0, 18300, 360, 51, {0, 0, 1220, 5}},
        {E::Top, S::Bottom, 2, 0, 0, 19200, 480, 39, {0, 0, 1280, 5}},
        {E::Top, S::Top, 2, 0, 420, 19200, 480, 39, {0, 28, 1280, 33}},
        {E::Top, S::Left, 2, 900, 0, 18300, 480, 38, {60, 0, 1280, 5}},
        {E::Top, S::Right, 2, 0, 0, 18300, 480, 38, {0, 0, 1220, 5}},

        {E::Bottom, S::Bottom, 0, 0, 14340, 19200, 600, 31, {0, 991, 1280, 996}},
        {E::Bottom, S::Top, 0, 0, 14760, 19200, 600, 31, {0, 1019, 1280, 1024}},
        {E::Bottom, S::Left, 0, 900, 14760, 18300, 600, 30, {60, 1019, 1280, 1024}},
        {E::Bottom, S::Right, 0, 0, 14760, 18300, 600, 30, {0, 1019, 1220, 1024}},
        {E::Bottom, S::Bottom, 1, 0, 14580, 19200, 360, 54, {0, 991, 1280, 996}},
        {E::Bottom, S::Top, 1, 0, 15000, 19200, 360, 54, {0, 1019, 1280, 1024}},
        {E::Bottom, S::Left, 1, 900, 15000, 18300, 360, 51, {60, 1019, 1280, 1024}},
        {E::Bottom, S::Right, 1, 0, 15000, 18300, 360, 51, {0, 1019, 1220, 1024}},
        {E::Bottom, S::Bottom, 2, 0, 14460, 19200, 480, 39, {0, 991, 1280, 996}},
        {E::Bottom, S::Top, 2, 0, 14880, 19200, 480, 39, {0, 1019, 1280, 1024}},
        {E::Bottom, S::Left, 2, 900, 14880, 18300, 480, 38, {60, 1019, 1280, 1024}},
        {E::Bottom, S::Right, 2, 0, 14880, 18300, 480, 38, {0, 1019, 1220, 1024}},
    };
    for (const Case& c : cases) {
        const std::string where = std::string(Name(c.edge)) + " edge, taskbar " + Name(c.taskbar) +
                                  ", icon size " + std::to_string(c.icon);
        const Rect tb = TaskbarAt(c.taskbar);
        const BarRect bar = CalcBarRect(c.edge, c.icon, Screen1280(tb));
        EXPECT_EQ(bar.rect, MakeRect(c.x, c.y, c.w, c.h)) << where;
        EXPECT_EQ(bar.taskbar, c.taskbar) << where;

        const BarLayout on = LayoutBar(Input(c.edge, c.icon, tb, true));
        EXPECT_EQ(on.visibleCount, c.visible) << where;
        EXPECT_EQ(on.appBarPixels, c.reservedAutoHide) << where << ", auto-hide on";
        EXPECT_EQ(on.window.left, c.x) << where;
        EXPECT_EQ(on.window.top, c.y) << where;
        EXPECT_EQ(on.saveX, std::to_string(c.x)) << where;
        EXPECT_EQ(on.saveY, std::to_string(c.y)) << where;
    }
}

TEST(BarPlacement, TaskbarThicknessLessThirty) {
    EXPECT_EQ(CalcBarRect(DockEdge::Left, 0, Screen1280(kTaskbarBottom)).taskbarInset, 420);
    EXPECT_EQ(CalcBarRect(DockEdge::Top, 0, Screen1280(kTaskbarTop)).taskbarInset, 420);
    // Beside a vertical taskbar its thickness is the screen height.
    EXPECT_EQ(CalcBarRect(DockEdge::Left, 0, Screen1280(kTaskbarLeft)).taskbarInset, 15330);
    EXPECT_EQ(CalcBarRect(DockEdge::Left, 0, Screen1280(Rect{})).taskbarInset, -30) << "no taskbar";
}

// EdgeTriggerWindow: 10 twips thick, along the edge. It does not depend on the
// icon size.
TEST(EdgeTrigger, StripPerEdgeAndTaskbar) {
    using E = DockEdge;
    using S = TaskbarSide;
    struct Case {
        E edge;
        S taskbar;
        int32_t x, y, w, h;
    } cases[] = {
        {E::Left, S::Bottom, 0, 0, 10, 14940},
        {E::Left, S::Top, 0, 420, 10, 14940},
        {E::Left, S::Left, 900, 0, 10, 15360},
        {E::Left, S::Right, 0, 0, 10, 15360},
        {E::Right, S::Bottom, 19140, 0, 10, 14940},
        {E::Right, S::Top, 19140, 420, 10, 14940},
        {E::Right, S::Left, 19140, 0, 10, 15360},
        {E::Right, S::Right, 18240, 0, 10, 15360},  // 60 twips inside the taskbar's edge
        {E::Top, S::Bottom, 0, 0, 19230, 10},
        {E::Top, S::Top, 0, 0, 19230, 10},
        {E::Top, S::Left, 900, 0, 18330, 10},
        {E::Top, S::Right, 0, 0, 18330, 10},
        {E::Bottom, S::Bottom, 0, 14880, 19230, 10},
        {E::Bottom, S::Top, 0, 15300, 19230, 10},
        {E::Bottom, S::Left, 900, 15300, 18330, 10},
        {E::Bottom, S::Right, 0, 15328, 18330, 10},
    };
    for (const Case& c : cases) {
        const Rect expected = MakeRect(c.x, c.y, c.w, c.h);
        EXPECT_EQ(EdgeTriggerRect(c.edge, Screen1280(TaskbarAt(c.taskbar))), expected)
            << Name(c.edge) << " edge, taskbar " << Name(c.taskbar);
        for (int icon = 0; icon < 3; ++icon)
            EXPECT_EQ(LayoutBar(Input(c.edge, icon, TaskbarAt(c.taskbar))).edgeTrigger, expected)
                << Name(c.edge) << " edge, taskbar " << Name(c.taskbar) << ", icon size " << icon;
    }
}

// Inside a left or right bar (B = button size in twips):
//
//     0        B-B/4  B+16 B+32
//     +-------------[x]-+--+   top 10: close, B/4 square
//     |                 |  |
//  160+-----------------+  |   next,     height (B+32)/2
//     |                 |  |
//     +-----------------+  |   previous, height (B+32)/2
//     |     toolbar        |   VisibleCount × B high
TEST(BarControls, VerticalPerIconSize) {
    struct Case {
        int icon;
        Rect close, next, previous;
        int32_t toolbarTop, windowWidth, button;
    } cases[] = {
        {0, {439, 10, 585, 156}, {0, 160, 601, 468}, {0, 468, 601, 776}, 776, 617, 585},
        {1, {259, 10, 345, 96}, {0, 160, 361, 348}, {0, 348, 361, 536}, 536, 377, 345},
        {2, {349, 10, 465, 126}, {0, 160, 481, 408}, {0, 408, 481, 656}, 656, 497, 465},
    };
    for (const Case& c : cases) {
        for (bool flat : {true, false}) {
            const std::string where =
                "icon size " + std::to_string(c.icon) + (flat ? ", flat" : ", standard");
            const BarLayout l = LayoutBar(Input(DockEdge::Left, c.icon, kTaskbarBottom, true, flat));
            EXPECT_EQ(l.buttonTwips, c.button) << where;
            EXPECT_EQ(l.cmdMainEnd[kCmdClose], c.close) << where;
            EXPECT_EQ(l.cmdMainEnd[kCmdNext], c.next) << where;
            EXPECT_EQ(l.cmdMainEnd[kCmdPrevious], c.previous) << where;
            EXPECT_EQ(l.window, MakeRect(0, 0, c.windowWidth, 14940)) << where;
            EXPECT_EQ(l.toolbar, MakeRect(0, c.toolbarTop, c.windowWidth, l.visibleCount * c.button)) << where;
        }
    }
    // The toolbar of the default layout, as literal twips.
    EXPECT_EQ(LayoutBar(Input(DockEdge::Left, 0, kTaskbarBottom)).toolbar, (Rect{0, 776, 617, 14816}));
}

// Inside a top or bottom bar:
//
//  0  10      160    160+B
//  +--[x]------+------+-----------------------
//  |           | next | toolbar (VisibleCount × B, +40 standard)
//  |           +------+
//  |           | prev |
//  +-----------+------+-----------------------
TEST(BarControls, HorizontalPerIconSizeAndStyle) {
    struct Case {
        int icon;
        bool flat;
        int32_t windowHeight;
        Rect close, next, previous;
        int32_t toolbarLeft, toolbarWidth;
    } cases[] = {
        {0, true, 617, {10, 10, 156, 156}, {160, 0, 745, 292}, {160, 292, 745, 601}, 745, 31 * 585},
        {0, false, 665, {10, 10, 156, 156}, {160, 0, 745, 316}, {160, 316, 745, 633}, 745, 31 * 585 + 40},
        {1, true, 377, {10, 10, 96, 96}, {160, 0, 505, 172}, {160, 172, 505, 361}, 505, 54 * 345},
        {1, false, 425, {10, 10, 96, 96}, {160, 0, 505, 196}, {160, 196, 505, 393}, 505, 54 * 345 + 40},
        {2, true, 497, {10, 10, 126, 126}, {160, 0, 625, 232}, {160, 232, 625, 481}, 625, 39 * 465},
        {2, false, 545, {10, 10, 126, 126}, {160, 0, 625, 256}, {160, 256, 625, 513}, 625, 39 * 465 + 40},
    };
    for (const Case& c : cases) {
        const std::string where = "icon size " + std::to_string(c.icon) + (c.flat ? ", flat" : ", standard");
        const BarLayout l = LayoutBar(Input(DockEdge::Top, c.icon, kTaskbarBottom, true, c.flat));
        EXPECT_EQ(l.cmdMainEnd[kCmdClose], c.close) << where;
        EXPECT_EQ(l.cmdMainEnd[kCmdNext], c.next) << where;
        EXPECT_EQ(l.cmdMainEnd[kCmdPrevious], c.previous) << where;
        EXPECT_EQ(l.window, MakeRect(0, 0, 19230, c.windowHeight)) << where;
        EXPECT_EQ(l.toolbar, MakeRect(c.toolbarLeft, 0, c.toolbarWidth, c.windowHeight)) << where;
    }
}

TEST(BarLayoutCases, DefaultSettings) {
    // Left edge, 32×32, auto-hide on, taskbar at the bottom.
    const BarLayout l = LayoutBar(Input(DockEdge::Left, 0, kTaskbarBottom));
    EXPECT_EQ(l.bar.rect, (Rect{0, 0, 600, 14940}));
    EXPECT_EQ(l.bar.taskbarInset, 420);
    EXPECT_EQ(l.window, (Rect{0, 0, 617, 14940}));  // B + 32 wide, B = 39 × 15
    EXPECT_EQ(l.visibleCount, 24);                   // (14940 - 585 - 160) / 585
    EXPECT_EQ(l.appBarPixels, (Rect{0, 0, 5, 996}));
    EXPECT_EQ(l.autoHideReserve, 5);
    EXPECT_EQ(l.layoutCode, 0);
    EXPECT_EQ(l.shellEdge, 0u);
    EXPECT_TRUE(l.placeEdgeTrigger);
    EXPECT_EQ(l.taskbarPixels, kTaskbarBottom);
    EXPECT_EQ(l.saveX, "0");
    EXPECT_EQ(l.saveY, "0");

    const BarLayout noHide = LayoutBar(Input(DockEdge::Left, 0, kTaskbarBottom, false));
    EXPECT_EQ(noHide.autoHideReserve, 0);
    EXPECT_FALSE(noHide.placeEdgeTrigger);
}

TEST(BarLayoutCases, RightEdgeOverlapsRightTaskbar) {
    const BarLayout l = LayoutBar(Input(DockEdge::Right, 0, kTaskbarRight));
    // The taskbar starts at 1220 px = 18300 twips; the bar ends 32 twips past it.
    EXPECT_EQ(l.bar.rect.left, 17732);
    EXPECT_EQ(l.bar.rect.right, 18332);
    EXPECT_EQ(l.edgeTrigger.left, 18240);
    EXPECT_EQ(l.saveX, "17732");
    EXPECT_EQ(l.layoutCode, 1);
    EXPECT_EQ(l.shellEdge, 2u);
}

TEST(BarLayoutCases, BottomEdgeSitsThirtyTwipsLowOverBottomTaskbar) {
    const BarLayout l = LayoutBar(Input(DockEdge::Bottom, 0, kTaskbarBottom));
    // Taskbar top 994 px = 14910 twips; flush above it would be 14310.
    EXPECT_EQ(l.bar.rect.top, 14340);
    EXPECT_EQ(l.window, (Rect{0, 14340, 19230, 14957}));
    EXPECT_EQ(l.saveY, "14340");
}

TEST(BarLayoutCases, IconSizeFiveIsTwentyFour) {
    const BarLayout five = LayoutBar(Input(DockEdge::Left, IconSizeIndexFrom("5"), kTaskbarBottom));
    EXPECT_EQ(five.metrics.iconPixels, 24);
    EXPECT_EQ(five.buttonTwips, 465);
    EXPECT_EQ(five.bar.rect, (Rect{0, 0, 480, 14940}));
    EXPECT_EQ(five.visibleCount, 30);
}

TEST(BarLayoutCases, ScreenTooSmallForOneButton) {
    struct Case {
        const char* what;
        DockEdge edge;
        int32_t widthPx, heightPx;
        Rect taskbar;
    } cases[] = {
        // (300 - 585 - 160) / 585 truncates to 0.
        {"20 px high, left edge", DockEdge::Left, 200, 20, Rect{}},
        // (150 - 745) / 585 is -1.
        {"10 px high, left edge", DockEdge::Left, 200, 10, Rect{}},
        {"10 px wide, top edge", DockEdge::Top, 10, 200, Rect{}},
        // A taskbar taller than the screen leaves a negative height.
        {"taskbar covers the screen", DockEdge::Right, 100, 10, Rect{0, 5, 100, 40}},
    };
    for (const Case& c : cases) {
        LayoutInput in;
        in.edge = c.edge;
        in.iconSizeIndex = 0;
        in.screen = MakeScreenInfo(c.widthPx, c.heightPx, 96, 96, c.taskbar);
        const BarLayout l = LayoutBar(in);
        EXPECT_EQ(l.visibleCount, 0) << c.what;
        EXPECT_GE(l.window.Width(), 0) << c.what;
        EXPECT_GE(l.window.Height(), 0) << c.what;
        EXPECT_GE(l.toolbar.Width(), 0) << c.what;
        EXPECT_GE(l.toolbar.Height(), 0) << c.what;
        EXPECT_TRUE(PlanButtonSlots(l.visibleCount, 1, false, 0, 10, true).empty()) << c.what;
    }
}

TEST(AppBarReserve, CodesOutsideTheTableReserveNothing) {
    const Rect bar = MakeRect(0, 0, 600, 14940);
    const Rect window{0, 0, 41, 996};
    EXPECT_FALSE(AppBarRectFor(4, bar, window, 15, 15, 5).has_value());
    EXPECT_FALSE(AppBarRectFor(-1, bar, window, 15, 15, 0).has_value());
    EXPECT_TRUE(AppBarRectFor(3, bar, window, 15, 15, 0).has_value());
}

TEST(TwipsToPixelsConversion, EachValueDividedSeparately) {
    // 17732 / 15 = 1182.13 and 617 / 15 = 41.13: both truncate, so the right
    // edge is 1182 + 41, not 18349 / 15.
    EXPECT_EQ(TwipsToPixels(MakeRect(17732, 0, 617, 15360), 15, 15), (Rect{1182, 0, 1223, 1024}));
    EXPECT_EQ(TwipsToPixels(MakeRect(30, 45, 60, 90), 0, 15), (Rect{2, 3, 6, 9})) << "zero factor read as 15";
}

TEST(ButtonSlots, AddsMissingButtonsAndSetsTooltips) {
    // Toolbar with 2 buttons, 5 slots, entries 0..6, first page shows entry 3.
    const auto slots = PlanButtonSlots(5, 2, false, 3, 6, true);
    ASSERT_EQ(slots.size(), 5u);
    const ButtonSlot expected[] = {
        {1, false, 3}, {2, false, 4}, {3, true, 5}, {4, true, 6}, {5, true, -1},
    };
    for (size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(slots[i].buttonNumber, expected[i].buttonNumber) << "slot " << i;
        EXPECT_EQ(slots[i].addButton, expected[i].addButton) << "slot " << i;
        EXPECT_EQ(slots[i].tooltipEntry, expected[i].tooltipEntry) << "slot " << i;
    }
}

TEST(ButtonSlots, TooltipsOffAndKeptButtons) {
    const auto noTips = PlanButtonSlots(3, 3, false, 0, 10, false);
    ASSERT_EQ(noTips.size(), 3u);
    for (const ButtonSlot& s : noTips) {
        EXPECT_EQ(s.tooltipEntry, -1) << "slot " << s.buttonNumber << " with tooltips off";
        EXPECT_FALSE(s.addButton) << "slot " << s.buttonNumber << " already there";
    }

    // Keeping the buttons adds none; slots past the toolbar have nothing to set.
    const auto kept = PlanButtonSlots(6, 4, true, 0, 10, true);
    ASSERT_EQ(kept.size(), 4u);
    EXPECT_EQ(kept.back().buttonNumber, 4);
    EXPECT_FALSE(kept.back().addButton);

    EXPECT_TRUE(PlanButtonSlots(-1, 1, false, 0, 10, true).empty()) << "negative count";
}

TEST(ButtonSlots, RemoveExtraKeepsButtonOne) {
    EXPECT_EQ(ButtonsToRemove(4), (std::vector<int>{4, 3, 2}));
    EXPECT_TRUE(ButtonsToRemove(1).empty()) << "one button";
    EXPECT_TRUE(ButtonsToRemove(0).empty()) << "empty toolbar";
}

TEST(ReDock, RegistersAgainOnlyWhenNeeded) {
    const Rect recorded = kTaskbarBottom;
    struct Case {
        const char* what;
        Rect now;
        bool force;
        bool reregister;
    } cases[] = {
        {"taskbar unchanged", kTaskbarBottom, false, false},
        {"unchanged but forced", kTaskbarBottom, true, true},
        {"moved to the top", kTaskbarTop, false, true},
        {"left side differs", Rect{1, 994, 1280, 1024}, false, true},
        {"top side differs", Rect{0, 993, 1280, 1024}, false, true},
        {"right side differs", Rect{0, 994, 1282, 1024}, false, true},
        {"bottom side differs", Rect{0, 994, 1280, 1026}, false, true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DecideReDock(c.now, recorded, c.force, true, DockEdge::Left).reregister, c.reregister) << c.what;
}

TEST(ReDock, RegistrationFields) {
    // Top to left through the options: forced, so the new edge is registered
    // although the taskbar stayed where it was.
    const ReDockDecision toLeft = DecideReDock(kTaskbarBottom, kTaskbarBottom, true, true, DockEdge::Left);
    EXPECT_EQ(toLeft.shellEdge, kShellEdgeLeft);
    EXPECT_FALSE(toLeft.hideEdgeTrigger);

    const ReDockDecision noHide = DecideReDock(kTaskbarTop, kTaskbarBottom, false, false, DockEdge::Top);
    EXPECT_EQ(noHide.shellEdge, kShellEdgeTop);
    EXPECT_TRUE(noHide.hideEdgeTrigger);
}
