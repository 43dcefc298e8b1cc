#pragma once
#include "app/bar_services.h"
#include "app/menu_main.h"
#include "bar/bar_geometry.h"
#include "menus/folder_menu.h"
#include "platform/rect.h"

// Where and how a folder entry's menu opens from the bar.
namespace tavi {

// Beside `beside` (the bar window, or a group box) and in line with `button`,
// on the side away from the screen edge `edge`: right of a left bar with the
// menu's top at the button's top, left of a right bar, below a top bar with
// its left at the button's left, above a bottom bar, as the group box lies.
// `beside` is kept clear, so a menu with no room there slides along it.
FolderMenuAnchor FolderMenuBeside(DockEdge edge, const Rect& beside, const Rect& button);

// A click or Enter on the entry at 0-based page position `position` that
// opens as a folder menu (OpensAsMenu): Timer1 paused, so auto-hide waits,
// the menu shown beside the button until it closes, Timer1 resumed on every
// way out. Nothing happens when that entry is no such folder.
void OpenFolderMenu(BarServices& bar, MenuMain& state, FolderMenuWindow& window, int position, bool byKeys = false);

}  // namespace tavi
