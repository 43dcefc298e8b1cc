#pragma once
#include <cstdint>
#include <vector>

#include "platform/rect.h"
#include "bar/bar_geometry.h"

// The auto-hide half of the Timer1 tick: every 500 ms the pointer is compared
// with the bar and with a zone along its edge. Timer1 runs only while that can
// change something: the pointer's own messages on the bar or the edge strip
// start it, and it stops once the bar has settled.
namespace tavi {

struct PixelPoint {
    int32_t x = 0;
    int32_t y = 0;
};
// GetMessagePos packs two signed 16-bit screen coordinates; a monitor left of
// or above the primary one gives negative values.
PixelPoint PointFromMessagePos(uint32_t packed);

struct TickInput {
    PixelPoint pointer;  // pixels
    ScreenInfo screen;   // the bar's monitor and its taskbar now
    Rect barWindow;      // twips; a hidden window keeps its rectangle
    DockEdge edge = DockEdge::Left;
    bool autoHide = true;
    int delayIndex = 1;  // AutoHideDelayIndex, 0..9: waits of index + 1 ticks
    // A full-screen program is in front: the pointer at the edge must not
    // bring the bar (or its strip) over it.
    bool fullScreenApp = false;
};

struct AutoHideAction {
    enum Kind {
        ShowEdgeTrigger,
        PlaceEdgeTrigger,     // move it to `rect` (pixels)
        EdgeTriggerTopmost,   // HWND_TOPMOST, no move, no size
        SetVisible,           // the bar's SetVisible: it also hides the trigger
        ToolbarNotTopmost,    // HWND_NOTOPMOST on the toolbar's window
        HideBar,
        EdgeTriggerToBottom,  // HWND_BOTTOM
    };
    Kind kind;
    Rect rect;  // PlaceEdgeTrigger only

    bool operator==(const AutoHideAction&) const = default;
};

// Shared with drag and drop: a release on the toolbar resets hideCounter, and
// lastReleasePosition is its guard. The view refreshes barVisible and
// triggerVisible from the real windows before a tick when something else
// (re-docking, load) may have shown or hidden them.
struct AutoHideState {
    int16_t hideCounter = 0;
    bool barVisible = true;
    bool triggerVisible = false;
    int16_t lastReleasePosition = 20;

    // One tick; the actions come in the order the view must perform them.
    std::vector<AutoHideAction> Tick(const TickInput& input);
    // The bar was shown by the user (the tray icon): it stays for a whole
    // hide delay counted from now, not from an earlier count.
    void ShownByUser();
    // After a tick: whether more ticks would change nothing until the pointer
    // comes to the bar or its edge again. Not while the bar is shown and may
    // still hide, nor while the pointer rests where a count runs.
    bool Settled(const TickInput& input) const;
};

// A window covering a whole monitor without a caption is a full-screen
// program (a game, a slide show, a video); a maximised window keeps its caption.
bool CoversMonitor(const Rect& window, const Rect& monitor, bool hasCaption);

// Whether a pointer (twips) is in the zone that brings a hidden bar back.
bool InShowZone(DockEdge edge, int32_t mx, int32_t my, const ScreenInfo& screen);

}  // namespace tavi
