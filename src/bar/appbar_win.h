#pragma once
#include <windows.h>

#include <shellapi.h>

#include "platform/rect.h"

namespace tavi {

// The bar's registration with the shell as an application desktop toolbar.
// One APPBARDATA record is kept for the program's life, as every message
// must carry the same window and callback.
class AppBar {
public:
    void Attach(HWND bar, UINT callbackMessage);
    void SetEdge(UINT edge) { data_.uEdge = edge; }

    void New();
    void RemoveAutoHideClaim();
    void Unregister();
    // ABM_QUERYPOS: where the shell puts a strip asked for at `pixels`, after
    // the appbars registered before this one on the same edge.
    Rect Query(const Rect& pixels);
    // ABM_SETPOS: the strip the bar takes.
    void Set(const Rect& pixels);
    // ABM_SETAUTOHIDEBAR on the bar's edge; false when another bar holds it
    // (the shell allows one auto-hidden bar an edge).
    bool ClaimAutoHide();
    // ABM_REMOVE for a bar whose program ended without closing it, so its
    // strip does not stay a hole.
    static void RemoveEnded(HWND bar);

    // The taskbar rectangle in pixels.
    static Rect TaskbarPosition();

private:
    APPBARDATA data_{};
};

}  // namespace tavi
