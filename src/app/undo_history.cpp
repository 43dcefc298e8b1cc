#include "app/undo_history.h"

#include "app/menu_main.h"
#include "app/save_notice.h"
#include "app/text.h"
#include "menus/ex_menu_store.h"

namespace tavi {
namespace {

bool WriteOne(FileSystem& files, const std::string& path, const std::optional<std::string>& image) {
    if (image) return files.ReplaceAll(path, *image);
    return !files.FileExists(path) || files.RemoveFile(path);
}

template <typename Step>
void PushBounded(std::deque<Step>& steps, Step step) {
    steps.push_back(std::move(step));
    while (steps.size() > kUndoDepth) steps.pop_front();
}

}  // namespace

ListFiles ReadListFiles(FileSystem& files, const std::string& applicationPath) {
    return {files.ReadAll(EntryFilePath(applicationPath)), files.ReadAll(EntryUnicodeFilePath(applicationPath)),
            files.ReadAll(ExMenuFilePath(applicationPath))};
}

bool WriteListFiles(FileSystem& files, const std::string& applicationPath, const ListFiles& images,
                    const ListFiles& before) {
    struct Target {
        std::string path;
        const std::optional<std::string>& image;
        const std::optional<std::string>& old;
    };
    const Target targets[] = {
        {EntryUnicodeFilePath(applicationPath), images.unicode, before.unicode},
        {EntryFilePath(applicationPath), images.entries, before.entries},
        {ExMenuFilePath(applicationPath), images.members, before.members},
    };
    for (size_t i = 0; i < std::size(targets); ++i) {
        if (targets[i].image == targets[i].old) continue;
        if (WriteOne(files, targets[i].path, targets[i].image)) continue;
        // Half a state would match neither step: what was written goes back.
        for (size_t j = 0; j < i; ++j)
            if (targets[j].image != targets[j].old) (void)WriteOne(files, targets[j].path, targets[j].old);
        return false;
    }
    return true;
}

void UndoHistory::AttachCut(CutReader read, CutWriter write) {
    readCut_ = std::move(read);
    writeCut_ = std::move(write);
}

UndoHistory::Step UndoHistory::Current(MenuMain& state, Platform& platform) const {
    return {ReadListFiles(platform.files, state.ApplicationPath), readCut_ ? readCut_() : std::nullopt};
}

void UndoHistory::BeginChange(MenuMain& state, Platform& platform) {
    Step now = Current(state, platform);
    redo_.clear();
    // Several calls for one change (a command that asks twice) keep one step.
    if (!undo_.empty() && undo_.back() == now) return;
    PushBounded(undo_, std::move(now));
}

bool UndoHistory::Undo(MenuMain& state, Platform& platform) { return Apply(undo_, redo_, state, platform); }

bool UndoHistory::Redo(MenuMain& state, Platform& platform) { return Apply(redo_, undo_, state, platform); }

bool UndoHistory::Apply(std::deque<Step>& from, std::deque<Step>& to, MenuMain& state, Platform& platform) {
    Step now = Current(state, platform);
    // A change that ended up writing nothing (a failed save) left a step
    // equal to the state: undoing it would seem to do nothing.
    while (!from.empty() && from.back() == now) from.pop_back();
    if (from.empty()) return false;
    const Step& target = from.back();
    if (!NoteSave(state, platform.messages,
                  WriteListFiles(platform.files, state.ApplicationPath, target.files, now.files)))
        return false;
    // An empty list is kept empty: loading it would bring the first-run entries.
    const size_t shown = state.entries.slots.size();
    if (target.files.entries && !target.files.entries->empty())
        LoadEntries(state.entries, platform, state.ApplicationPath);
    else
        state.entries = EntryStore{};
    // Slots the list no longer writes stay, empty, so their buttons are emptied too.
    if (state.entries.slots.size() < shown) state.entries.slots.resize(shown);
    if (writeCut_) writeCut_(target.cut);
    from.pop_back();
    PushBounded(to, std::move(now));
    return true;
}

}  // namespace tavi
