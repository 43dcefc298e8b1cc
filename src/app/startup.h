#pragma once
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "app/bar_services.h"
#include "app/menu_main.h"
#include "platform/platform.h"

namespace tavi {

// What start-up and shutdown need from the windows of the program.
class AppWindows {
public:
    virtual ~AppWindows() = default;

    virtual bool AnotherInstanceRunning() = 0;
    // The splash is centred and topmost; closing puts it back to not-topmost first.
    virtual void ShowSplash() = 0;
    virtual void CloseSplash() = 0;

    struct BarLoadResult {
        bool controlFailed = false;  // a control of the bar could not be created
        std::string errorText;       // the system's text for the failure
        bool laidOut = false;        // the load laid the bar out on a screen
    };
    // Creates and shows the bar; its load lays it out.
    virtual BarLoadResult ShowBar() = 0;
    virtual void HideBar() = 0;
    virtual void UnloadBar() = 0;

    // Topmost: brings the bar to the front; otherwise makes its toolbar not topmost.
    virtual void ApplyStartTopMost(bool topMost) = 0;
    virtual void StartTimers(bool wallpaperTimer) = 0;
    virtual void BuildWallpaperMenu() = 0;

    // Runs `work` once, from the message loop, after the bar has been
    // painted at its place with the pictures of its first page; never when
    // the bar closed before that.
    virtual void AfterFirstPaint(std::function<void()> work) = 0;
    // What the bar leaves until after its first paint: the tray icon, the
    // drop target and the check mark of the display mode.
    virtual void FinishBar() = 0;
    virtual void RegisterUpCheck() = 0;
};

// The name of the lock that keeps one bar per program folder, from the
// folder as the system resolves it (long names, links followed): the same
// for every spelling of one folder ("\\?\" prefixes, "/" for "\", a final
// "\", letters in either case), and different for different folders.
std::string BarLockName(std::string_view resolvedFolder);

// ExMenuCount - 1 when it is numeric, else 9; at most 99 (100 member slots).
int ExMenuMaxFor(const std::string& exMenuCount);
// Roots of removable drives whose display name has no "FD" (floppy drives
// are left out); one empty element when there are none.
std::vector<std::string> CollectRemovableDrives(SystemInfo& system);

// Reads "TaviLaunch.ini" into the state. False when it could not be read:
// the state keeps its settings, marked unread, so nothing is
// written over the file.
bool ReadSettings(MenuMain& state, Platform& platform);
// After settings were read again: the bar follows them, as after the
// options' OK (timers, layout, global keys).
void FollowReadSettings(const Settings& settings, BarServices& bar);
// Saves the settings unless the file could not be read (then there is
// nothing to save over it: true).
bool SaveSettingsIfRead(MenuMain& state, Platform& platform);
// Another program changed the program's files (a sync tool, an editor, a
// bar on another PC): the lists are read again and shown, and settings
// changed outside are read and followed as 再表示 follows them.
void FollowOutsideChanges(MenuMain& state, Platform& platform, BarServices& bar);

// The start-up sequence up to the painted bar, which then takes its place
// and closes the splash; the rest follows with RunAfterFirstPaint. Returns
// false when the program must end at once (a second copy, or a bar that
// could not be brought up). A start the system made after a crash ends
// without a word when the user has started a bar meanwhile.
bool RunMain(MenuMain& state, Platform& platform, AppWindows& windows, bool restartedStart = false);
// The work nobody sees at the first paint: the tray icon first (the user
// looks for it next), then the group sections, timers, drive and wallpaper
// lists, and the update checker's registration last.
void RunAfterFirstPaint(MenuMain& state, Platform& platform, AppWindows& windows);

// What the bar's closing needs from its window.
class BarShutdown {
public:
    virtual ~BarShutdown() = default;
    virtual void StopTimers() = 0;
    virtual void EjectMedia() = 0;
    // The bar's left and top in twips.
    virtual std::pair<int, int> BarPositionTwips() = 0;
    virtual void RemoveTrayIcon() = 0;
    virtual void RemoveAppBar(bool autoHide) = 0;
};

// The closing sequence of the bar: timers off, media, settings, tray, shell registration.
void RunShutdown(MenuMain& state, Platform& platform, BarShutdown& bar);

}  // namespace tavi
