#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/bar_services.h"
#include "platform/rect.h"

// Where the bar goes, how big it is and what it reserves from the shell.
// Everything is in twips unless a name says pixels; nothing here touches a
// window, so the view asks the shell for the taskbar and applies the result.
namespace tavi {

enum class DockEdge { Left, Right, Top, Bottom };

// The settings keep the edge as two digits: Horizontal "1" = top/bottom,
// EdgeCode "2" = right/top. Old files may hold EdgeCode "1", which means "3".
// Anything else that is not "1" / "2" falls back to the defaults' side
// (vertical, and left or bottom), so a damaged file still docks somewhere.
DockEdge DockEdgeFrom(std::string_view horizontal, std::string_view edgeCode);

struct DockEdgeDigits {
    std::string horizontal;
    std::string edgeCode;
};
DockEdgeDigits DigitsFor(DockEdge edge);

bool IsHorizontal(DockEdge edge);

// 0 left, 1 right, 2 top, 3 bottom: the argument of the reserve table.
int16_t LayoutCodeOf(DockEdge edge);

// ABE_* numbers; they order the edges differently from the layout code.
inline constexpr uint32_t kShellEdgeLeft = 0;
inline constexpr uint32_t kShellEdgeTop = 1;
inline constexpr uint32_t kShellEdgeRight = 2;
inline constexpr uint32_t kShellEdgeBottom = 3;
uint32_t ShellEdgeOf(DockEdge edge);

// The bar's APPBARDATA callback message.
inline constexpr uint32_t kAppBarCallbackMessage = 1124;
// Pixels (at 96 dpi) left reserved at the screen edge while the bar hides itself.
inline constexpr int16_t kAutoHideReservePixels = 5;

// A size designed in pixels at 96 dpi, at `dpi`, rounded as MulDiv rounds
// (half away from zero). A missing dpi is taken as 96.
int32_t ScalePixels(int32_t pixelsAt96, int32_t dpi);

// The system's icon sizes for the bar's dpi (SM_CXICON and SM_CXSMICON for
// that dpi); zero where the system did not say, so the 96-dpi size is scaled.
struct SystemIconSizes {
    int32_t large = 0;
    int32_t small = 0;
};

struct BarMetrics {
    int32_t iconPixels;
    int32_t buttonPixels;
    // Across the edge; a whole number of pixels at the bar's dpi, so the bar
    // rectangle's outer side lies exactly on a pixel.
    int32_t barThicknessTwips;
};
// 0 = 32×32, 1 = 16×16; every other index is the 24×24 row (sizes at 96 dpi:
// buttons 39, 23, 31 px; thickness 600, 360, 480 twips). At other dpis icons
// take the system's size, buttons keep their 7-pixel margin scaled, and the
// thickness follows the scaled pixels.
BarMetrics MetricsFor(int iconSizeIndex, int32_t dpi = 96, SystemIconSizes system = {});
// The IconSizeIndex settings digit as the index MetricsFor expects (0, 1 or 2).
int IconSizeIndexFrom(std::string_view digit);

struct ScreenInfo {
    int32_t dpi = 96;  // of the monitor the bar is on; pixel sizes scale with it
    int32_t twipsPerPixelX = 15;
    int32_t twipsPerPixelY = 15;
    int32_t widthTwips = 0;
    int32_t heightTwips = 0;
    Rect taskbarPixels;  // relative to the monitor; empty when the taskbar is on another one
    // Where the monitor lies in the virtual screen; every rectangle the
    // layout gives is moved there.
    int32_t originXPixels = 0;
    int32_t originYPixels = 0;
};
// A zero or negative factor is taken as 15 rather than dividing by it.
int32_t UsableTwipsPerPixel(int32_t twipsPerPixel);
// 1440 / dpi to the nearest whole number (96 → 15, 120 → 12, 144 → 10).
int32_t TwipsPerPixelFromDpi(int32_t dpi);
ScreenInfo MakeScreenInfo(int32_t widthPixels, int32_t heightPixels, int32_t dpiX, int32_t dpiY,
                          const Rect& taskbarPixels);

// The screen of one monitor (pixels in the virtual screen) at its dpi. A
// taskbar whose centre lies on another monitor does not shift the bar.
ScreenInfo MakeMonitorScreen(const Rect& monitorPixels, int32_t dpi, const Rect& taskbarPixels);
// The monitor's rectangle in virtual-screen pixels, back from a ScreenInfo.
Rect MonitorOf(const ScreenInfo& screen);

enum class TaskbarSide { Left, Top, Right, Bottom };
TaskbarSide ClassifyTaskbar(const Rect& taskbarPixels, int32_t twipsPerPixelX, int32_t screenWidthTwips);
TaskbarSide ClassifyTaskbar(const ScreenInfo& screen);

struct BarRect {
    Rect rect;            // twips
    int32_t taskbarInset;  // T: the taskbar's thickness in twips less 30
    TaskbarSide taskbar;
};
BarRect CalcBarRect(DockEdge edge, int iconSizeIndex, const ScreenInfo& screen, SystemIconSizes system = {});

// The rectangle reserved with ABM_QUERYPOS / ABM_SETPOS, in screen pixels.
// Along the edge it is the bar rectangle; across it, from the bar's outer side
// to the window's inner side, so the strip is exactly as thick as the part of
// the window on the screen. A non-zero reserve keeps only that many pixels at
// the edge. Codes other than 0..3 reserve nothing.
std::optional<Rect> AppBarRectFor(int16_t layoutCode, const Rect& barTwips, const Rect& windowPixels,
                                  int32_t twipsPerPixelX, int32_t twipsPerPixelY, int16_t autoHideReserve);

// The strip of EdgeTriggerWindow, 10 twips thick, along the docking edge.
Rect EdgeTriggerRect(DockEdge edge, const ScreenInfo& screen);
// The same strip in pixels, at least one 96-dpi pixel (scaled) thick: 10
// twips is less than a pixel at every dpi.
Rect EdgeTriggerPixels(DockEdge edge, const ScreenInfo& screen);

struct LayoutInput {
    DockEdge edge = DockEdge::Left;
    int iconSizeIndex = 0;
    bool toolbarFlat = true;  // the toolbar's style as set at load, not the live ButtonFlat
    bool autoHide = true;
    ScreenInfo screen;
    SystemIconSizes systemIcons;
};

inline constexpr int kCmdClose = 0;
inline constexpr int kCmdNext = 1;
inline constexpr int kCmdPrevious = 2;

struct BarLayout {
    int32_t dpi = 96;
    BarMetrics metrics{};
    int32_t smallIconPixels = 16;  // the small image list's size at this dpi
    int32_t buttonTwips = 0;  // B
    BarRect bar{};
    Rect window;                    // twips, screen coordinates
    Rect windowPixels;              // the window as it is moved
    std::array<Rect, 3> cmdMainEnd;  // twips, inside the window
    Rect toolbar;                   // twips, inside the window
    int16_t visibleCount = 0;       // never negative
    std::string saveX;
    std::string saveY;
    int16_t layoutCode = 0;
    uint32_t shellEdge = 0;
    int16_t autoHideReserve = 0;
    Rect appBarPixels;
    bool placeEdgeTrigger = false;  // only auto-hide uses the strip
    Rect edgeTrigger;               // twips
    Rect edgeTriggerPixels;
    Rect taskbarPixels;             // to be recorded as TaskbarRect (monitor-relative)
    Rect monitorPixels;             // the monitor laid out on
};
BarLayout LayoutBar(const LayoutInput& input);
// What the bar's neighbours (the group box) need of a layout.
BarButtonSizes ButtonSizesOf(const BarLayout& layout);

// How far across its edge the shell's answer to ABM_QUERYPOS moves a bar:
// appbars that came before it on the same edge stand between it and the
// edge. Only the outer side counts; the bar keeps its own thickness and length.
struct StackOffset {
    int32_t dx = 0;
    int32_t dy = 0;
    bool operator==(const StackOffset&) const = default;
};
StackOffset StackOffsetFor(DockEdge edge, const Rect& asked, const Rect& answered);
// The layout moved by `offset`: its window and its reserved strip, in twips
// and pixels. The edge strip of an auto-hidden bar stays at the edge.
BarLayout Stacked(BarLayout layout, StackOffset offset, int32_t twipsPerPixelX, int32_t twipsPerPixelY);

// Twips to pixels the way a window move does it: left, top, width and height
// each divided by the factor of their axis.
Rect TwipsToPixels(const Rect& twips, int32_t twipsPerPixelX, int32_t twipsPerPixelY);

// One toolbar slot of a layout: the button to add (when missing) and the entry
// whose Title becomes its tooltip (-1 clears the tooltip).
struct ButtonSlot {
    int buttonNumber;
    bool addButton;
    int tooltipEntry;
};
// Slots 0..visibleCount-1 in order. With keepButtons the toolbar is left as it
// is and slots past its last button are omitted: there is nothing to set.
std::vector<ButtonSlot> PlanButtonSlots(int visibleCount, int toolbarButtonCount, bool keepButtons,
                                        int entryOffset, int highestEntryIndex, bool showToolTips);

// Button numbers RemoveExtraButtons deletes, last first; button 1 always stays.
std::vector<int> ButtonsToRemove(int toolbarButtonCount);

struct ReDockDecision {
    bool reregister = false;  // false: only place the edge trigger again
    bool hideEdgeTrigger = false;
    uint32_t shellEdge = 0;
};
ReDockDecision DecideReDock(const Rect& taskbarNowPixels, const Rect& recordedTaskbarPixels, bool force,
                            bool autoHide, DockEdge edge);

}  // namespace tavi
