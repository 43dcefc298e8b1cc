#include "menus/import_shortcuts.h"

#include <algorithm>
#include <set>
#include <utility>

#include "platform/messages.h"
#include "platform/text.h"
#include "menus/import_plan.h"

namespace tavi {
namespace {

constexpr std::string_view kLinkSuffix = ".LNK";

bool IsLinkName(const std::string& name) {
    return name.size() > kLinkSuffix.size() && EndsWith(ToUpperAscii(name), kLinkSuffix);
}

// The folder's own name: "Quick Launch" for "...\Quick Launch\", "D:" for a drive root.
std::string FolderName(const std::string& folder) {
    std::string trimmed = TrimSpaces(folder);
    while (trimmed.size() > 1 && trimmed.back() == '\\') trimmed.pop_back();
    const std::string name = GetFileName(trimmed);
    return IsBlank(name) ? trimmed : name;
}

std::string UniqueGroupName(const EntryStore& store, const std::string& name) {
    std::set<std::string> taken;
    for (const LaunchEntry& entry : store.slots)
        if (IsGroupPath(TrimSpaces(entry.PathName))) taken.insert(ToUpperAscii(TrimSpaces(entry.PathName)));
    std::string candidate = name;
    for (int n = 2; taken.count(ToUpperAscii("[" + candidate + "]")) != 0; ++n)
        candidate = name + " (" + std::to_string(n) + ")";
    return candidate;
}

std::string Count(int n) { return Fill(text::kImportCount, {{"count", std::to_string(n)}}); }

void Tell(Platform& platform, const std::string& message, MessageIcon icon) {
    (void)platform.messages.Show({message, std::string(text::kMessageCaption), icon, MessageButtons::Ok});
}

void TellLimit(Platform& platform) { Tell(platform, std::string(text::kPageLimit), MessageIcon::Warning); }

void ImportAsEntries(const ShortcutImportContext& c, const std::vector<LaunchEntry>& shortcuts,
                     ShortcutImportOutcome& outcome) {
    MenuMain& state = c.state;
    const ImportPlan plan = PlanShortcutImport(state.entries.Store(), shortcuts);
    static_cast<ImportSkips&>(outcome) = plan;
    if (plan.overLimit > 0) TellLimit(c.platform);
    if (plan.placed.empty()) return;
    const bool saved = state.entries.Change([&](ListEdit& edit) {
        ApplyImportPlan(edit.Store(), plan);
        // Pictures may be kept under a slot's key: the buttons are built again.
        edit.RebuildAll();
    });
    if (saved)
        outcome.imported = static_cast<int>(plan.placed.size());
    else
        outcome.notSaved = true;
}

void ImportAsGroup(const ShortcutImportContext& c, const std::string& folder, const std::vector<LaunchEntry>& shortcuts,
                   ShortcutImportOutcome& outcome) {
    MenuMain& state = c.state;
    const int exMenuMax = UsableExMenuMax(state.entries.ExMenuMax());
    const GroupImportPlan plan = PlanGroupImport(state.entries.Store(), folder, shortcuts, exMenuMax + 1);
    static_cast<ImportSkips&>(outcome) = plan;
    if (plan.slot < 0 && !plan.members.empty()) TellLimit(c.platform);
    if (plan.Placed() == 0) return;
    ImportPlan placed;
    placed.slots = {plan.slot};
    placed.placed = {plan.group};
    const bool saved = state.entries.Change([&](ListEdit& edit) {
        edit.SetMembers(plan.slot, plan.members);
        ApplyImportPlan(edit.Store(), placed);
        edit.RebuildAll();
    });
    if (saved)
        outcome.imported = plan.Placed();
    else
        outcome.notSaved = true;
}

}  // namespace

bool ShortcutStartsElsewhere(const std::string& path, const std::string& workingDirectory) {
    std::string working = TrimSpaces(workingDirectory);
    while (working.size() > 2 && (working.back() == '\\' || working.back() == '/')) working.pop_back();
    return !working.empty() && !SamePathText(working, GetFolderName(path, working));
}

std::vector<std::string> OfferedImportFolders(const std::string& appData) {
    if (IsBlank(appData)) return {};
    const std::string quickLaunch = AddBackslash(appData) + "Microsoft\\Internet Explorer\\Quick Launch";
    return {quickLaunch, quickLaunch + "\\User Pinned\\TaskBar"};
}

std::vector<std::string> ShortcutFileNames(const std::vector<std::string>& names) {
    // Upper-cased keys once, not in every comparison: folders can hold thousands.
    std::vector<std::pair<std::string, std::string>> keyed;
    for (const std::string& name : names)
        if (IsLinkName(name)) keyed.emplace_back(ToUpperAscii(name), name);
    std::sort(keyed.begin(), keyed.end());
    std::vector<std::string> links;
    links.reserve(keyed.size());
    for (auto& [key, name] : keyed) links.push_back(std::move(name));
    return links;
}

LaunchEntry EntryFromShortcut(const std::string& folder, const std::string& fileName, bool read,
                              const ShortcutTarget& target) {
    LaunchEntry entry;
    std::string title =
        TrimSpaces(IsLinkName(fileName) ? fileName.substr(0, fileName.size() - kLinkSuffix.size()) : fileName);
    const std::string path = TrimSpaces(target.targetPath);
    if (title.empty()) title = GetFileName(path);
    entry.Title = title;
    if (!read || path.empty()) return entry;
    const bool elsewhere = ShortcutStartsElsewhere(path, target.workingDirectory);
    // The shortcut itself carries its arguments and show state to the shell.
    entry.PathName = elsewhere ? AddBackslash(folder) + fileName : path;
    entry.Command = elsewhere ? "" : target.arguments;
    entry.RunType = target.runType.empty() ? "0" : target.runType;
    // A negative index names an icon resource, which the bar's icon numbers cannot.
    const bool ownIcon = !IsBlank(target.iconPath) && target.iconIndex >= 0;
    entry.IconPath = ownIcon ? TrimSpaces(target.iconPath) : path;
    entry.IconIndex = ownIcon ? std::to_string(target.iconIndex) : "0";
    return entry;
}

GroupImportPlan PlanGroupImport(const EntryStore& store, const std::string& folder,
                                const std::vector<LaunchEntry>& shortcuts, int memberSlots, int limit) {
    GroupImportPlan plan;
    std::set<std::pair<std::string, std::string>> known;
    for (const LaunchEntry& shortcut : shortcuts) {
        if (IsBlank(shortcut.PathName)) {
            ++plan.unusable;
            continue;
        }
        if (!known.insert(EntryIdentity(shortcut)).second) {
            ++plan.duplicates;
            continue;
        }
        if (static_cast<int>(plan.members.size()) >= memberSlots) {
            ++plan.overLimit;
            continue;
        }
        plan.members.push_back({shortcut.Title, shortcut.PathName, shortcut.Command, shortcut.RunType});
    }
    if (plan.members.empty()) return plan;
    const std::string name = UniqueGroupName(store, FolderName(folder));
    plan.group = LaunchEntry{name, "[" + name + "]", "", "0", "", "0"};
    const ImportPlan placed = PlanShortcutImport(store, {plan.group}, limit);
    if (placed.slots.empty()) {
        plan.overLimit += static_cast<int>(plan.members.size());
        return plan;
    }
    plan.slot = placed.slots.front();
    return plan;
}

std::string ImportCountMessage(const ShortcutImportOutcome& outcome) {
    std::string message = std::string(text::kImportDone) + Count(outcome.imported) + std::string(text::kImportSkipped) +
                          Count(outcome.Skipped());
    if (outcome.duplicates > 0) message += std::string(text::kImportDuplicates) + Count(outcome.duplicates);
    if (outcome.unusable > 0) message += std::string(text::kImportUnusable) + Count(outcome.unusable);
    if (outcome.overLimit > 0) message += std::string(text::kImportOverLimit) + Count(outcome.overLimit);
    return message;
}

ShortcutImportOutcome ImportShortcuts(const ShortcutImportContext& c) {
    ShortcutImportOutcome outcome;
    const std::optional<std::string> folder = c.prompt.Choose(OfferedImportFolders(c.appData));
    if (!folder || IsBlank(*folder)) return outcome;
    const std::vector<std::string> names = ShortcutFileNames(c.folders.FindFiles(*folder, "*.lnk"));
    if (names.empty()) {
        Tell(c.platform, std::string(text::kImportNoShortcuts) + *folder, MessageIcon::Information);
        return outcome;
    }
    const MessageAnswer answer =
        c.platform.messages.Show({std::string(text::kImportAskEach), std::string(text::kMessageCaption),
                                  MessageIcon::Question, MessageButtons::YesNo});
    outcome.ran = true;
    outcome.asGroup = answer != MessageAnswer::Yes;

    std::vector<LaunchEntry> shortcuts;
    shortcuts.reserve(names.size());
    for (const std::string& name : names) {
        ShortcutTarget target;
        const bool read = c.shortcuts.Read(AddBackslash(*folder) + name, target);
        shortcuts.push_back(EntryFromShortcut(*folder, name, read, target));
    }
    if (outcome.asGroup)
        ImportAsGroup(c, *folder, shortcuts, outcome);
    else
        ImportAsEntries(c, shortcuts, outcome);
    // A change that was refused has been told; no count says otherwise.
    if (!outcome.notSaved) Tell(c.platform, ImportCountMessage(outcome), MessageIcon::Information);
    return outcome;
}

}  // namespace tavi
