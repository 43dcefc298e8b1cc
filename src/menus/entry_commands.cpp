#include "menus/entry_commands.h"

#include "platform/messages.h"
#include "platform/text.h"
#include "menus/menu_model.h"

namespace tavi {
namespace {

bool IsFreeSlot(const LaunchEntry& entry) { return IsBlank(entry.Title) && IsBlank(entry.PathName); }

// Puts a cut entry back at `target` with its members. The members stored for
// the source are emptied, so they live only under the target; not when both
// share one section (that would erase what was just written), and not when
// the source slot holds a group again: those members are that group's now.
void PlaceCut(ListEdit& edit, const CutClipboard& cut, int target) {
    edit.Slot(target) = cut.entry;
    edit.SetMembers(target, cut.members);
    const int source = cut.CutSource;
    if (ExMenuSection(source) == ExMenuSection(target)) return;
    if (edit.Entries().Has(source) && IsGroupPath(TrimSpaces(edit.Entries().slots[source].PathName))) return;
    edit.ClearMembers(source);
}

// Where a pending cut goes back to: its own slot while that is free, else
// the first free slot, else a new one after the last.
int RestoreSlot(const EntryStore& entries, int source) {
    if (entries.Has(source) && IsFreeSlot(entries.slots[source])) return source;
    for (int i = 0; i <= entries.UpperBound(); ++i)
        if (IsFreeSlot(entries.slots[i])) return i;
    return entries.UpperBound() + 1;
}

std::string Quoted(std::string_view text) { return "\"" + std::string(text) + "\""; }

}  // namespace

std::string MoveQuestion(const std::string& title, const EntryStore& entries, int target) {
    const std::string targetTitle = entries.Has(target) ? entries.slots[target].Title : std::string();
    const std::string targetName =
        IsBlank(targetTitle) ? Fill(text::kUndefinedEntry, {{"number", std::to_string(target)}}) : targetTitle;
    return Fill(text::kConfirmMove, {{"title", Quoted(title)}, {"target", Quoted(targetName)}});
}

void DeleteEntry(const EntryCommandContext& c, int index) {
    if (!c.state.entries.Has(index)) return;
    const MessageAnswer answer =
        c.platform.messages.Show({Fill(text::kConfirmDelete, {{"title", Quoted(c.state.entries.At(index).Title)}}),
                                  std::string(text::kMessageCaption), MessageIcon::Warning, MessageButtons::OkCancel});
    if (answer != MessageAnswer::Ok) return;
    (void)c.state.entries.Change([&](ListEdit& edit) {
        edit.Clear(index);
        // A deleted group leaves no members behind for the next entry of its slot.
        edit.ClearMembers(index);
        edit.RebuildAll();
    });
}

void CutEntry(const EntryCommandContext& c, int index) {
    if (!IsRegisteredSlot(c.state, index)) return;
    CutClipboard cut{true, index, c.state.entries.At(index), {}};
    const CutClipboard earlier = c.clipboard;
    // The clipboard is part of each step, so it changes only once the change is made.
    const bool changed = c.state.entries.Change([&](ListEdit& edit) {
        // One step, with the write-back of an earlier cut.
        if (earlier.CutPending) {
            PlaceCut(edit, earlier, RestoreSlot(edit.Entries(), earlier.CutSource));
            edit.RebuildAll();
        }
        // The members stay stored under the source until the paste.
        cut.members = edit.Members(index);
        edit.Clear(index);
    });
    if (changed) c.clipboard = std::move(cut);
}

void PasteEntry(const EntryCommandContext& c, int target) {
    if (!c.clipboard.CutPending || target < 0) return;
    if (c.state.entries.Has(target) && !IsBlank(c.state.entries.At(target).PathName)) {
        const MessageAnswer answer = c.platform.messages.Show(
            {MoveQuestion(c.clipboard.entry.Title, c.state.entries.Store(), target), std::string(text::kMessageCaption),
             MessageIcon::Question, MessageButtons::OkCancel});
        if (answer != MessageAnswer::Ok) return;
    }
    const CutClipboard cut = c.clipboard;
    const bool changed = c.state.entries.Change([&](ListEdit& edit) {
        PlaceCut(edit, cut, target);
        edit.RebuildAll();
    });
    if (changed) c.clipboard = CutClipboard{};
}

bool RestorePendingCut(const EntryCommandContext& c) {
    if (!c.clipboard.CutPending) return false;
    const CutClipboard cut = c.clipboard;
    const bool changed = c.state.entries.Change(
        [&](ListEdit& edit) { PlaceCut(edit, cut, RestoreSlot(edit.Entries(), cut.CutSource)); });
    if (changed) c.clipboard = CutClipboard{};
    return changed;
}

}  // namespace tavi
