#include "bar/bar_geometry.h"

#include <algorithm>

#include "bar/monitor_choice.h"

namespace tavi {

namespace {

// The band before the buttons that holds the close box, and the slack around
// the buttons, in twips.
constexpr int32_t kHeader = 160;
constexpr int32_t kWindowPad = 32;
constexpr int32_t kTriggerThickness = 10;

int32_t Factor(int32_t twipsPerPixel) { return UsableTwipsPerPixel(twipsPerPixel); }

int32_t TaskbarWidthTwips(const ScreenInfo& screen) {
    return Factor(screen.twipsPerPixelX) * screen.taskbarPixels.Width();
}

int32_t TaskbarInset(const ScreenInfo& screen) {
    return Factor(screen.twipsPerPixelY) * screen.taskbarPixels.Height() - 30;
}

int32_t NonNegative(int32_t value) { return std::max<int32_t>(value, 0); }

// Twips to pixels rounding down, so a monitor left of or above the primary
// (negative coordinates) keeps the pixel edges it has at the origin.
int32_t FloorDiv(int32_t twips, int32_t factor) {
    const int32_t q = twips / factor;
    return (twips % factor != 0 && twips < 0) ? q - 1 : q;
}

// Monitor-relative twips to virtual-screen twips.
Rect OnMonitor(const Rect& local, const ScreenInfo& screen) {
    const int32_t dx = screen.originXPixels * Factor(screen.twipsPerPixelX);
    const int32_t dy = screen.originYPixels * Factor(screen.twipsPerPixelY);
    return {local.left + dx, local.top + dy, local.right + dx, local.bottom + dy};
}

}  // namespace

DockEdge DockEdgeFrom(std::string_view horizontal, std::string_view edgeCode) {
    const bool alongTopOrBottom = horizontal == "1";
    const bool rightOrTop = edgeCode == "2";
    if (alongTopOrBottom) return rightOrTop ? DockEdge::Top : DockEdge::Bottom;
    return rightOrTop ? DockEdge::Right : DockEdge::Left;
}

DockEdgeDigits DigitsFor(DockEdge edge) {
    switch (edge) {
        case DockEdge::Left: return {"0", "3"};
        case DockEdge::Right: return {"0", "2"};
        case DockEdge::Top: return {"1", "2"};
        case DockEdge::Bottom: return {"1", "3"};
    }
    return {"0", "3"};
}

bool IsHorizontal(DockEdge edge) { return edge == DockEdge::Top || edge == DockEdge::Bottom; }

int16_t LayoutCodeOf(DockEdge edge) {
    switch (edge) {
        case DockEdge::Left: return 0;
        case DockEdge::Right: return 1;
        case DockEdge::Top: return 2;
        case DockEdge::Bottom: return 3;
    }
    return 0;
}

uint32_t ShellEdgeOf(DockEdge edge) {
    switch (edge) {
        case DockEdge::Left: return kShellEdgeLeft;
        case DockEdge::Right: return kShellEdgeRight;
        case DockEdge::Top: return kShellEdgeTop;
        case DockEdge::Bottom: return kShellEdgeBottom;
    }
    return kShellEdgeLeft;
}

int32_t ScalePixels(int32_t pixelsAt96, int32_t dpi) {
    if (dpi <= 0) dpi = 96;
    const int64_t scaled = static_cast<int64_t>(pixelsAt96) * dpi;
    const int64_t rounded = scaled >= 0 ? (scaled + 48) / 96 : (scaled - 48) / 96;
    return static_cast<int32_t>(rounded);
}

BarMetrics MetricsFor(int iconSizeIndex, int32_t dpi, SystemIconSizes system) {
    // Icon and bar thickness at 96 dpi; the button is the icon and a 7-pixel margin.
    int32_t icon = 24, thickness = 32;
    int32_t systemIcon = 0;
    if (iconSizeIndex == 0) {
        icon = 32, thickness = 40, systemIcon = system.large;
    } else if (iconSizeIndex == 1) {
        icon = 16, thickness = 24, systemIcon = system.small;
    }
    const int32_t iconPixels = systemIcon > 0 ? systemIcon : ScalePixels(icon, dpi);
    return {iconPixels, iconPixels + ScalePixels(7, dpi), ScalePixels(thickness, dpi) * TwipsPerPixelFromDpi(dpi)};
}

int IconSizeIndexFrom(std::string_view digit) {
    if (digit == "0") return 0;
    if (digit == "1") return 1;
    return 2;
}

// 15 is the 96-dpi factor every display had when these numbers were chosen.
int32_t UsableTwipsPerPixel(int32_t twipsPerPixel) { return twipsPerPixel > 0 ? twipsPerPixel : 15; }

int32_t TwipsPerPixelFromDpi(int32_t dpi) {
    if (dpi <= 0) return 15;
    return std::max<int32_t>(1, (1440 + dpi / 2) / dpi);
}

ScreenInfo MakeScreenInfo(int32_t widthPixels, int32_t heightPixels, int32_t dpiX, int32_t dpiY,
                          const Rect& taskbarPixels) {
    ScreenInfo screen;
    screen.dpi = dpiY > 0 ? dpiY : 96;
    screen.twipsPerPixelX = TwipsPerPixelFromDpi(dpiX);
    screen.twipsPerPixelY = TwipsPerPixelFromDpi(dpiY);
    screen.widthTwips = widthPixels * screen.twipsPerPixelX;
    screen.heightTwips = heightPixels * screen.twipsPerPixelY;
    screen.taskbarPixels = taskbarPixels;
    return screen;
}

ScreenInfo MakeMonitorScreen(const Rect& monitor, int32_t dpi, const Rect& taskbarPixels) {
    Rect local;
    if (TaskbarOnMonitor(taskbarPixels, monitor))
        local = {taskbarPixels.left - monitor.left, taskbarPixels.top - monitor.top,
                 taskbarPixels.right - monitor.left, taskbarPixels.bottom - monitor.top};
    ScreenInfo screen = MakeScreenInfo(monitor.Width(), monitor.Height(), dpi, dpi, local);
    screen.originXPixels = monitor.left;
    screen.originYPixels = monitor.top;
    return screen;
}

Rect MonitorOf(const ScreenInfo& screen) {
    return MakeRect(screen.originXPixels, screen.originYPixels, screen.widthTwips / Factor(screen.twipsPerPixelX),
                    screen.heightTwips / Factor(screen.twipsPerPixelY));
}

TaskbarSide ClassifyTaskbar(const Rect& tb, int32_t twipsPerPixelX, int32_t screenWidthTwips) {
    if (tb.left > 0) return TaskbarSide::Right;
    if (tb.top >= 1) return TaskbarSide::Bottom;
    if (Factor(twipsPerPixelX) * tb.Width() >= screenWidthTwips) return TaskbarSide::Top;
    return TaskbarSide::Left;
}

TaskbarSide ClassifyTaskbar(const ScreenInfo& screen) {
    return ClassifyTaskbar(screen.taskbarPixels, screen.twipsPerPixelX, screen.widthTwips);
}

BarRect CalcBarRect(DockEdge edge, int iconSizeIndex, const ScreenInfo& screen, SystemIconSizes system) {
    const int32_t f = MetricsFor(iconSizeIndex, screen.dpi, system).barThicknessTwips;
    const int32_t sw = screen.widthTwips;
    const int32_t sh = screen.heightTwips;
    const int32_t tw = TaskbarWidthTwips(screen);
    const int32_t t = TaskbarInset(screen);
    const int32_t taskbarRight = Factor(screen.twipsPerPixelX) * screen.taskbarPixels.right;
    const TaskbarSide side = ClassifyTaskbar(screen);

    int32_t left = 0, top = 0, width = 0, height = 0;
    if (!IsHorizontal(edge)) {
        const bool right = edge == DockEdge::Right;
        width = f;
        switch (side) {
            case TaskbarSide::Right:
                top = 0;
                height = sh;
                // 32 twips into the taskbar, where earlier versions put it too.
                left = right ? sw - tw - f + 32 : 0;
                break;
            case TaskbarSide::Left:
                top = 0;
                height = sh;
                left = right ? sw - f : taskbarRight;
                break;
            case TaskbarSide::Top:
                top = t;
                height = sh - t;
                left = right ? sw - f : 0;
                break;
            case TaskbarSide::Bottom:
                top = 0;
                height = sh - t;
                left = right ? sw - f : 0;
                break;
        }
    } else {
        const bool bottom = edge == DockEdge::Bottom;
        height = f;
        switch (side) {
            case TaskbarSide::Right:
                left = 0;
                width = sw - tw;
                top = bottom ? sh - f : 0;
                break;
            case TaskbarSide::Left:
                left = taskbarRight;
                width = sw - tw;
                top = bottom ? sh - f : 0;
                break;
            case TaskbarSide::Top:
                left = 0;
                width = sw;
                top = bottom ? sh - f : t;
                break;
            case TaskbarSide::Bottom:
                left = 0;
                width = sw;
                top = bottom ? sh - f - t : 0;
                break;
        }
    }
    return {OnMonitor(MakeRect(left, top, width, height), screen), t, side};
}

std::optional<Rect> AppBarRectFor(int16_t layoutCode, const Rect& barTwips, const Rect& windowPixels,
                                  int32_t twipsPerPixelX, int32_t twipsPerPixelY, int16_t autoHideReserve) {
    const int32_t px = Factor(twipsPerPixelX);
    const int32_t py = Factor(twipsPerPixelY);
    const int32_t x = FloorDiv(barTwips.left, px);
    const int32_t w = barTwips.Width() / px;
    const int32_t y = FloorDiv(barTwips.top, py);
    const int32_t h = barTwips.Height() / py;
    const int32_t r = autoHideReserve;
    // The window is a little thicker than the bar rectangle (its buttons plus
    // a margin); at the far edges the surplus lies past the screen, at the
    // near edges it lies inside and must be reserved too.
    switch (layoutCode) {
        case 0: return Rect{x, y, r > 0 ? x + r : windowPixels.right, y + h};
        case 1: return Rect{r > 0 ? x + w - r : windowPixels.left, y, x + w, y + h};
        case 2: return Rect{x, y, x + w, r > 0 ? y + r : windowPixels.bottom};
        case 3: return Rect{x, r > 0 ? y + h - r : windowPixels.top, x + w, y + h};
        default: return std::nullopt;
    }
}

Rect EdgeTriggerRect(DockEdge edge, const ScreenInfo& screen) {
    const int32_t sw = screen.widthTwips;
    const int32_t sh = screen.heightTwips;
    const int32_t tw = TaskbarWidthTwips(screen);
    const int32_t t = TaskbarInset(screen);
    const int32_t taskbarRight = Factor(screen.twipsPerPixelX) * screen.taskbarPixels.right;
    const TaskbarSide side = ClassifyTaskbar(screen);

    if (!IsHorizontal(edge)) {
        const bool besideTaskbar = side == TaskbarSide::Left || side == TaskbarSide::Right;
        const int32_t height = besideTaskbar ? sh : sh - t;
        const int32_t top = side == TaskbarSide::Top ? t : 0;
        int32_t left = 0;
        if (edge == DockEdge::Left)
            left = side == TaskbarSide::Left ? taskbarRight : 0;
        else
            left = side == TaskbarSide::Right ? sw - tw - 60 : sw - 60;
        return OnMonitor(MakeRect(left, top, kTriggerThickness, height), screen);
    }

    const bool besideTaskbar = side == TaskbarSide::Left || side == TaskbarSide::Right;
    const int32_t left = side == TaskbarSide::Left ? taskbarRight : 0;
    const int32_t width = besideTaskbar ? sw - tw + 30 : sw + 30;
    int32_t top = 0;
    if (edge == DockEdge::Bottom) {
        if (side == TaskbarSide::Bottom)
            top = sh - t - 60;
        else if (side == TaskbarSide::Right)
            top = sh - 32;
        else
            top = sh - 60;
    }
    return OnMonitor(MakeRect(left, top, width, kTriggerThickness), screen);
}

Rect EdgeTriggerPixels(DockEdge edge, const ScreenInfo& screen) {
    Rect strip = TwipsToPixels(EdgeTriggerRect(edge, screen), screen.twipsPerPixelX, screen.twipsPerPixelY);
    const int32_t thickness = std::max<int32_t>(1, ScalePixels(1, screen.dpi));
    if (IsHorizontal(edge))
        strip.bottom = strip.top + std::max(strip.Height(), thickness);
    else
        strip.right = strip.left + std::max(strip.Width(), thickness);
    return strip;
}

BarButtonSizes ButtonSizesOf(const BarLayout& layout) {
    return {layout.metrics.buttonPixels, layout.metrics.iconPixels, layout.buttonTwips};
}

BarLayout LayoutBar(const LayoutInput& input) {
    const ScreenInfo& screen = input.screen;
    BarLayout layout;
    layout.dpi = screen.dpi;
    layout.metrics = MetricsFor(input.iconSizeIndex, screen.dpi, input.systemIcons);
    layout.smallIconPixels = MetricsFor(1, screen.dpi, input.systemIcons).iconPixels;
    const int32_t b = layout.metrics.buttonPixels * Factor(screen.twipsPerPixelY);
    layout.buttonTwips = b;
    layout.bar = CalcBarRect(input.edge, input.iconSizeIndex, screen, input.systemIcons);
    const Rect& bar = layout.bar.rect;
    const int32_t quarter = b / 4;

    // A screen too small for one button gives a zero or negative count; no
    // slots then, and nothing downstream pages by a negative amount.
    int32_t slots = 0;
    if (!IsHorizontal(input.edge)) {
        slots = (bar.Height() - b - kHeader) / b;
        const int32_t visible = NonNegative(slots);
        const int32_t windowWidth = b + kWindowPad;
        const int32_t h2 = windowWidth / 2;
        layout.cmdMainEnd[kCmdClose] = MakeRect(b - quarter, 10, quarter, quarter);
        layout.cmdMainEnd[kCmdNext] = MakeRect(0, kHeader, b + 16, h2);
        layout.cmdMainEnd[kCmdPrevious] = MakeRect(0, kHeader + h2, b + 16, h2);
        layout.window = MakeRect(bar.left, bar.top, windowWidth, NonNegative(bar.Height()));
        layout.toolbar = MakeRect(0, kHeader + 2 * h2, windowWidth, visible * b);
    } else {
        slots = (bar.Width() - b - kHeader) / b;
        const int32_t visible = NonNegative(slots);
        const int32_t windowHeight = b + (input.toolbarFlat ? kWindowPad : 80);
        const int32_t h2 = (windowHeight - kWindowPad) / 2;
        layout.cmdMainEnd[kCmdClose] = MakeRect(10, 10, quarter, quarter);
        layout.cmdMainEnd[kCmdNext] = MakeRect(kHeader, 0, b, h2);
        layout.cmdMainEnd[kCmdPrevious] =
            MakeRect(kHeader, h2, b, windowHeight - h2 - (input.toolbarFlat ? 16 : 32));
        layout.window = MakeRect(bar.left, bar.top, NonNegative(bar.Width() + 30), windowHeight);
        // The standard style draws wider buttons than the flat one.
        const int32_t toolbarWidth = visible * b + (input.toolbarFlat ? 0 : 40);
        layout.toolbar = MakeRect(layout.cmdMainEnd[kCmdNext].right, 0, toolbarWidth, windowHeight);
    }
    layout.visibleCount = static_cast<int16_t>(std::min<int32_t>(NonNegative(slots), INT16_MAX));

    layout.saveX = std::to_string(layout.window.left);
    layout.saveY = std::to_string(layout.window.top);
    layout.layoutCode = LayoutCodeOf(input.edge);
    layout.shellEdge = ShellEdgeOf(input.edge);
    layout.autoHideReserve =
        input.autoHide ? static_cast<int16_t>(ScalePixels(kAutoHideReservePixels, screen.dpi)) : int16_t{0};
    layout.windowPixels = TwipsToPixels(layout.window, screen.twipsPerPixelX, screen.twipsPerPixelY);
    layout.appBarPixels = *AppBarRectFor(layout.layoutCode, bar, layout.windowPixels, screen.twipsPerPixelX,
                                         screen.twipsPerPixelY, layout.autoHideReserve);
    layout.placeEdgeTrigger = input.autoHide;
    layout.edgeTrigger = EdgeTriggerRect(input.edge, screen);
    layout.edgeTriggerPixels = EdgeTriggerPixels(input.edge, screen);
    layout.taskbarPixels = screen.taskbarPixels;
    layout.monitorPixels = MonitorOf(screen);
    return layout;
}

StackOffset StackOffsetFor(DockEdge edge, const Rect& asked, const Rect& answered) {
    switch (edge) {
        case DockEdge::Left: return {answered.left - asked.left, 0};
        case DockEdge::Right: return {answered.right - asked.right, 0};
        case DockEdge::Top: return {0, answered.top - asked.top};
        case DockEdge::Bottom: return {0, answered.bottom - asked.bottom};
    }
    return {};
}

BarLayout Stacked(BarLayout layout, StackOffset offset, int32_t twipsPerPixelX, int32_t twipsPerPixelY) {
    const auto move = [](Rect& r, int32_t dx, int32_t dy) {
        r.left += dx;
        r.right += dx;
        r.top += dy;
        r.bottom += dy;
    };
    move(layout.windowPixels, offset.dx, offset.dy);
    move(layout.appBarPixels, offset.dx, offset.dy);
    move(layout.window, offset.dx * Factor(twipsPerPixelX), offset.dy * Factor(twipsPerPixelY));
    layout.saveX = std::to_string(layout.window.left);
    layout.saveY = std::to_string(layout.window.top);
    return layout;
}

Rect TwipsToPixels(const Rect& twips, int32_t twipsPerPixelX, int32_t twipsPerPixelY) {
    const int32_t px = Factor(twipsPerPixelX);
    const int32_t py = Factor(twipsPerPixelY);
    return MakeRect(FloorDiv(twips.left, px), FloorDiv(twips.top, py), twips.Width() / px, twips.Height() / py);
}

std::vector<ButtonSlot> PlanButtonSlots(int visibleCount, int toolbarButtonCount, bool keepButtons,
                                        int entryOffset, int highestEntryIndex, bool showToolTips) {
    std::vector<ButtonSlot> slots;
    int buttons = std::max(toolbarButtonCount, 0);
    for (int i = 0; i < visibleCount; ++i) {
        bool add = false;
        if (buttons < i + 1) {
            if (keepButtons) break;
            add = true;
            buttons = i + 1;
        }
        const int entry = entryOffset + i;
        const int tooltip = (entry <= highestEntryIndex && showToolTips) ? entry : -1;
        slots.push_back({i + 1, add, tooltip});
    }
    return slots;
}

std::vector<int> ButtonsToRemove(int toolbarButtonCount) {
    std::vector<int> numbers;
    for (int n = toolbarButtonCount; n >= 2; --n) numbers.push_back(n);
    return numbers;
}

ReDockDecision DecideReDock(const Rect& taskbarNowPixels, const Rect& recordedTaskbarPixels, bool force,
                            bool autoHide, DockEdge edge) {
    ReDockDecision decision;
    decision.reregister = force || taskbarNowPixels != recordedTaskbarPixels;
    if (!decision.reregister) return decision;
    decision.hideEdgeTrigger = !autoHide;
    decision.shellEdge = ShellEdgeOf(edge);
    return decision;
}

}  // namespace tavi
