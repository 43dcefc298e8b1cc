#pragma once
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "app/entry_store.h"
#include "app/ex_menu_store.h"
#include "app/list_change.h"
#include "app/save_notice.h"
#include "app/undo_history.h"
#include "platform/platform.h"

namespace tavi {

// The bar's side of the list: which buttons to show again after a change.
class ListView {
public:
    virtual ~ListView() = default;
    // The entries at these indices changed; their buttons show them again.
    virtual void EntriesChanged(const std::vector<int>& indices) = 0;
    // Every picture is built again: the list was read again, a step undone,
    // or a picture kept under a key would hide the change.
    virtual void EntriesReplaced() = 0;
};

// One change being made: it edits a copy of the lists, and nothing reaches
// the files, the bar or the undo history until the whole change is applied.
class ListEdit {
public:
    const EntryStore& Entries() const { return entries_; }
    // For the planning helpers that fill slots themselves.
    EntryStore& Store() { return entries_; }
    // The slot at `index`, made (empty) when the list is shorter.
    LaunchEntry& Slot(int index);
    // Empties the six fields; the slot stays.
    void Clear(int index);
    // The entry at `from` goes to `to` (replacing what was there), and so do
    // its group members.
    void Move(int from, int to);

    // The members of the group at `index` as this change leaves them so far.
    ExMenuSlots Members(int index);
    void SetMembers(int index, ExMenuSlots members);
    void ClearMembers(int index);

    // Every picture is built again once the change is applied.
    void RebuildAll() { rebuildAll_ = true; }

private:
    friend class EntryList;
    ListEdit(EntryStore entries, std::function<std::optional<ExMenuSlots>(int)> stored, int exMenuMax)
        : entries_(std::move(entries)), stored_(std::move(stored)), exMenuMax_(exMenuMax) {}

    struct PendingMembers {
        int index;
        ExMenuSlots members;
    };
    EntryStore entries_;
    std::function<std::optional<ExMenuSlots>(int)> stored_;
    bool membersUnread_ = false;  // a member read failed: the change is refused
    int exMenuMax_;
    std::map<std::string, PendingMembers> members_;  // by section: each written once
    bool rebuildAll_ = false;
};

// The entries ("Launch.ini" and its UTF-8 companion) and the group members
// ("TaviMenu2.INI") as one object: it alone loads and saves them and keeps
// their undo history. Every change is one call, which reads again a file
// that could not be read, records the step, writes each file once and tells
// the bar what to show again. A file that could not be read is never written
// over: changes that would save it are refused, and nothing changes in
// memory either, until it reads again.
class EntryList {
public:
    // Binds the list to the program's folder, its save notices and ports,
    // and reads the files.
    // A missing list is a first run (its entries are saved at once); an
    // unreadable one leaves the list empty and is told once, later, by
    // TellUnread. Until this is called every change is refused.
    void Open(const std::string& folder, SaveNotices& notices, Platform& platform);
    // 再表示: the files that could not be read are read again. True when the
    // list was read again (the bar has been told to show it).
    bool ReadAgain();
    // Another program changed the files (the folder watch said so): they are
    // read again and shown as they are now, without a word, since nothing of
    // the bar's is lost. A list that is not there or cannot be read now is
    // waited for: the next notice or the next action reads it. The undo
    // history goes, since its steps would write the other program's change
    // away. True when something was read again.
    bool FollowOutside();
    // Tells the user, once per file, what could not be read and that it is
    // left as it is. Start-up calls it once the bar is painted.
    void TellUnread();
    void AttachView(ListView* view) { view_ = view; }
    // Older files kept a group at index 100 or more in the section of its
    // last two digits: once, at start, each such group gets its own.
    void SeparateSharedGroups();

    // A cut entry lives only in the clipboard's owner: each undo step carries it.
    using CutReader = std::function<std::optional<PendingCut>()>;
    using CutWriter = std::function<void(const std::optional<PendingCut>&)>;
    void AttachCut(CutReader read, CutWriter write);

    const EntryStore& Store() const { return store_; }
    const std::vector<LaunchEntry>& Slots() const { return store_.slots; }
    int UpperBound() const { return store_.UpperBound(); }
    bool Has(int index) const { return store_.Has(index); }
    const LaunchEntry& At(int index) const { return store_.slots[static_cast<size_t>(index)]; }
    int LastEntryIndex() const { return store_.LastEntryIndex; }
    // Empty slots up to `index` for a page to show, when the growth mark is
    // below it. Nothing is written: a save leaves empty slots at the end out.
    void Reserve(int index);
    // The members of the group at `index`, as stored now; empty when the
    // member file cannot be read.
    ExMenuSlots Members(int index);
    // Nothing when the member file cannot be read: it is no empty group.
    std::optional<ExMenuSlots> ReadMembers(int index);
    // Whether a file of the list could not be read and waits to be read again.
    bool Unread() const { return !unreadPaths_.empty(); }
    // Grows with every change applied, undo or redo and every reading of the
    // files: a window that shows the lists compares it with what it last saw.
    uint64_t ChangeCount() const { return changeCount_; }

    // Applies `edit` whole or not at all. False when nothing changed: it was
    // refused (a file it would write could not be read or written) or the
    // list was read again first (the user acted on a list that was not the
    // file's, or another program changed it); each is told, and the files,
    // the bar and the undo history are as before.
    // A list another program changed since it was read is read again first,
    // and the change is made over it when every slot it writes is as the
    // user saw it (both sides' changes stay); otherwise it is refused, told.
    bool Change(const std::function<void(ListEdit&)>& edit) { return Change(edit, true); }

    bool CanUndo() const { return undo_.CanUndo(); }
    bool CanRedo() const { return undo_.CanRedo(); }
    size_t UndoCount() const { return undo_.UndoCount(); }
    // The files written back and the entries read again from them. False
    // when there was nothing to go to, or it was refused as a change is.
    bool Undo() { return Go(UndoHistory::Direction::Back); }
    bool Redo() { return Go(UndoHistory::Direction::Forward); }

    // The highest member slot of a group, from the settings' ExMenuCount.
    int ExMenuMax() const { return exMenuMax_; }
    void SetExMenuMax(int exMenuMax) { exMenuMax_ = exMenuMax; }

private:
    struct Unreadable {
        std::string path;
        bool told = false;
    };
    void Load();
    // Reads again each file that could not be read; true when one now reads.
    bool Retry(bool* shownListChanged = nullptr);
    // Retry, told to the user when a file read again.
    bool ReadBeforeActing();
    bool Refused(const std::vector<std::string>& paths);
    // The files of `files` a change would write (the list and its copy, the
    // members) that could not be read, marked unread.
    std::vector<std::string> UnreadableNow(const ListFiles& files, bool entries, bool members);
    // A change that was not made, told once; false.
    bool NoteListChange(ListChangeOutcome outcome);
    // The files as this list last read or wrote them.
    void Remember(const ListFiles& files);
    // Whether another program changed the list (`list`) or the members
    // (`members`) since: `now` differs from what was seen where both read.
    bool ChangedOutside(const ListFiles& now, bool list, bool members) const;
    // The list read again and shown, the undo history dropped, told; false.
    bool ShowChangedOutside();
    void MarkUnread(const std::string& path);
    // Copies a companion that belongs to no list to StrayCompanionPath.
    void KeepStrayCompanion();
    bool IsUnread(const std::string& path) const;
    bool Change(const std::function<void(ListEdit&)>& edit, bool mayFollow);
    // Whether `edit`, made over the list as it is now, writes only slots
    // that are as they were in `seen`.
    bool AppliesOver(const EntryStore& seen, const std::function<void(ListEdit&)>& edit);
    void ForgetHistoryForOutside();
    UndoHistory::Step Current();
    bool Go(UndoHistory::Direction direction);
    void ShowChanges(const EntryStore& before, bool all);

    std::string folder_;
    SaveNotices* notices_ = nullptr;
    int exMenuMax_ = 9;
    Platform* platform_ = nullptr;
    EntryStore store_;
    std::vector<Unreadable> unreadPaths_;
    bool refusalTold_ = false;
    bool historyLostOutside_ = false;  // the undo steps went with an outside change
    bool separationDue_ = false;
    ListStamps seen_;  // the files as last read or written here
    UndoHistory undo_;
    ListView* view_ = nullptr;
    uint64_t changeCount_ = 0;
    CutReader readCut_;
    CutWriter writeCut_;
};

}  // namespace tavi
