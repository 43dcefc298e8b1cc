#include "app/entry_buttons.h"

#include "app/bar_services.h"
#include "app/menu_main.h"
#include "platform/text.h"

namespace tavi {

void RefreshEntryButton(const MenuMain& state, EntryButtons& buttons, int index) {
    if (!state.entries.Has(index)) return;
    const LaunchEntry& entry = state.entries.At(index);
    const int position = index - state.page.Offset();
    buttons.SetButtonTip(position, state.settings.Values().ToolTips == "1" ? entry.Title : std::string());
    if (!entry.PathName.empty())
        buttons.ShowEntryIcon(position, true);
    else
        buttons.ClearButtonImage(position);
}

void BarListView::EntriesChanged(const std::vector<int>& indices) {
    for (const int index : indices) RefreshEntryButton(state_, bar_.Buttons(), index);
}

void BarListView::EntriesReplaced() { bar_.FullRebuild(); }

void StoreEntry(ListEdit& edit, int index, const NewAppState& dialog) {
    const std::string program = TrimSpaces(dialog.program);
    if (program.empty() || index < 0) return;
    LaunchEntry& entry = edit.Slot(index);
    entry.Title = TrimSpaces(dialog.title);
    entry.PathName = dialog.isGroup ? "[" + program + "]" : program;
    entry.Command = TrimSpaces(dialog.command);
    entry.RunType = dialog.runSizeIndex >= 0 ? std::to_string(dialog.runSizeIndex) : "0";
    if (IsBlank(entry.IconPath)) {
        if (!dialog.isGroup) entry.IconPath = program;
        entry.IconIndex = "0";
    }
}

}  // namespace tavi
