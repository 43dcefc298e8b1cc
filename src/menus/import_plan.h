#pragma once
#include <string>
#include <utility>
#include <vector>

#include "app/entry_store.h"

namespace tavi {

// The shortcuts an import leaves out, by why.
struct ImportSkips {
    int duplicates = 0;  // the bar, or an earlier shortcut of the same import, has it already
    int unusable = 0;    // no target (a shortcut that could not be read)
    int overLimit = 0;   // no free slot below the limit was left

    int Skipped() const { return duplicates + unusable + overLimit; }
};

// What makes two entries the same program: the file system ignores case in
// the target, but parameters are the program's own and compared as written.
std::pair<std::string, std::string> EntryIdentity(const LaunchEntry& entry);

// Where the entries taken from a folder of shortcuts go, decided before
// anything changes, so that the whole import is one save.
struct ImportPlan : ImportSkips {
    std::vector<int> slots;  // the slot of each entry in `placed`, ascending
    std::vector<LaunchEntry> placed;
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
