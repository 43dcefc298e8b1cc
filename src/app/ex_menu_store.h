#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "app/entry_store.h"
#include "platform/profile.h"

namespace tavi {

// One member slot of a group entry.
struct ExMenuEntry {
    std::string ExTitle;
    std::string ExPathName;  // empty when the slot holds no member
    std::string ExCommand;
    std::string ExRunType;   // "0" normal, "1" minimised, "2" maximised
    bool operator==(const ExMenuEntry&) const = default;
};

// The members of one group, index = slot number 0..ExMenuMax.
using ExMenuSlots = std::vector<ExMenuEntry>;

// Keys carry two digits of the slot number, so slot 100 would write over
// slot 0: no group has more than 100 slots.
inline constexpr int kExMenuSlotLimit = 100;
// ExMenuMax as the store uses it: at most kExMenuSlotLimit - 1; below 0 no slots.
int UsableExMenuMax(int exMenuMax);

// "TaviMenu2.INI" in the program's folder.
std::string ExMenuFilePath(const std::string& applicationPath);

// The section that holds the members of the group at an entry index. Every
// reader and writer of group members goes through here. Indices 0..99 keep
// the two-digit names of older versions ("ExMenu05"); from 100 on the whole
// number is used ("ExMenu105"), so groups 100 apart no longer share members.
std::string ExMenuSection(int entryIndex);
// Where older versions kept the members of `entryIndex`: the last two digits
// only, so 5, 105 and 205 all read "ExMenu05".
std::string SharedExMenuSection(int entryIndex);
// The key of one field of member slot `slot`: two digits first, as "03ExTitle".
std::string ExMenuKey(int slot, std::string_view field);
// Written into every section of an index from 100 on: its members are its own.
inline constexpr std::string_view kOwnSectionKey = "EntryIndex";

// Slots 0..exMenuMax, all empty.
ExMenuSlots EmptyExMenu(int exMenuMax);
// The members of the group at `entryIndex`, slots 0..exMenuMax, each value
// whole; missing keys read as empty.
ExMenuSlots LoadExMenu(Profile& profile, const std::string& applicationPath, int entryIndex, int exMenuMax);
// Writes slots 0..exMenuMax (a slot `members` lacks is written empty); keys
// of higher slots in the file are left as they are. False when the file
// could not be written; it is then as it was.
[[nodiscard]] bool SaveExMenu(Profile& profile, const std::string& applicationPath, int entryIndex, const ExMenuSlots& members,
                int exMenuMax);
// After an entry moved from `from` to `to`: its members go along and the
// section of `from` is emptied, in one write of the file.
[[nodiscard]] bool MoveExMenu(Profile& profile, const std::string& applicationPath, int from, int to, int exMenuMax);

// A value as it must be written so the profile functions give it back
// unchanged: they drop one pair of outer quotes and the blanks around a
// value, so such a value is wrapped in one more pair of double quotes.
// Values that need no wrapping are written as they are, as older versions did.
std::string ProtectedProfileValue(std::string_view value);

// Older versions kept a group at index 100 or more in the section of its last
// two digits. Once, at start, each such group that has no section of its own
// yet gets a copy of those members (every slot a file can hold), so it keeps
// what it showed before and from then on changes apart from its neighbours.
// Returns the entry indices that were given their own section.
std::vector<int> SeparateSharedGroupSections(const EntryStore& entries, Profile& profile,
                                             const std::string& applicationPath);

}  // namespace tavi
