#include "menus/ex_menu_store.h"

#include <array>

#include "app/text.h"

namespace tavi {
namespace {

// The last two digits of a number, at least two digits: 5 -> "05", 105 -> "05".
std::string LastTwoDigits(int number) {
    const std::string digits = "00" + std::to_string(number);
    return digits.substr(digits.size() - 2);
}

constexpr std::array<std::string_view, 4> kFields = {"ExTitle", "ExPathName", "ExCommand", "ExRunType"};

std::array<std::string*, 4> FieldsOf(ExMenuEntry& entry) {
    return {&entry.ExTitle, &entry.ExPathName, &entry.ExCommand, &entry.ExRunType};
}

}  // namespace

std::string ExMenuFilePath(const std::string& applicationPath) { return AddBackslash(applicationPath) + "TaviMenu2.INI"; }

std::string ExMenuSection(int entryIndex) { return "ExMenu" + LastTwoDigits(entryIndex); }

std::string ExMenuKey(int slot, std::string_view field) { return LastTwoDigits(slot) + std::string(field); }

ExMenuSlots EmptyExMenu(int exMenuMax) { return ExMenuSlots(exMenuMax < 0 ? 0 : static_cast<size_t>(exMenuMax) + 1); }

ExMenuSlots LoadExMenu(Profile& profile, const std::string& applicationPath, int entryIndex, int exMenuMax) {
    const std::string file = ExMenuFilePath(applicationPath);
    const std::string section = ExMenuSection(entryIndex);
    ExMenuSlots members = EmptyExMenu(exMenuMax);
    for (size_t j = 0; j < members.size(); ++j) {
        const auto fields = FieldsOf(members[j]);
        for (size_t f = 0; f < kFields.size(); ++f)
            *fields[f] = profile.GetString(file, section, ExMenuKey(static_cast<int>(j), kFields[f]));
    }
    return members;
}

void SaveExMenu(Profile& profile, const std::string& applicationPath, int entryIndex, const ExMenuSlots& members,
                int exMenuMax) {
    const std::string file = ExMenuFilePath(applicationPath);
    const std::string section = ExMenuSection(entryIndex);
    for (int j = 0; j <= exMenuMax; ++j) {
        ExMenuEntry member = static_cast<size_t>(j) < members.size() ? members[j] : ExMenuEntry{};
        const auto fields = FieldsOf(member);
        // Failed writes are ignored, as every group-member write is.
        for (size_t f = 0; f < kFields.size(); ++f) (void)profile.WriteString(file, section, ExMenuKey(j, kFields[f]), *fields[f]);
    }
}

}  // namespace tavi
