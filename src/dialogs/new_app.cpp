#include "dialogs/new_app.h"

#include "app/entry_buttons.h"
#include "platform/messages.h"
#include "platform/text.h"

namespace tavi {
namespace {

bool IsNewEntry(const MenuMain& state, int index) {
    return index > state.entries.LastEntryIndex() || !state.entries.Has(index);
}

EntryKind KindOf(const std::string& pathName) {
    if (EndsWith(pathName, "\\")) return EntryKind::Folder;
    if (IsGroupPath(pathName)) return EntryKind::Group;
    return EntryKind::File;
}

std::string WithoutSurroundingQuotes(std::string text) {
    if (!StartsWith(text, "\"")) return text;
    text.erase(0, 1);
    if (EndsWith(text, "\"")) text.pop_back();
    return text;
}

}  // namespace

std::vector<std::string_view> RunSizeItems(bool folder) {
    std::vector<std::string_view> items{text::kRunSizeNormal, text::kRunSizeMinimized, text::kRunSizeMaximized};
    if (folder) items.push_back(text::kRunSizeMenu);
    return items;
}

int RunSizeIndexOf(const std::string& runType, bool folder) {
    if (IsBlank(runType)) return 0;
    // A number the list does not have leaves it without a selection; storing
    // that writes "0".
    const int32_t index = LeadingInt(runType, -1);
    const int32_t last = folder ? kRunSizeMenuIndex : 2;
    return index >= 0 && index <= last ? index : -1;
}

namespace {

bool IsProgram(const std::string& path) {
    const std::string upper = ToUpperAscii(path);
    return Contains(upper, ".EXE") || Contains(upper, ".COM");
}

void ApplyAssociation(std::string& path, std::string& command, const Shell::Association& association) {
    // 32 and below are the shell's error codes, 32 itself included.
    if (association.result <= 32) return;
    const std::string program = WithoutSurroundingQuotes(TrimSpaces(association.program));
    if (program.empty() || ToUpperAscii(program) == ToUpperAscii(TrimSpaces(path))) return;
    command = QuoteIfSpaced(path);
    path = program;
}

}  // namespace

void ResolveDocument(std::string& path, std::string& command, Shell& shell) {
    if (!IsProgram(path)) ApplyAssociation(path, command, shell.AssociatedProgram(path));
}

bool ResolveLateDocument(std::string& path, std::string& command, const std::string& document,
                         const Shell::Association& association) {
    if (path != document || !command.empty() || IsProgram(path)) return false;
    const std::string before = path;
    ApplyAssociation(path, command, association);
    return path != before;
}

NewAppView NewAppLoad(const MenuMain& state, int index) {
    NewAppView view;
    if (!IsNewEntry(state, index)) {
        const LaunchEntry& entry = state.entries.At(index);
        view.kind = KindOf(entry.PathName);
        view.path = view.kind == EntryKind::Group ? entry.PathName.substr(1, entry.PathName.size() - 2) : entry.PathName;
        view.title = entry.Title;
        view.command = entry.Command;
        view.runSizeIndex = RunSizeIndexOf(entry.RunType, view.kind == EntryKind::Folder);
        view.icon = {entry.IconPath, entry.IconIndex};
    }
    view.browseEnabled = view.kind != EntryKind::Group;
    view.okEnabled = !view.path.empty();
    return view;
}

void NewAppKindChanged(NewAppView& view, EntryKind kind) {
    view.kind = kind;
    view.browseEnabled = kind != EntryKind::Group;
    if (kind != EntryKind::Folder && view.runSizeIndex == kRunSizeMenuIndex) view.runSizeIndex = 0;
}

void NewAppPathChanged(NewAppView& view, std::string_view path) {
    view.path = std::string(path);
    view.okEnabled = !view.path.empty();
}

bool NewAppBrowse(NewAppView& view, Platform& platform, FileChooser& chooser, NativeWindow owner,
                  const std::string& applicationPath) {
    std::string chosen;
    if (view.kind == EntryKind::File) {
        const std::string current = TrimSpaces(view.path);
        FileChoice choice;
        choice.owner = owner;
        choice.title = std::string(text::kNewAppBrowseTitle);
        choice.filter = std::string(text::kProgramFileFilter);
        choice.filterIndex = 1;
        choice.initialName = current.empty() ? std::string() : GetFileName(current);
        choice.initialFolder =
            current.empty() ? applicationPath : GetFolderName(current, platform.files.CurrentDirectory());
        chosen = chooser.ChooseFile(choice);
    } else if (view.kind == EntryKind::Folder) {
        chosen = chooser.ChooseFolder(owner, std::string(text::kNewAppFolderPrompt));
        if (!chosen.empty()) chosen = AddBackslash(chosen);
    }
    if (chosen.empty()) return false;

    NewAppPathChanged(view, chosen);
    view.command.clear();
    if (IsBlank(view.title)) {
        view.title = GetFileName(view.path);
        // A folder's name ends in "\": its title is the whole path.
        if (IsBlank(view.title)) view.title = TrimSpaces(view.path);
    }
    if (view.kind == EntryKind::File) ResolveDocument(view.path, view.command, platform.shell);
    return true;
}

bool NewAppChangeIcon(NewAppView& view, const IconPicker& pick) {
    if (IsBlank(view.path)) return false;
    const std::optional<IconChoice> chosen = pick({view.icon, view.path, view.kind == EntryKind::Group});
    if (!chosen) return false;
    view.icon = *chosen;
    return true;
}

IconPreview NewAppPreview(const NewAppView& view, IconFiles& icons) { return NewAppPreview(view, CountNow(icons)); }

IconPreview NewAppPreview(const NewAppView& view, const IconCounts& counts) {
    const std::string path = TrimSpaces(view.path);
    if (path.empty()) return {};
    std::string file = TrimSpaces(view.icon.iconPath);
    const int index = IconNumberOf(view.icon.iconIndex);
    if (view.kind == EntryKind::Group) {
        if (file.empty()) return {IconPreview::Kind::Folder, {}, 0};
    } else {
        // An entry without an icon of its own is stored with its path as the icon file.
        if (file.empty()) file = path;
        if (EndsWith(path, "\\") && file == path && index == 0) return {IconPreview::Kind::Folder, {}, 0};
    }
    // Only the count is trusted: some systems hand back a picture for a file
    // that holds none.
    const std::optional<int> count = counts(file);
    if (!count) return {IconPreview::Kind::Coming, file, index};
    if (index >= *count) return {};
    return {IconPreview::Kind::Extract, file, index};
}

bool NewAppOk(const NewAppView& view, MenuMain& state, int index) {
    const bool asMenu = view.kind == EntryKind::Folder && view.runSizeIndex == kRunSizeMenuIndex;
    const std::string typed = TrimSpaces(view.path);
    const std::string path = asMenu && !typed.empty() ? AddBackslash(typed) : typed;
    if (path.empty() || index < 0) return false;
    const bool group = view.kind == EntryKind::Group;
    // Only a folder has the menu item; a list changed behind the view's back cannot store it for another kind.
    const int runSizeIndex = view.runSizeIndex == kRunSizeMenuIndex && !asMenu ? 0 : view.runSizeIndex;
    return state.entries.Change([&](ListEdit& edit) {
        // A new slot past the end exists before anything is written into it.
        LaunchEntry& entry = edit.Slot(index);
        entry.IconPath = view.icon.iconPath;
        entry.IconIndex = view.icon.iconIndex;
        if (path != TrimSpaces(entry.PathName)) {
            entry.PathName = path;
            if (IsBlank(entry.IconPath) && !group) entry.IconPath = path;
        }
        if (entry.IconIndex.empty()) entry.IconIndex = "0";
        StoreEntry(edit, index, {path, view.title, view.command, group, runSizeIndex});
        // The bar never replaces a picture stored under a key, so an icon
        // other than the path's own shows only once the pictures are built again.
        const LaunchEntry& stored = edit.Entries().slots[static_cast<size_t>(index)];
        if (LeadingNumber(stored.IconIndex) > 0 || TrimSpaces(stored.IconPath) != TrimSpaces(stored.PathName))
            edit.RebuildAll();
    });
}

}  // namespace tavi
