#pragma once
#include <string>
#include <vector>

#include "app/bar_page.h"
#include "app/entry_list.h"
#include "app/save_notice.h"
#include "app/settings_file.h"
#include "app/start_log.h"
#include "app/wallpaper_rotation.h"

namespace tavi {

// What the program's parts share for the whole run: the objects that own
// each piece of state (each changes only through its own calls) and the
// few flags of the run itself.
struct MenuMain {
    std::string ApplicationPath;  // the program's own folder, set once at start
    // "TaviLaunch.ini": read, changed and written only through it.
    SettingsFile settings;
    // The shell gave the bar's edge to another auto-hidden bar: this one stays
    // shown; the settings still ask for auto-hide, for the next start.
    bool AutoHideRefused = false;
    // The entries and group members: read through it, changed only by its calls.
    EntryList entries;
    // Told of every entry and member the user starts; none in most tests.
    StartLog* starts = nullptr;

    BarPage page;  // which entries the buttons show

    // Roots of removable drives that are not floppy drives; never empty,
    // element 0 is "" when there are none.
    std::vector<std::string> RemovableDrives{""};
    bool Closing = false;
    SaveNotices notices;  // failed saves and backup copies, each told once

    WallpaperRotation wallpaper;  // the timed rotation through the wallpaper list
};

// Whether the bar hides itself: asked for, and the edge's auto-hide granted.
inline bool AutoHides(const MenuMain& state) {
    return state.settings.Values().AutoHide == "1" && !state.AutoHideRefused;
}

}  // namespace tavi
