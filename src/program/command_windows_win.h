#pragma once
#include "app/bar_services.h"
#include "menus/bar_tools.h"
#include "app/menu_main.h"
#include "menus/command_windows.h"
#include "menus/folder_menu_win.h"
#include "platform/folder_contents_win.h"
#include "platform/platform.h"
#include "dialogs/entry_search_box_win.h"
#include "platform/phonetic_readings_win.h"
#include "tools/memory_space_win.h"

namespace tavi {

// The windows the menu commands open, each over the bar window.
class Win32CommandWindows final : public CommandWindows {
public:
    Win32CommandWindows(MenuMain& state, Platform& platform, BarServices& bar, BarTools& tools);

    void ShowNewApp(int index) override;
    void ShowFileInformation(int index) override;
    int ShowOptionSet() override;
    void ShowFDFormat() override;
    void ShowMemorySpace() override;
    void ImportShortcuts() override;
    void OpenGroup(int position, bool byKeys) override;
    void ShowEntrySearch() override;
    void PrepareEntrySearch() override { (void)search_.Prepare(); }
    void OpenFolderMenu(int position, bool byKeys) override;
    NativeWindow ModelessWindow() const override;

private:
    MenuMain& state_;
    Platform& platform_;
    BarServices& bar_;
    BarTools& tools_;
    MemorySpaceDialog meter_;
    Win32PhoneticReadings readings_;
    EntrySearchDialog search_;
    Win32FolderContents folderContents_;
    Win32FolderMenu folderMenus_;  // keeps its pictures for the bar's whole run
};

}  // namespace tavi
