#pragma once
#include <string>

#include "app/menu_main.h"
#include "menus/run_time_lists.h"
#include "platform/desktop_parameters.h"
#include "platform/folder_listing.h"
#include "platform/profile.h"
#include "platform/system_info.h"

// The tray menu's wallpaper list "壁紙(&W)...", the wallpaper it sets, and the
// rotation through the list on the bar's 60-second timer TimWallPaper.
namespace tavi {

struct WallpaperPorts {
    SystemInfo& system;
    Profile& profile;
    FolderListing& folders;
    DesktopParameters& desktop;
};

// The wallpaper the system shows now, "" for none. The system's own answer
// comes first: today's Windows keeps the wallpaper in the user's registry
// settings, and win.ini's [Desktop] Wallpaper is read only when the system
// cannot tell.
std::string CurrentWallpaper(const WallpaperPorts& ports);

// BuildWallpaperMenu: item 0 "(なし)", then the bitmaps of the Windows folder
// by their short paths, in the order the system lists them. The current
// wallpaper is checked and WallpaperPosition points at it ("(なし)", 0, when
// there is none); WallpaperPaths mirrors the items' paths.
void BuildWallpaperMenu(MenuMain& state, RunTimeList& list, const WallpaperPorts& ports);

// SetWallpaper: "(なし)" (or an empty path) removes the wallpaper.
bool SetWallpaper(DesktopParameters& desktop, const std::string& path);

// mnuPopupWallPaperCount: sets item `index`'s wallpaper and checks it; the
// rotation goes on from index + 1.
void SelectWallPaper(MenuMain& state, RunTimeList& list, int index, DesktopParameters& desktop);

// One tick of TimWallPaper, `elapsedMinutes` after the last: after
// WallPaperChengeTimer minutes ("0" and "1" alike mean every minute) the next
// bitmap of WallpaperPaths, after the last one the first; "(なし)" is never
// rotated to.
void TimWallPaperTick(MenuMain& state, DesktopParameters& desktop, int elapsedMinutes = 1);
// The period of TimWallPaper: the timer wakes once for each rotation.
int WallpaperPeriodMinutes(const Settings& settings);

}  // namespace tavi
