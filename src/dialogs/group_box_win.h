#pragma once
#include "app/bar_services.h"
#include "app/menu_main.h"
#include "menus/folder_menu.h"
#include "platform/file_chooser.h"
#include "platform/icon_files.h"
#include "platform/picture_fetches.h"
#include "platform/platform.h"

namespace tavi {

// The window class of the group box, for whoever looks for it.
inline constexpr wchar_t kGroupBoxClass[] = L"frmRectangle";

// The bar's click on a group button at 0-based page position `position`:
// Timer1 paused, the box `Win32GroupBox` shown beside the button until a
// member is chosen, Escape or the close button is pressed or the pointer has
// left it, then the chosen member started and Timer1 resumed. The bar window
// is disabled while the box is up, as under any modal window of ours.
// `byKeys`: opened from the keyboard, so a pointer resting elsewhere does not
// close it. Member folders shown as menus open through `folderMenus`. The
// members' pictures come from `pictures`: a member shows none until its own
// has come.
void OpenGroup(BarServices& bar, MenuMain& state, Platform& platform, FileChooser& chooser, IconFiles& icons,
               PictureFetches& pictures, FolderMenuWindow& folderMenus, int position, bool byKeys = false);

}  // namespace tavi
