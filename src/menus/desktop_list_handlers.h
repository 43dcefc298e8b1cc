#pragma once
#include <string>

#include "app/bar_services.h"
#include "app/menu_main.h"
#include "menus/reboot_prompt.h"
#include "menus/list_handlers.h"
#include "platform/desktop_parameters.h"
#include "platform/display_modes.h"
#include "platform/folder_listing.h"
#include "platform/platform.h"
#include "platform/system_restart.h"

namespace tavi {

// Everything the desktop and display lists reach.
struct DesktopListPorts {
    MenuMain& state;
    Platform& platform;  // the Windows folder, profiles, the shell, message boxes
    FolderListing& folders;
    DesktopParameters& desktop;
    DisplayModes& display;
    SystemRestart& restart;
    RebootPrompt& rebootPrompt;
    BarServices& bar;
};

// The wallpaper list, the clicks on desktop, screen-saver, wallpaper and
// display-mode items, the display-mode list and the wallpaper rotation.
class DesktopListHandlers final : public ListHandlers {
public:
    explicit DesktopListHandlers(const DesktopListPorts& ports);

    // The display-mode list both menus show (MenuCommands::Lists().displayModes),
    // which SetChgDisplay fills and a mode change refreshes.
    void AttachDisplayList(RunTimeList& list) { displayList_ = &list; }
    // SetChgDisplay: at the bar's load and whenever the display changed.
    void SetChgDisplay();
    // TimWallPaper's tick, every 60 seconds while the timer runs.
    void TimWallPaperTick();

    void BuildWallpaperMenu(RunTimeList& wallPapers) override;
    void OpenDeskTopItem(const RunTimeList& deskTop, int index) override;
    void SelectScreenSaver(RunTimeList& screenSavers, int index) override;
    void SelectWallPaper(RunTimeList& wallPapers, int index) override;
    // Tests the mode and sets it, asks about a restart where one is needed,
    // tells the user what did not work; lays the bar out again on the new
    // screen, and closes the bar when the system restarts.
    void ChgDisplaySet(const std::string& caption) override;

private:
    DesktopListPorts ports_;
    RunTimeList* displayList_ = nullptr;
};

}  // namespace tavi
