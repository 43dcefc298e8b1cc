#include "bar/folder_menu_opening.h"

#include "app/launcher.h"
#include "platform/text.h"

namespace tavi {

FolderMenuAnchor FolderMenuBeside(DockEdge edge, const Rect& beside, const Rect& button) {
    switch (edge) {
        case DockEdge::Left: return {beside.right, button.top, MenuSide::Right, beside};
        case DockEdge::Right: return {beside.left, button.top, MenuSide::Left, beside};
        case DockEdge::Top: return {button.left, beside.bottom, MenuSide::Below, beside};
        case DockEdge::Bottom: return {button.left, beside.top, MenuSide::Above, beside};
    }
    return {beside.right, button.top, MenuSide::Right, beside};
}

void OpenFolderMenu(BarServices& bar, MenuMain& state, FolderMenuWindow& window, int position, bool byKeys) {
    const int index = state.page.IndexAt(position);
    if (!state.entries.Has(index)) return;
    const LaunchEntry entry = state.entries.At(index);
    if (!OpensAsMenu(entry.PathName, entry.RunType)) return;
    state.page.ActOn(index);

    // No auto-hide while the menu is open.
    const TimerPause pause(bar, state.Closing);

    const DockEdge edge = DockEdgeFrom(state.settings.Values().Horizontal, state.settings.Values().EdgeCode);
    (void)window.Run(TrimSpaces(entry.PathName), FolderMenuBeside(edge, bar.WindowRect(), bar.ButtonRect(position)),
                     byKeys);
}

}  // namespace tavi
