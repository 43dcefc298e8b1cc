#pragma once
#include <string>
#include <vector>

#include "app/entry_list.h"
#include "app/settings.h"
#include "app/start_log.h"

namespace tavi {

// The program's shared state for the whole run.
struct MenuMain {
    std::string ApplicationPath;  // the program's own folder
    Settings settings;
    // "TaviLaunch.ini" could not be read: nothing is written to it until it
    // is read again (再表示) or the options dialog's OK stores it.
    bool SettingsUnread = false;
    // The shell gave the bar's edge to another auto-hidden bar: this one stays
    // shown; the settings still ask for auto-hide, for the next start.
    bool AutoHideRefused = false;
    // The entries and group members: read through it, changed only by its calls.
    EntryList entries;
    // Told of every entry and member the user starts; none in most tests.
    StartLog* starts = nullptr;

    int CurrentEntryIndex = 0;  // the entry acted on
    int EntryOffset = 0;        // the entry shown on the first button
    int VisibleCount = 0;       // button slots on the bar

    // Roots of removable drives that are not floppy drives; never empty,
    // element 0 is "" when there are none.
    std::vector<std::string> RemovableDrives{""};
    int ExMenuMax = 9;  // highest group member slot
    bool Closing = false;
    bool SaveFailed = false;  // the last save failed and the user has been told
    bool BackupFailed = false;       // the last copy due in the backup folder could not be made
    bool BackupFailureTold = false;  // ... and the user has been told

    int WallpaperMinutes = 0;
    int WallpaperPosition = 0;
    std::vector<std::string> WallpaperPaths{""};
};

// Whether the bar hides itself: asked for, and the edge's auto-hide granted.
inline bool AutoHides(const MenuMain& state) { return state.settings.AutoHide == "1" && !state.AutoHideRefused; }

}  // namespace tavi
