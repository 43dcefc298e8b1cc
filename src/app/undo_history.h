#pragma once
#include <cstddef>
#include <deque>
#include <optional>
#include <string>

#include "app/entry_store.h"
#include "platform/file_system.h"

namespace tavi {

// A cut entry not yet pasted. Its group members stay stored under `source`
// until the paste, so the files carry them.
struct PendingCut {
    int source = 0;
    LaunchEntry entry;
    bool operator==(const PendingCut&) const = default;
};

// The files a change to the entries or group members may write, byte for
// byte, each as its read found it.
struct ListFiles {
    FileContents entries;  // "Launch.ini"
    FileContents unicode;  // its UTF-8 copy
    FileContents members;  // "TaviMenu2.INI"
    bool operator==(const ListFiles&) const = default;
    // Every file read whole or absent: a state that can be gone back to.
    bool Known() const;
};

ListFiles ReadListFiles(FileSystem& files, const std::string& applicationPath);

struct ListStamps {
    ContentStamp entries;
    ContentStamp unicode;
    ContentStamp members;
};
ListStamps StampsOf(const ListFiles& files);
// Puts the files back as `images` say, each replaced whole. An absent list
// or members file is written empty rather than removed, so going back never
// deletes a file; an absent UTF-8 copy is removed, as a save removes it. The
// UTF-8 copy goes first, as a save writes it. False when one could not be
// written; those written before it are put back as `before` was.
[[nodiscard]] bool WriteListFiles(FileSystem& files, const std::string& applicationPath, const ListFiles& images,
                                  const ListFiles& before);

// The entries the images hold, as a load would read them from those files.
EntryStore EntriesOf(const ListFiles& images, CodePage& codePage);

// Steps kept back; the oldest is forgotten past this.
inline constexpr size_t kUndoDepth = 20;

// The steps of this run's changes to the entries and group members. A step
// is the whole state before a change (its files and the cut entry), so any
// change, however many files it writes, is one step. The entry list alone
// records and applies them.
class UndoHistory {
public:
    struct Step {
        ListFiles files;
        std::optional<PendingCut> cut;
        bool operator==(const Step&) const = default;
    };
    enum class Direction { Back, Forward };

    // Before a change: `before` becomes the step back, and what was undone
    // can no longer be redone. A step equal to the last is kept once: false
    // then, as nothing new was recorded.
    bool Record(Step before);
    // The change after the last Record did not happen.
    void ForgetLast();
    // The files were changed by another program: no step applies any more.
    void Clear() { undo_.clear(), redo_.clear(); }

    bool CanUndo() const { return !undo_.empty(); }
    bool CanRedo() const { return !redo_.empty(); }
    size_t UndoCount() const { return undo_.size(); }

    // The step to go to, skipping those equal to `now` (changes that wrote
    // nothing); nothing when none is left.
    std::optional<Step> Target(Direction direction, const Step& now);
    // The target was reached: it leaves its side and `now` goes to the other.
    void Reached(Direction direction, Step now);

private:
    std::deque<Step> undo_;  // newest last
    std::deque<Step> redo_;
};

}  // namespace tavi
