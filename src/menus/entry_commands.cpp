#include "menus/entry_commands.h"

#include "app/entry_buttons.h"
#include "app/messages.h"
#include "app/save_notice.h"
#include "app/text.h"
#include "menus/menu_model.h"

namespace tavi {
namespace {

bool IsFreeSlot(const LaunchEntry& entry) { return IsBlank(entry.Title) && IsBlank(entry.PathName); }

// Saves the list and refreshes the button of `index`, whatever CurrentEntryIndex is.
void RefreshSlot(const EntryCommandContext& c, int index) {
    const int current = c.state.CurrentEntryIndex;
    c.state.CurrentEntryIndex = index;
    RefreshEntryButton(c.state, c.platform, c.bar.Buttons());
    c.state.CurrentEntryIndex = current;
}

void SaveMembers(const EntryCommandContext& c, int index, const ExMenuSlots& members) {
    (void)NoteSave(c.state, c.platform.messages,
                   SaveExMenu(c.platform.profile, c.state.ApplicationPath, index, members, c.state.ExMenuMax));
}

// After a group moved from `source` to `target`, the members stored for the
// source are emptied, so they live only under the target. Not when both share
// one section (that would erase what was just saved), and not when the
// source slot holds a group again: those members are that group's now.
void ClearMovedMembers(const EntryCommandContext& c, int source, int target) {
    if (ExMenuSection(source) == ExMenuSection(target)) return;
    if (c.state.entries.Has(source) && IsGroupPath(TrimSpaces(c.state.entries.slots[source].PathName))) return;
    SaveMembers(c, source, EmptyExMenu(c.state.ExMenuMax));
}

std::string Quoted(std::string_view text) { return "\"" + std::string(text) + "\""; }

}  // namespace

std::string MoveQuestion(const std::string& title, const EntryStore& entries, int target) {
    const std::string targetTitle = entries.Has(target) ? entries.slots[target].Title : std::string();
    const std::string targetName =
        IsBlank(targetTitle) ? std::string(text::kUndefinedEntry) + std::to_string(target) : targetTitle;
    return Quoted(title) + std::string(text::kConfirmMoveMiddle) + Quoted(targetName) +
           std::string(text::kConfirmMoveSuffix);
}

void DeleteEntry(const EntryCommandContext& c) {
    const int index = c.state.CurrentEntryIndex;
    if (!c.state.entries.Has(index)) return;
    const MessageAnswer answer =
        c.platform.messages.Show({Quoted(c.state.entries.slots[index].Title) + std::string(text::kConfirmDeleteSuffix),
                                  std::string(text::kMessageCaption), MessageIcon::Warning, MessageButtons::OkCancel});
    if (answer != MessageAnswer::Ok) return;
    c.state.undo.BeginChange(c.state, c.platform);
    c.state.entries.ClearEntry(index);
    RefreshSlot(c, index);
    c.bar.FullRebuild();
    // A deleted group leaves no members behind for the next entry of its slot.
    SaveMembers(c, index, EmptyExMenu(c.state.ExMenuMax));
}

void CutEntry(const EntryCommandContext& c) {
    const int index = c.state.CurrentEntryIndex;
    if (!IsRegisteredSlot(c.state, index)) return;
    // One step, with the write-back of an earlier cut.
    c.state.undo.BeginChange(c.state, c.platform);
    if (c.clipboard.CutPending && RestorePendingCut(c)) c.bar.FullRebuild();
    c.clipboard.CutSource = index;
    c.clipboard.CutPending = true;
    c.clipboard.entry = c.state.entries.slots[index];
    c.state.entries.ClearEntry(index);
    // The members stay stored under the source until the paste.
    c.clipboard.members = LoadExMenu(c.platform.profile, c.state.ApplicationPath, index, c.state.ExMenuMax);
    RefreshSlot(c, index);
}

void PasteEntry(const EntryCommandContext& c) {
    if (!c.clipboard.CutPending) return;
    const int target = c.state.CurrentEntryIndex;
    if (target < 0) return;
    if (c.state.entries.Has(target) && !IsBlank(c.state.entries.slots[target].PathName)) {
        const MessageAnswer answer = c.platform.messages.Show(
            {MoveQuestion(c.clipboard.entry.Title, c.state.entries, target), std::string(text::kMessageCaption),
             MessageIcon::Question, MessageButtons::OkCancel});
        if (answer != MessageAnswer::Ok) return;
    }
    c.state.undo.BeginChange(c.state, c.platform);
    if (!c.state.entries.Has(target)) c.state.entries.ResizeEntryArrays(target);
    c.state.entries.slots[target] = c.clipboard.entry;
    const int source = c.clipboard.CutSource;
    const ExMenuSlots members = std::move(c.clipboard.members);
    c.clipboard = CutClipboard{};
    RefreshSlot(c, target);
    c.bar.FullRebuild();
    SaveMembers(c, target, members);
    ClearMovedMembers(c, source, target);
}

bool RestorePendingCut(const EntryCommandContext& c) {
    if (!c.clipboard.CutPending) return false;
    EntryStore& entries = c.state.entries;
    const int source = c.clipboard.CutSource;
    int target = source;
    if (!entries.Has(source) || !IsFreeSlot(entries.slots[source])) {
        target = entries.UpperBound() + 1;
        for (int i = 0; i <= entries.UpperBound(); ++i) {
            if (IsFreeSlot(entries.slots[i])) {
                target = i;
                break;
            }
        }
    }
    if (!entries.Has(target)) entries.ResizeEntryArrays(target);
    entries.slots[target] = c.clipboard.entry;
    const ExMenuSlots members = std::move(c.clipboard.members);
    c.clipboard = CutClipboard{};
    RefreshSlot(c, target);
    SaveMembers(c, target, members);
    ClearMovedMembers(c, source, target);
    return true;
}

}  // namespace tavi
