#pragma once
#include <string>
#include <string_view>
#include <vector>

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

// "TaviMenu2.INI" in the program's folder.
std::string ExMenuFilePath(const std::string& applicationPath);
// The section that holds the members of the group at an entry index. Every
// reader and writer of group members goes through here.
std::string ExMenuSection(int entryIndex);
// The key of one field of member slot `slot`: two digits first, as "03ExTitle".
std::string ExMenuKey(int slot, std::string_view field);

// Slots 0..exMenuMax, all empty.
ExMenuSlots EmptyExMenu(int exMenuMax);
// The members of the group at `entryIndex`, slots 0..exMenuMax; missing keys read as empty.
ExMenuSlots LoadExMenu(Profile& profile, const std::string& applicationPath, int entryIndex, int exMenuMax);
// Writes slots 0..exMenuMax (a slot `members` lacks is written empty); keys
// of higher slots in the file are left as they are.
void SaveExMenu(Profile& profile, const std::string& applicationPath, int entryIndex, const ExMenuSlots& members,
                int exMenuMax);

}  // namespace tavi
