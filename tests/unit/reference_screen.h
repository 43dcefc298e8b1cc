#pragma once
// The reference display of the bar tests: 1280×1024 pixels at 96 dpi, 15
// twips a pixel, so the screen is 19200 × 15360 twips. Each taskbar is 30 px
// thick (450 twips, T = 420) or 60 px wide (900 twips).
#include "bar/bar_geometry.h"

namespace tavi::reference {

constexpr int32_t kSW = 19200;
constexpr int32_t kSH = 15360;
constexpr Rect kTaskbarBottom{0, 994, 1280, 1024};
constexpr Rect kTaskbarTop{0, 0, 1280, 30};
constexpr Rect kTaskbarLeft{0, 0, 60, 1024};
constexpr Rect kTaskbarRight{1220, 0, 1280, 1024};

inline ScreenInfo Screen1280(const Rect& taskbar) {
    ScreenInfo s;
    s.twipsPerPixelX = 15;
    s.twipsPerPixelY = 15;
    s.widthTwips = kSW;
    s.heightTwips = kSH;
    s.taskbarPixels = taskbar;
    return s;
}

inline const char* Name(DockEdge e) {
    switch (e) {
        case DockEdge::Left: return "left";
        case DockEdge::Right: return "right";
        case DockEdge::Top: return "top";
        case DockEdge::Bottom: return "bottom";
    }
    return "?";
}

}  // namespace tavi::reference
