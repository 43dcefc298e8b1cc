#pragma once
#include <cstddef>
#include <deque>
#include <functional>
#include <optional>
#include <string>

#include "app/entry_store.h"
#include "platform/platform.h"

namespace tavi {

struct MenuMain;

// A cut entry not yet pasted. Its group members stay stored under `source`
// until the paste, so the files carry them.
struct PendingCut {
    int source = 0;
    LaunchEntry entry;
    bool operator==(const PendingCut&) const = default;
};

// The files a change to the entries or group members may write, byte for
// byte; nothing for a file that does not exist.
struct ListFiles {
    std::optional<std::string> entries;  // "Launch.ini"
    std::optional<std::string> unicode;  // its UTF-8 copy
    std::optional<std::string> members;  // "TaviMenu2.INI"
    bool operator==(const ListFiles&) const = default;
};

ListFiles ReadListFiles(FileSystem& files, const std::string& applicationPath);
// Puts the files back as `images` say, each replaced whole or removed. The
// UTF-8 copy goes first, as a save writes it. False when one could not be
// written; those written before it are put back as `before` was.
[[nodiscard]] bool WriteListFiles(FileSystem& files, const std::string& applicationPath, const ListFiles& images,
                                  const ListFiles& before);

// Steps kept back; the oldest is forgotten past this.
inline constexpr size_t kUndoDepth = 20;

// The changes of this run to the entries and group members, to be undone and
// redone. A step is the whole state before a change, so any change, however
// many files or saves it takes, is one step.
class UndoHistory {
public:
    using CutReader = std::function<std::optional<PendingCut>()>;
    using CutWriter = std::function<void(const std::optional<PendingCut>&)>;

    // The owner of the cut clipboard: a cut entry lives only there, so it is
    // part of each step.
    void AttachCut(CutReader read, CutWriter write);

    // Before a change: the state as it is now becomes the step back, and
    // what was undone can no longer be redone.
    void BeginChange(MenuMain& state, Platform& platform);

    bool CanUndo() const { return !undo_.empty(); }
    bool CanRedo() const { return !redo_.empty(); }
    size_t UndoCount() const { return undo_.size(); }

    // The files written back and the entries read again from them. False
    // when there was nothing to undo or a file could not be written: the
    // failure is told once, as a failed save is, and the step stays.
    bool Undo(MenuMain& state, Platform& platform);
    bool Redo(MenuMain& state, Platform& platform);

private:
    struct Step {
        ListFiles files;
        std::optional<PendingCut> cut;
        bool operator==(const Step&) const = default;
    };
    Step Current(MenuMain& state, Platform& platform) const;
    bool Apply(std::deque<Step>& from, std::deque<Step>& to, MenuMain& state, Platform& platform);

    std::deque<Step> undo_;  // newest last
    std::deque<Step> redo_;
    CutReader readCut_;
    CutWriter writeCut_;
};

}  // namespace tavi
