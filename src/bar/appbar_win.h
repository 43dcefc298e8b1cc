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
    // ABM_QUERYPOS then ABM_SETPOS; the shell may adjust the rectangle, but the
    // bar keeps its own position.
    void Reserve(const Rect& pixels);

    // The taskbar rectangle in pixels.
    static Rect TaskbarPosition();

private:
    APPBARDATA data_{};
};

}  // namespace tavi
