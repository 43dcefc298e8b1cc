#pragma once
#include <cstdint>

#include "app/bar_services.h"
#include "app/menu_main.h"
#include "menus/command_windows.h"
#include "menus/entry_commands.h"
#include "menus/list_freshness.h"
#include "menus/list_handlers.h"
#include "menus/media_tools.h"
#include "menus/menu_model.h"
#include "platform/folder_listing.h"
#include "platform/platform.h"
#include "platform/system_commands.h"

namespace tavi {

// Everything the menu commands reach.
struct MenuCommandPorts {
    MenuMain& state;
    Platform& platform;
    BarServices& bar;
    CommandWindows& windows;
    SystemCommands& system;
    FolderListing& folders;
    MediaTools& media;
    ListHandlers& listHandlers;
};

// "ﾌｫﾙﾀﾞ(&A)...": the explorer on the folder of `path`, or on the system
// drive's root when it names none or one the explorer could not be given.
void ExploreEntryFolder(Platform& platform, const std::string& applicationPath, const std::string& path);

enum class DispatchResult {
    Done,
    Refused,  // a command is still running, or the item is disabled now
    Unknown,  // no item has this id
};

// The command core of both popup menus: it builds their models, owns the
// run-time lists and the cut clipboard, and carries out the chosen item.
class MenuCommands {
public:
    explicit MenuCommands(const MenuCommandPorts& ports);
    ~MenuCommands();
    MenuCommands(const MenuCommands&) = delete;
    MenuCommands& operator=(const MenuCommands&) = delete;

    // A right press on the bar button at 0-based page position `position`:
    // the run-time lists are refreshed, the page acts on that entry,
    // and the entry menu comes back with its item states.
    MenuModel PrepareEntryMenu(int position);
    // The tray icon's right press: lists refreshed, the tray menu with its states.
    MenuModel PrepareTrayMenu();
    // Reads again the run-time lists whose sources changed; lists whose
    // folders are as they were are kept. The bar calls it when idle too, so
    // that a press finds them ready. Nothing while a command is running.
    void RefreshLists();
    // A device notice, or the pointer coming to the bar: drive names may have
    // changed without the drive roots.
    void ForgetDrives() { freshness_.Forget(ListKind::Drives); }
    // Carries out the item with this id from either menu. While a command is
    // running (a modal window of it is open) every other command is refused.
    DispatchResult Dispatch(uint32_t id);

    // For the bar's closing, while its window still exists: a cut entry that
    // was never pasted is written back to the list, never lost.
    void RestorePendingCut();

    bool Busy() const { return busy_; }
    RunTimeLists& Lists() { return lists_; }
    const CutClipboard& Clipboard() const { return clipboard_; }

private:
    MenuInputs Inputs() const;
    EntryCommandContext EntryContext();
    void Run(MenuCommand command);
    void RunListItem(ListItemRef item);
    // Runs a command that opens a modal window, with the bar's timer paused.
    template <typename Body>
    void Modal(Body body);

    // "TaviLaunch.ini" read again when it could not be read before.
    void ReadSettingsAgain();
    void OpenFolder(int index);
    // The explorer on a folder or drive, started from the program's folder.
    void Explore(const std::string& argument);
    void OpenDrive(int index);
    // A control-panel applet through the system's own rundll32.exe.
    void RunSystemApplet(const char* parameters);
    void OpenInProgramFolder(std::string_view fileName);
    void OpenHelp();
    void OpenBackupFolder();
    void TrayOptions();

    MenuCommandPorts ports_;
    RunTimeLists lists_;
    ListFreshness freshness_;
    CutClipboard clipboard_;
    int entryIndex_ = 0;  // the entry the entry menu was opened on
    bool busy_ = false;
};

}  // namespace tavi
