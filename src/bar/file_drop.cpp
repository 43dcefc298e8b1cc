#include "bar/file_drop.h"

#include "app/launcher.h"
#include "platform/messages.h"
#include "menus/import_shortcuts.h"
#include "platform/text.h"

namespace tavi {
namespace {

// Blanks and what cmd.exe reads as separators, operators, escapes or
// variables; a file name can hold any of them.
constexpr std::string_view kSpecialCharacters = " \t&()[]{}^=;!'+,`~%<>|";

bool IsFree(const LaunchEntry& entry) { return IsBlank(entry.PathName); }

std::string TitleFor(const std::string& path) {
    const std::string name = GetFileName(path);
    // A drive or folder ending in "\" has no file name: the path is its title.
    return IsBlank(name) ? TrimSpaces(path) : name;
}

class Drop {
public:
    // The files land in a copy of the list, which becomes one change at the end.
    explicit Drop(const DropContext& context) : c_(context), entries_(context.state.entries.Store()) {}

    DropOutcome Run(int position, const std::vector<std::string>& files);

private:
    void Register(int index, const std::string& file, bool resolveShortcut);
    std::optional<int> FirstFreeSlot();
    void LimitReached();

    const DropContext& c_;
    EntryStore entries_;
    int searchFrom_ = 0;  // s: where the search for a free slot goes on
    DropOutcome outcome_;
};

DropOutcome Drop::Run(int position, const std::vector<std::string>& files) {
    const int dropped = c_.state.page.IndexAt(position);
    int p = position;
    for (const std::string& file : files) {
        const int i = c_.state.page.IndexAt(p);
        if (i >= kEntryLimit) {
            LimitReached();
            break;
        }
        if (i >= entries_.LastEntryIndex || !entries_.Has(i)) entries_.ResizeEntryArrays(i);
        const LaunchEntry& entry = entries_.slots[static_cast<size_t>(i)];
        if (IsFree(entry)) {
            Register(i, file, true);
            ++p;  // the next file goes to the next button
        } else if (c_.state.settings.Values().TargetDrop == "1" && i == dropped && !IsGroupPath(TrimSpaces(entry.PathName))) {
            // Copies: the failure message lets other events run, which may change the list.
            const std::string program = entry.PathName;
            const std::string runType = entry.RunType;
            const std::string parameters = TargetDropParameters(entry.Command, file);
            ++outcome_.opened;
            // Nothing of ours failed when the program refuses the file: no offer to delete.
            StartEntry(c_.platform, {program, parameters, runType}, nullptr);
        } else {
            const std::optional<int> j = FirstFreeSlot();
            if (!j) {
                LimitReached();
                break;
            }
            Register(*j, file, false);
            searchFrom_ = *j;
        }
    }
    if (!outcome_.registered.empty()) {
        // Only the slots the drop filled are taken over: the failure messages
        // of files opened on the way let other events run.
        const bool saved = c_.state.entries.Change([&](ListEdit& edit) {
            for (const int index : outcome_.registered) edit.Slot(index) = entries_.slots[static_cast<size_t>(index)];
            // A button's old picture may be kept under its key: the pictures
            // are built again, so each button shows its own entry.
            edit.RebuildAll();
        });
        if (!saved) outcome_.registered.clear();
    }
    return outcome_;
}

void Drop::Register(int index, const std::string& file, bool resolveShortcut) {
    LaunchEntry& entry = entries_.slots[static_cast<size_t>(index)];
    outcome_.registered.push_back(index);
    if (resolveShortcut && ToUpperAscii(CharMid(file, CharCount(file) >= 4 ? CharCount(file) - 4 : 0)) == ".LNK") {
        ShortcutTarget target;
        // A shortcut that starts its program in a folder of its own is
        // registered as itself, as the import does: the shell then starts it there.
        if (c_.shortcuts.Read(file, target) && !IsBlank(target.targetPath) &&
            !ShortcutStartsElsewhere(target.targetPath, target.workingDirectory)) {
            entry.PathName = target.targetPath;
            entry.IconPath = target.targetPath;
            entry.IconIndex = "0";
            entry.Title = TitleFor(target.targetPath);
            entry.Command = target.arguments;
            entry.RunType = target.runType;
            return;
        }
        // A shortcut that cannot be read is registered as itself too: the shell still opens it.
    }
    entry.PathName = file;
    entry.IconPath = file;
    entry.IconIndex = "0";
    entry.Title = TitleFor(file);
}

std::optional<int> Drop::FirstFreeSlot() {
    for (int j = searchFrom_; j <= entries_.LastEntryIndex && j < kEntryLimit; ++j) {
        if (j == entries_.LastEntryIndex || !entries_.Has(j)) entries_.ResizeEntryArrays(j);
        if (IsFree(entries_.slots[static_cast<size_t>(j)])) return j;
    }
    const int next = entries_.LastEntryIndex + 1;
    if (next >= kEntryLimit) return std::nullopt;
    entries_.ResizeEntryArrays(next);
    return next;
}

void Drop::LimitReached() {
    outcome_.limitReached = true;
    c_.platform.messages.Show({std::string(text::kPageLimit), std::string(text::kMessageCaption),
                               MessageIcon::Warning, MessageButtons::Ok});
}

}  // namespace

std::string QuoteDroppedPath(std::string_view path) {
    if (path.find_first_of(kSpecialCharacters) == std::string_view::npos) return std::string(path);
    // Backslashes before the closing quote would escape it for the program's
    // own argument parsing ("C:\a b\" reads as C:\a b"): they are doubled.
    size_t trailing = 0;
    while (trailing < path.size() && path[path.size() - 1 - trailing] == '\\') ++trailing;
    return "\"" + std::string(path) + std::string(trailing, '\\') + "\"";
}

std::string TargetDropParameters(std::string_view command, std::string_view file) {
    const std::string own = TrimSpaces(command);
    const std::string quoted = QuoteDroppedPath(file);
    return own.empty() ? quoted : own + " " + quoted;
}

DropOutcome DropFiles(const DropContext& context, std::optional<int> position, const std::vector<std::string>& files) {
    if (!position || *position < 0 || files.empty()) return {};
    return Drop(context).Run(*position, files);
}

}  // namespace tavi
