#pragma once
#include <string>

#include "menus/run_time_lists.h"

namespace tavi {

// The wallpaper list and the clicks on desktop, screen-saver, wallpaper and
// display-mode items, which the desktop and display tools carry out.
class ListHandlers {
public:
    virtual ~ListHandlers() = default;
    // BuildWallpaperMenu: refills the wallpaper list before a popup opens
    // (item 0 "(なし)", then the bitmaps, the current one checked).
    virtual void BuildWallpaperMenu(RunTimeList& wallPapers) = 0;
    // mnuDeskTopCount / mnuPopupDeskTopCount: opens desktop item `index`.
    virtual void OpenDeskTopItem(const RunTimeList& deskTop, int index) = 0;
    // mnuPopupScreenSaverCount: makes item `index` the screen saver and moves the check mark.
    virtual void SelectScreenSaver(RunTimeList& screenSavers, int index) = 0;
    // mnuPopupWallPaperCount: makes item `index` the wallpaper and moves the check mark.
    virtual void SelectWallPaper(RunTimeList& wallPapers, int index) = 0;
    // ChgDisplaySet: a display mode item (any but item 0) was chosen; its caption names the mode.
    virtual void ChgDisplaySet(const std::string& caption) = 0;
};

}  // namespace tavi
