#include "app/ex_menu_store.h"

#include <algorithm>
#include <array>

#include "platform/text.h"

namespace tavi {
namespace {

// The last two digits of a number, at least two digits: 5 -> "05", 105 -> "05".
std::string LastTwoDigits(int number) {
    const std::string digits = "00" + std::to_string(number < 0 ? -number : number);
    return digits.substr(digits.size() - 2);
}

constexpr std::array<std::string_view, 4> kFields = {"ExTitle", "ExPathName", "ExCommand", "ExRunType"};
// Free text the user types: written so that it reads back exactly. Paths keep
// the old way, where a quoted path reads back without its quotes.
constexpr std::array<bool, 4> kProtected = {true, false, true, false};

std::array<std::string*, 4> FieldsOf(ExMenuEntry& entry) {
    return {&entry.ExTitle, &entry.ExPathName, &entry.ExCommand, &entry.ExRunType};
}

bool IsProfileBlank(char c) { return c == ' ' || c == '\t' || c == '\x1A' || (c >= '\n' && c <= '\r'); }

// A line break would end the value and start a key of its own in the file:
// each one (CR LF, CR or LF) becomes a space, as in the entry list.
std::string OneLine(std::string_view value) {
    std::string line;
    line.reserve(value.size());
    for (size_t i = 0; i < value.size(); ++i) {
        const bool crLf = value[i] == '\r' && i + 1 < value.size() && value[i + 1] == '\n';
        line += (value[i] == '\r' || value[i] == '\n') ? ' ' : value[i];
        if (crLf) ++i;
    }
    return line;
}

bool HasOwnSection(Profile& profile, const std::string& file, int entryIndex) {
    return entryIndex < kExMenuSlotLimit ||
           !profile.GetString(file, ExMenuSection(entryIndex), std::string(kOwnSectionKey)).empty();
}

ExMenuSlots LoadSection(Profile& profile, const std::string& file, const std::string& section, int exMenuMax) {
    ExMenuSlots members = EmptyExMenu(exMenuMax);
    for (size_t j = 0; j < members.size(); ++j) {
        const auto fields = FieldsOf(members[j]);
        for (size_t f = 0; f < kFields.size(); ++f)
            *fields[f] = profile.GetString(file, section, ExMenuKey(static_cast<int>(j), kFields[f]));
    }
    return members;
}

}  // namespace

int UsableExMenuMax(int exMenuMax) { return std::clamp(exMenuMax, -1, kExMenuSlotLimit - 1); }

std::string ExMenuFilePath(const std::string& applicationPath) { return AddBackslash(applicationPath) + "TaviMenu2.INI"; }

std::string ExMenuSection(int entryIndex) {
    if (entryIndex >= kExMenuSlotLimit) return "ExMenu" + std::to_string(entryIndex);
    return SharedExMenuSection(entryIndex);
}

std::string SharedExMenuSection(int entryIndex) { return "ExMenu" + LastTwoDigits(entryIndex); }

std::string ExMenuKey(int slot, std::string_view field) { return LastTwoDigits(slot) + std::string(field); }

ExMenuSlots EmptyExMenu(int exMenuMax) { return ExMenuSlots(static_cast<size_t>(UsableExMenuMax(exMenuMax) + 1)); }

ExMenuSlots LoadExMenu(Profile& profile, const std::string& applicationPath, int entryIndex, int exMenuMax) {
    ProfileBatch batch(profile);  // one read of the file for all the keys
    return LoadSection(profile, ExMenuFilePath(applicationPath), ExMenuSection(entryIndex), exMenuMax);
}

bool SaveExMenu(Profile& profile, const std::string& applicationPath, int entryIndex, const ExMenuSlots& members,
                int exMenuMax) {
    const std::string file = ExMenuFilePath(applicationPath);
    const std::string section = ExMenuSection(entryIndex);
    // The writes report through the batch: the file is replaced once, whole.
    ProfileBatch batch(profile);
    if (entryIndex >= kExMenuSlotLimit)
        (void)profile.WriteString(file, section, std::string(kOwnSectionKey), std::to_string(entryIndex));
    const int last = UsableExMenuMax(exMenuMax);
    for (int j = 0; j <= last; ++j) {
        ExMenuEntry member = static_cast<size_t>(j) < members.size() ? members[j] : ExMenuEntry{};
        const auto fields = FieldsOf(member);
        for (size_t f = 0; f < kFields.size(); ++f) {
            const std::string value = OneLine(*fields[f]);
            (void)profile.WriteString(file, section, ExMenuKey(j, kFields[f]),
                                      kProtected[f] ? ProtectedProfileValue(value) : value);
        }
    }
    return batch.End();
}

bool MoveExMenu(Profile& profile, const std::string& applicationPath, int from, int to, int exMenuMax) {
    if (from == to || ExMenuSection(from) == ExMenuSection(to)) return true;
    // One batch: the members are never in both places or in neither on disk.
    ProfileBatch batch(profile);
    (void)SaveExMenu(profile, applicationPath, to, LoadExMenu(profile, applicationPath, from, exMenuMax), exMenuMax);
    (void)SaveExMenu(profile, applicationPath, from, EmptyExMenu(exMenuMax), exMenuMax);
    return batch.End();
}

std::string ProtectedProfileValue(std::string_view value) {
    if (value.empty()) return {};
    const bool quoted = value.size() > 1 && (value.front() == '"' || value.front() == '\'') &&
                        value.back() == value.front();
    if (!quoted && !IsProfileBlank(value.front()) && !IsProfileBlank(value.back())) return std::string(value);
    return "\"" + std::string(value) + "\"";
}

std::vector<int> SeparateSharedGroupSections(const EntryStore& entries, Profile& profile,
                                             const std::string& applicationPath) {
    std::vector<int> separated;
    const std::string file = ExMenuFilePath(applicationPath);
    // One read and one write of the file, however many groups there are. A
    // copy that cannot be written is made again at the next start.
    ProfileBatch batch(profile);
    for (int index = kExMenuSlotLimit; index <= entries.UpperBound(); ++index) {
        if (!IsGroupPath(TrimSpaces(entries.slots[index].PathName)) || HasOwnSection(profile, file, index)) continue;
        const std::string own = ExMenuSection(index);
        ExMenuSlots members = LoadSection(profile, file, SharedExMenuSection(index), kExMenuSlotLimit - 1);
        for (int j = 0; j < kExMenuSlotLimit; ++j) {
            const auto fields = FieldsOf(members[static_cast<size_t>(j)]);
            for (size_t f = 0; f < kFields.size(); ++f) {
                // Every copied value is wrapped where needed, paths too, so
                // it reads back exactly as the shared section read.
                if (!fields[f]->empty())
                    (void)profile.WriteString(file, own, ExMenuKey(j, kFields[f]), ProtectedProfileValue(*fields[f]));
            }
        }
        // Last: a start cut short before this point copies again next time.
        (void)profile.WriteString(file, own, std::string(kOwnSectionKey), std::to_string(index));
        separated.push_back(index);
    }
    return separated;
}

}  // namespace tavi
