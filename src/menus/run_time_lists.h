#pragma once
#include <string>
#include <vector>

#include "platform/folder_listing.h"
#include "platform/profile.h"
#include "platform/system_info.h"

namespace tavi {

// One item of a list built at run time.
struct ListItem {
    std::string caption;  // "-" shows as a separator
    // The list's parallel element: a drive root (DriveRoots), a desktop path
    // (DeskTopPaths), a screen saver's short path (ScreenSaverPaths), a wallpaper path.
    std::string path;
    bool enabled = true;
    bool checked = false;
    bool operator==(const ListItem&) const = default;
};

// An item array of a menu whose item 0 always exists.
struct RunTimeList {
    std::vector<ListItem> items{ListItem{}};
};

enum class ListKind { Drives, DeskTop, ScreenSavers, WallPapers, DisplayModes };
inline constexpr int kListKinds = 5;

// The lists both menus show. The drive, desktop and display-mode lists appear
// in both trees with the same items; screen savers and wallpapers only in the tray's.
struct RunTimeLists {
    RunTimeList drives;
    RunTimeList deskTop;
    RunTimeList screenSavers;
    RunTimeList wallPapers;
    RunTimeList displayModes;

    RunTimeLists();
    RunTimeList& Of(ListKind kind);
    const RunTimeList& Of(ListKind kind) const;
};

// Drives of the removable, fixed, remote and CD-ROM types, captioned by their
// display names; a caption of 2 characters or fewer leaves the drive out.
// A disabled "(なし)" when there are none.
RunTimeList DrivePopUpMake(SystemInfo& system);
// Every file and folder on the desktop, ".lnk" and ".pif" endings hidden.
// A disabled "(なし)" when there are none.
RunTimeList DeskTopPopUpMake(FolderListing& folders);
// "(なし)", then the screen savers of the Windows folder and the system
// folder; the one system.ini names is checked, "(なし)" when none is named.
RunTimeList ScreenSaverPopUpMake(SystemInfo& system, Profile& profile, FolderListing& folders);
// The screen saver system.ini names, upper-cased; empty when none is named.
std::string CurrentScreenSaver(SystemInfo& system, Profile& profile);
// Checks the item whose short path is `current` (upper-cased), "(なし)" when it is empty.
void CheckScreenSaver(RunTimeList& list, const std::string& current);

// The caption of a desktop item: the name before ".LNK", then before ".PIF" (letters without case).
std::string DeskTopCaption(const std::string& name);

}  // namespace tavi
