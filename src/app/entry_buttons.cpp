#include "app/entry_buttons.h"

#include "app/menu_main.h"
#include "app/save_notice.h"
#include "app/text.h"

namespace tavi {

void RefreshEntryButton(MenuMain& state, Platform& platform, EntryButtons& buttons) {
    (void)NoteSave(state, platform.messages, SaveEntries(state.entries, platform, state.ApplicationPath));
    const int index = state.CurrentEntryIndex;
    if (!state.entries.Has(index)) return;
    const LaunchEntry& entry = state.entries.slots[index];
    const int position = index - state.EntryOffset;
    buttons.SetButtonTip(position, state.settings.ToolTips == "1" ? entry.Title : std::string());
    if (!entry.PathName.empty())
        buttons.ShowEntryIcon(position, true);
    else
        buttons.ClearButtonImage(position);
}

void StoreEntry(MenuMain& state, Platform& platform, EntryButtons& buttons, const NewAppState& dialog) {
    const std::string program = TrimSpaces(dialog.program);
    if (program.empty() || state.CurrentEntryIndex < 0) return;
    if (state.entries.LastEntryIndex < state.CurrentEntryIndex || !state.entries.Has(state.CurrentEntryIndex))
        state.entries.ResizeEntryArrays(state.CurrentEntryIndex);
    LaunchEntry& entry = state.entries.slots[state.CurrentEntryIndex];
    entry.Title = TrimSpaces(dialog.title);
    entry.PathName = dialog.isGroup ? "[" + program + "]" : program;
    entry.Command = TrimSpaces(dialog.command);
    entry.RunType = dialog.runSizeIndex >= 0 ? std::to_string(dialog.runSizeIndex) : "0";
    if (IsBlank(entry.IconPath)) {
        if (!dialog.isGroup) entry.IconPath = program;
        entry.IconIndex = "0";
    }
    RefreshEntryButton(state, platform, buttons);
}

}  // namespace tavi
