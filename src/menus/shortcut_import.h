#pragma once
#include <string>
#include <vector>

#include "app/entry_store.h"

namespace tavi {

// Where the entries taken from a folder of shortcuts go, decided before
// anything changes, so that the whole import is one save.
struct ImportPlan {
    std::vector<int> slots;           // the slot of each entry in `placed`, ascending
    std::vector<LaunchEntry> placed;
    int duplicates = 0;  // the bar, or an earlier shortcut of the same import, has it already
    int unusable = 0;    // no target (a shortcut that could not be read)
    int overLimit = 0;   // no free slot below the entry limit was left

    int Skipped() const { return duplicates + unusable + overLimit; }
};

// The rules of an import: each usable shortcut goes to the next free slot
// (holes first, then after the last entry), no slot that holds anything is
// written, an entry already on the bar (same target, compared without case,
// and the same parameters) is skipped, and no slot at or past `limit` is used.
ImportPlan PlanShortcutImport(const EntryStore& store, const std::vector<LaunchEntry>& shortcuts,
                              int limit = kEntryLimit);

// Writes the planned entries into their slots, growing the list as needed.
void ApplyImportPlan(EntryStore& store, const ImportPlan& plan);

}  // namespace tavi
