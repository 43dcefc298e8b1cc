#include "app/undo_history.h"

#include "app/ex_menu_store.h"

namespace tavi {
namespace {

bool WriteOne(FileSystem& files, const std::string& path, const FileContents& image, bool removeWhenAbsent) {
    // What was never read is not known, so it is left as it is.
    if (image.outcome == ReadOutcome::Unreadable) return true;
    if (image.outcome == ReadOutcome::Whole) return files.ReplaceAll(path, image.bytes);
    if (removeWhenAbsent) return !files.FileExists(path) || files.RemoveFile(path);
    return !files.FileExists(path) || files.ReplaceAll(path, "");
}

template <typename Step>
void PushBounded(std::deque<Step>& steps, Step step) {
    steps.push_back(std::move(step));
    while (steps.size() > kUndoDepth) steps.pop_front();
}

}  // namespace

bool ListFiles::Known() const {
    return entries.outcome != ReadOutcome::Unreadable && unicode.outcome != ReadOutcome::Unreadable &&
           members.outcome != ReadOutcome::Unreadable;
}

ListStamps StampsOf(const ListFiles& files) {
    return {StampOf(files.entries), StampOf(files.unicode), StampOf(files.members)};
}

ListFiles ReadListFiles(FileSystem& files, const std::string& applicationPath) {
    return {files.Read(EntryFilePath(applicationPath)), files.Read(EntryUnicodeFilePath(applicationPath)),
            files.Read(ExMenuFilePath(applicationPath))};
}

EntryStore EntriesOf(const ListFiles& images, CodePage& codePage) {
    if (images.entries.outcome != ReadOutcome::Whole) return {};
    const bool unicode = images.unicode.outcome == ReadOutcome::Whole;
    return EntriesFromFiles(images.entries.bytes,
                            unicode ? std::optional<std::string_view>(images.unicode.bytes) : std::nullopt, codePage);
}

bool WriteListFiles(FileSystem& files, const std::string& applicationPath, const ListFiles& images,
                    const ListFiles& before) {
    struct Target {
        std::string path;
        const FileContents& image;
        const FileContents& old;
        bool removeWhenAbsent;
    };
    const Target targets[] = {
        {EntryUnicodeFilePath(applicationPath), images.unicode, before.unicode, true},
        {EntryFilePath(applicationPath), images.entries, before.entries, false},
        {ExMenuFilePath(applicationPath), images.members, before.members, false},
    };
    for (size_t i = 0; i < std::size(targets); ++i) {
        if (targets[i].image == targets[i].old) continue;
        if (WriteOne(files, targets[i].path, targets[i].image, targets[i].removeWhenAbsent)) continue;
        // Half a state would match neither step: what was written goes back.
        for (size_t j = 0; j < i; ++j)
            if (targets[j].image != targets[j].old)
                (void)WriteOne(files, targets[j].path, targets[j].old, targets[j].removeWhenAbsent);
        return false;
    }
    return true;
}

bool UndoHistory::Record(Step before) {
    redo_.clear();
    // Several records for one change (a command that asks twice) keep one step.
    if (!undo_.empty() && undo_.back() == before) return false;
    PushBounded(undo_, std::move(before));
    return true;
}

void UndoHistory::ForgetLast() {
    if (!undo_.empty()) undo_.pop_back();
}

std::optional<UndoHistory::Step> UndoHistory::Target(Direction direction, const Step& now) {
    std::deque<Step>& from = direction == Direction::Back ? undo_ : redo_;
    // A change that ended up writing nothing left a step equal to the state:
    // going to it would seem to do nothing.
    while (!from.empty() && from.back() == now) from.pop_back();
    if (from.empty()) return std::nullopt;
    return from.back();
}

void UndoHistory::Reached(Direction direction, Step now) {
    std::deque<Step>& from = direction == Direction::Back ? undo_ : redo_;
    std::deque<Step>& to = direction == Direction::Back ? redo_ : undo_;
    if (!from.empty()) from.pop_back();
    PushBounded(to, std::move(now));
}

}  // namespace tavi
