#include "program/command_windows_win.h"

#include "dialogs/new_app_win.h"
#include "dialogs/file_information_win.h"
#include "dialogs/group_box_win.h"
#include "dialogs/import_folder_win.h"
#include "bar/folder_menu_opening.h"
#include "bar/shortcut_win.h"
#include "menus/import_shortcuts.h"
#include "platform/text.h"
#include "tools/fd_format_win.h"
#include "tools/option_set_win.h"

namespace tavi {

Win32CommandWindows::Win32CommandWindows(MenuMain& state, Platform& platform, BarServices& bar, BarTools& tools)
    : state_(state),
      platform_(platform),
      bar_(bar),
      tools_(tools),
      meter_(platform, tools.memory, tools.resources),
      search_(state, platform, bar, tools.pictures, readings_, tools.uses,
              [this](int position) {
                  // What a click on the button opens: a group's box or a folder's menu.
                  const int index = state_.page.IndexAt(position);
                  const bool group =
                      state_.entries.Has(index) && IsGroupPath(TrimSpaces(state_.entries.At(index).PathName));
                  if (group)
                      OpenGroup(position, true);
                  else
                      OpenFolderMenu(position, true);
              }),
      folderMenus_(platform, folderContents_, bar, tools.pictures) {}

void Win32CommandWindows::ShowNewApp(int index) {
    tavi::ShowNewApp(bar_.Handle(), state_, platform_, tools_.files, tools_.icons, index);
}

void Win32CommandWindows::ShowFileInformation(int index) {
    tavi::ShowFileInformation(bar_.Handle(), state_, tools_.fileDetails, tools_.registry, tools_.icons, index);
}

int Win32CommandWindows::ShowOptionSet() {
    return tavi::ShowOptionSet(bar_.Handle(), state_, platform_, bar_, tools_.files, tools_.sound, tools_.driveSpaces,
                               tools_.registry, ContactLinks(kHomeUrl, kSupportMail), &tools_.uses);
}

void Win32CommandWindows::ShowFDFormat() { tavi::ShowFDFormat(bar_.Handle(), platform_.system, tools_.formatter); }

void Win32CommandWindows::ShowMemorySpace() { meter_.Show(bar_.Handle()); }

void Win32CommandWindows::ImportShortcuts() {
    Win32Shortcuts shortcuts;
    Win32ImportFolderPrompt prompt(bar_.Handle(), tools_.files);
    (void)tavi::ImportShortcuts(
        {state_, platform_, tools_.folders, shortcuts, prompt, RoamingAppDataFolder()});
}

void Win32CommandWindows::ShowEntrySearch() { (void)search_.Show(); }

// Both are modeless; the one in front takes the dialog keys.
NativeWindow Win32CommandWindows::ModelessWindow() const {
    HWND active = GetActiveWindow();
    if (active && active == search_.Handle()) return reinterpret_cast<NativeWindow>(active);
    return reinterpret_cast<NativeWindow>(meter_.Handle());
}

void Win32CommandWindows::OpenGroup(int position, bool byKeys) {
    tavi::OpenGroup(bar_, state_, platform_, tools_.files, tools_.icons, tools_.pictures, folderMenus_, position, byKeys);
}

void Win32CommandWindows::OpenFolderMenu(int position, bool byKeys) {
    tavi::OpenFolderMenu(bar_, state_, folderMenus_, position, byKeys);
}

}  // namespace tavi
