#include "menus/import_plan.h"

#include <set>
#include <utility>

#include "platform/text.h"

namespace tavi {
namespace {

bool IsFreeSlot(const LaunchEntry& entry) { return IsBlank(entry.Title) && IsBlank(entry.PathName); }

}  // namespace

std::pair<std::string, std::string> EntryIdentity(const LaunchEntry& entry) {
    return {ToUpperAscii(TrimSpaces(entry.PathName)), TrimSpaces(entry.Command)};
}

ImportPlan PlanShortcutImport(const EntryStore& store, const std::vector<LaunchEntry>& shortcuts, int limit) {
    ImportPlan plan;
    std::set<std::pair<std::string, std::string>> known;
    for (const LaunchEntry& entry : store.slots)
        if (!IsBlank(entry.PathName)) known.insert(EntryIdentity(entry));
    int next = 0;  // slots before this one are taken or planned
    for (const LaunchEntry& shortcut : shortcuts) {
        if (IsBlank(shortcut.PathName)) {
            ++plan.unusable;
            continue;
        }
        if (!known.insert(EntryIdentity(shortcut)).second) {
            ++plan.duplicates;
            continue;
        }
        while (next < limit && store.Has(next) && !IsFreeSlot(store.slots[static_cast<size_t>(next)])) ++next;
        if (next >= limit) {
            ++plan.overLimit;
            continue;
        }
        plan.slots.push_back(next++);
        plan.placed.push_back(shortcut);
    }
    return plan;
}

void ApplyImportPlan(EntryStore& store, const ImportPlan& plan) {
    for (size_t i = 0; i < plan.slots.size(); ++i) {
        const int slot = plan.slots[i];
        // As a drop does: a slot at or past the end makes the list that long.
        if (slot >= store.LastEntryIndex || !store.Has(slot)) store.ResizeEntryArrays(slot);
        store.slots[static_cast<size_t>(slot)] = plan.placed[i];
    }
}

}  // namespace tavi
