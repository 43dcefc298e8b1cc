#include "app/entry_list.h"

#include <algorithm>
#include <tuple>
#include <utility>

#include "app/list_change.h"
#include "app/save_notice.h"
#include "platform/messages.h"

namespace tavi {

LaunchEntry& ListEdit::Slot(int index) {
    // Grown first when the index is not below the growth mark, as every writer of an entry does.
    if (index >= entries_.LastEntryIndex || !entries_.Has(index)) entries_.ResizeEntryArrays(index);
    return entries_.slots[static_cast<size_t>(index)];
}

void ListEdit::Clear(int index) { entries_.ClearEntry(index); }

void ListEdit::Move(int from, int to) {
    if (from == to || to < 0 || !entries_.Has(from)) return;
    entries_.MoveEntry(from, to);
    if (ExMenuSection(from) == ExMenuSection(to)) return;
    SetMembers(to, Members(from));
    ClearMembers(from);
}

ExMenuSlots ListEdit::Members(int index) {
    const auto pending = members_.find(ExMenuSection(index));
    if (pending != members_.end()) return pending->second.members;
    std::optional<ExMenuSlots> stored = stored_(index);
    if (stored) return std::move(*stored);
    membersUnread_ = true;
    return EmptyExMenu(exMenuMax_);
}

void ListEdit::SetMembers(int index, ExMenuSlots members) {
    members_[ExMenuSection(index)] = PendingMembers{index, std::move(members)};
}

void ListEdit::ClearMembers(int index) { SetMembers(index, EmptyExMenu(exMenuMax_)); }

void EntryList::Open(const std::string& folder, SaveNotices& notices, Platform& platform) {
    folder_ = folder;
    notices_ = &notices;
    platform_ = &platform;
    unreadPaths_.clear();
    Load();
    Remember(ReadListFiles(platform.files, folder_));
}

void EntryList::Remember(const ListFiles& files) { seen_ = StampsOf(files); }

bool EntryList::ChangedOutside(const ListFiles& now, bool list, bool members) const {
    // A file that cannot be read now is the unread files' matter, not this.
    const auto changed = [](const ContentStamp& seen, const FileContents& file) {
        return seen.outcome != ReadOutcome::Unreadable && file.outcome != ReadOutcome::Unreadable &&
               seen != StampOf(file);
    };
    return (list && (changed(seen_.entries, now.entries) || changed(seen_.unicode, now.unicode))) ||
           (members && changed(seen_.members, now.members));
}

void EntryList::ForgetHistoryForOutside() {
    if (undo_.CanUndo() || undo_.CanRedo()) historyLostOutside_ = true;
    undo_.Clear();
}

bool EntryList::FollowOutside() {
    if (!platform_) return false;
    if (Unread()) return Retry();
    Platform& p = *platform_;
    const ListFiles now = ReadListFiles(p.files, folder_);
    // Held, half written or gone for a moment (a sync tool deletes and
    // writes again): waited for.
    if (!now.Known() || now.entries.outcome == ReadOutcome::Absent) return false;
    const bool list = ChangedOutside(now, true, false);
    if (!list && !ChangedOutside(now, false, true)) return false;
    if (list) {
        LoadedEntries loaded = LoadEntries(p.files, p.codePage, folder_);
        if (loaded.outcome != ReadOutcome::Whole) return false;
        const size_t shown = store_.slots.size();
        store_ = std::move(loaded.store);
        if (store_.slots.size() < shown) store_.slots.resize(shown);
    }
    Remember(now);
    ForgetHistoryForOutside();
    ++changeCount_;
    if (view_) view_->EntriesReplaced();
    return true;
}

bool EntryList::AppliesOver(const EntryStore& seen, const std::function<void(ListEdit&)>& edit) {
    ListEdit e(store_, [this](int index) { return ReadMembers(index); }, exMenuMax_);
    edit(e);
    const auto slot = [](const EntryStore& store, size_t i) {
        return i < store.slots.size() ? store.slots[i] : LaunchEntry{};
    };
    const size_t count = std::max(e.entries_.slots.size(), store_.slots.size());
    for (size_t i = 0; i < count; ++i)
        if (slot(e.entries_, i) != slot(store_, i) && slot(store_, i) != slot(seen, i)) return false;
    return true;
}

bool EntryList::ShowChangedOutside() {
    // Another program (a sync tool, an editor, a bar on another PC) changed
    // the list: it is shown as the file has it, the user's action is not
    // carried out over it, and no step of before applies any more.
    Platform& p = *platform_;
    LoadedEntries loaded = LoadEntries(p.files, p.codePage, folder_);
    if (loaded.outcome != ReadOutcome::Unreadable) {
        const size_t shown = store_.slots.size();
        store_ = std::move(loaded.store);
        if (store_.slots.size() < shown) store_.slots.resize(shown);
    }
    Remember(ReadListFiles(p.files, folder_));
    ForgetHistoryForOutside();
    ++changeCount_;
    if (view_) view_->EntriesReplaced();
    (void)p.messages.Show({std::string(text::kListChangedOutside), std::string(text::kMessageCaption),
                           MessageIcon::Information, MessageButtons::Ok});
    return false;
}

void EntryList::Load() {
    ++changeCount_;
    Platform& p = *platform_;
    const std::string& folder = folder_;
    if (!SettleListChange(p.files, folder)) {
        // A change cut short whose files cannot be put back yet: they may
        // hold half of it, so they are neither shown nor written over.
        store_ = EntryStore{};
        MarkUnread(EntryFilePath(folder));
        MarkUnread(ExMenuFilePath(folder));
        return;
    }
    LoadedEntries loaded = LoadEntries(p.files, p.codePage, folder);
    // A companion that belongs to no list here (from another PC, or left
    // beside a list an older version wrote alone) is read by no one, and the
    // next save would replace it: it is kept aside first.
    if (loaded.strayCompanion || (loaded.outcome == ReadOutcome::Absent && p.files.FileExists(EntryUnicodeFilePath(folder))))
        KeepStrayCompanion();
    switch (loaded.outcome) {
        case ReadOutcome::Unreadable:
            store_ = EntryStore{};
            MarkUnread(loaded.unreadPath);
            break;
        case ReadOutcome::Absent:
            store_ = FirstRunEntries(p.system, p.files);
            if (!store_.slots.empty()) (void)notices_->Note(p.messages, folder, SaveEntries(store_, p, folder));
            break;
        case ReadOutcome::Whole: store_ = std::move(loaded.store); break;
    }
    if (p.profile.FileOutcome(ExMenuFilePath(folder)) == ReadOutcome::Unreadable)
        MarkUnread(ExMenuFilePath(folder));
}

void EntryList::KeepStrayCompanion() {
    FileSystem& files = platform_->files;
    const std::string& folder = folder_;
    const std::optional<std::string> companion = files.ReadAll(EntryUnicodeFilePath(folder));
    if (companion && files.ReadAll(StrayCompanionPath(folder)) != companion)
        (void)files.ReplaceAll(StrayCompanionPath(folder), *companion);
}

void EntryList::MarkUnread(const std::string& path) {
    if (!IsUnread(path)) unreadPaths_.push_back({path, false});
}

bool EntryList::IsUnread(const std::string& path) const {
    return std::any_of(unreadPaths_.begin(), unreadPaths_.end(), [&](const Unreadable& u) { return u.path == path; });
}

void EntryList::TellUnread() {
    if (!platform_) return;
    for (Unreadable& unread : unreadPaths_) {
        if (unread.told) continue;
        unread.told = true;
        TellUnreadable(platform_->messages, unread.path);
    }
}

bool EntryList::Retry(bool* shownListChanged) {
    if (!platform_ || unreadPaths_.empty()) return false;
    Platform& p = *platform_;
    const std::string& folder = folder_;
    if (!SettleListChange(p.files, folder)) return false;
    bool readAgain = false;
    if (IsUnread(EntryFilePath(folder)) || IsUnread(EntryUnicodeFilePath(folder))) {
        LoadedEntries loaded = LoadEntries(p.files, p.codePage, folder);
        if (loaded.outcome != ReadOutcome::Unreadable) {
            // A list that is gone now is an empty one, not a first run: the
            // bar has been running without it.
            const size_t shown = store_.slots.size();
            if (shownListChanged) *shownListChanged = FormatEntries(loaded.store) != FormatEntries(store_);
            store_ = std::move(loaded.store);
            if (store_.slots.size() < shown) store_.slots.resize(shown);
            std::erase_if(unreadPaths_, [&](const Unreadable& u) {
                return u.path == EntryFilePath(folder) || u.path == EntryUnicodeFilePath(folder);
            });
            readAgain = true;
        }
    }
    if (IsUnread(ExMenuFilePath(folder)) &&
        p.profile.FileOutcome(ExMenuFilePath(folder)) != ReadOutcome::Unreadable) {
        std::erase_if(unreadPaths_, [&](const Unreadable& u) { return u.path == ExMenuFilePath(folder); });
        readAgain = true;
    }
    if (!readAgain) return false;
    if (separationDue_) SeparateSharedGroups();
    Remember(ReadListFiles(p.files, folder));
    ++changeCount_;
    if (unreadPaths_.empty()) refusalTold_ = false;
    if (view_) view_->EntriesReplaced();
    return true;
}

bool EntryList::ReadAgain() { return Retry(); }

// The user acted on a list that was not the file's: it is shown as the file
// has it now, and the action is not carried out.
bool EntryList::ReadBeforeActing() {
    // A list that reads again as the bar shows it (held a moment by a sync
    // tool) lets the action go on.
    bool shownListChanged = false;
    if (!Retry(&shownListChanged) || !shownListChanged) return false;
    (void)platform_->messages.Show({std::string(text::kListReadAgain), std::string(text::kMessageCaption),
                                    MessageIcon::Information, MessageButtons::Ok});
    return true;
}

std::vector<std::string> EntryList::UnreadableNow(const ListFiles& files, bool entries, bool members) {
    const std::string& folder = folder_;
    std::vector<std::string> paths;
    const std::tuple<const FileContents*, std::string, bool> read[] = {
        {&files.entries, EntryFilePath(folder), entries},
        {&files.unicode, EntryUnicodeFilePath(folder), entries},
        {&files.members, ExMenuFilePath(folder), members}};
    for (const auto& [contents, path, written] : read) {
        if (!written || contents->outcome != ReadOutcome::Unreadable) continue;
        // Told as a refusal now; read again before the next change.
        MarkUnread(path);
        for (Unreadable& unread : unreadPaths_)
            if (unread.path == path) unread.told = true;
        paths.push_back(path);
    }
    return paths;
}

bool EntryList::NoteListChange(ListChangeOutcome outcome) {
    // Files that could not be put back are not trusted until the journal settles them.
    if (outcome == ListChangeOutcome::Unsettled) {
        MarkUnread(EntryFilePath(folder_));
        MarkUnread(ExMenuFilePath(folder_));
    }
    return notices_->Note(platform_->messages, folder_, false, text::kListChangeNotSaved);
}

bool EntryList::Refused(const std::vector<std::string>& paths) {
    if (refusalTold_) return false;
    refusalTold_ = true;
    std::string names;
    for (const std::string& path : paths) names += "\n" + path;
    (void)platform_->messages.Show({std::string(text::kSaveRefusedUnread) + names, std::string(text::kMessageCaption),
                                    MessageIcon::Warning, MessageButtons::Ok});
    return false;
}

void EntryList::SeparateSharedGroups() {
    if (!platform_) return;
    // Skipped while a file is unread, it runs once the files read again.
    separationDue_ = Unread();
    if (separationDue_) return;
    if (SeparateSharedGroupSections(store_, platform_->profile, folder_).empty()) return;
    ++changeCount_;
    Remember(ReadListFiles(platform_->files, folder_));  // our own write
}

void EntryList::AttachCut(CutReader read, CutWriter write) {
    readCut_ = std::move(read);
    writeCut_ = std::move(write);
}

void EntryList::Reserve(int index) {
    if (store_.LastEntryIndex < index) store_.ResizeEntryArrays(index);
}

ExMenuSlots EntryList::Members(int index) {
    return ReadMembers(index).value_or(EmptyExMenu(exMenuMax_));
}

std::optional<ExMenuSlots> EntryList::ReadMembers(int index) {
    if (!platform_) return std::nullopt;
    Profile& profile = platform_->profile;
    ProfileBatch batch(profile);  // the outcome and the members of one reading
    if (profile.FileOutcome(ExMenuFilePath(folder_)) == ReadOutcome::Unreadable) return std::nullopt;
    return LoadExMenu(profile, folder_, index, exMenuMax_);
}

UndoHistory::Step EntryList::Current() {
    return {ReadListFiles(platform_->files, folder_), readCut_ ? readCut_() : std::nullopt};
}

void EntryList::ShowChanges(const EntryStore& before, bool all) {
    if (!view_) return;
    if (all) {
        view_->EntriesReplaced();
        return;
    }
    std::vector<int> changed;
    const size_t count = std::max(before.slots.size(), store_.slots.size());
    for (size_t i = 0; i < count; ++i) {
        const LaunchEntry old = i < before.slots.size() ? before.slots[i] : LaunchEntry{};
        const LaunchEntry now = i < store_.slots.size() ? store_.slots[i] : LaunchEntry{};
        if (old != now) changed.push_back(static_cast<int>(i));
    }
    if (!changed.empty()) view_->EntriesChanged(changed);
}

bool EntryList::Change(const std::function<void(ListEdit&)>& edit, bool mayFollow) {
    if (!platform_) return false;
    Platform& p = *platform_;
    const std::string& folder = folder_;
    if (ReadBeforeActing()) return false;
    ListEdit e(store_, [this](int index) { return ReadMembers(index); }, exMenuMax_);
    edit(e);
    if (e.membersUnread_) {
        // Members that could not be read are no empty group to write back.
        UnreadableNow({{}, {}, {ReadOutcome::Unreadable, {}}}, false, true);
        return Refused({ExMenuFilePath(folder)});
    }
    // Members carried by a move may be what is stored already (an entry that
    // is no group); members that cannot be read may be anything.
    const bool membersKnown = !IsUnread(ExMenuFilePath(folder)) &&
                              p.profile.FileOutcome(ExMenuFilePath(folder)) != ReadOutcome::Unreadable;
    const bool writesMembers = std::any_of(e.members_.begin(), e.members_.end(), [&](const auto& pending) {
        return !membersKnown || pending.second.members != ReadMembers(pending.second.index);
    });
    const bool writesEntries = FormatEntries(e.entries_) != FormatEntries(store_);

    std::vector<std::string> refused;
    for (const Unreadable& unread : unreadPaths_) {
        const bool members = unread.path == ExMenuFilePath(folder);
        if (members ? writesMembers : writesEntries) refused.push_back(unread.path);
    }
    if (!refused.empty()) return Refused(refused);

    if (writesEntries || writesMembers) {
        // A file that can no longer be read (held since the start) is not
        // written over: the change waits until it reads again.
        UndoHistory::Step before = Current();
        // Members changed outside conflict with a change that writes members.
        // A list changed outside is followed, and the change made over it
        // when the slots it writes are as the user saw them.
        if (ChangedOutside(before.files, false, writesMembers)) return ShowChangedOutside();
        if (ChangedOutside(before.files, true, false)) {
            const EntryStore seen = store_;
            if (!mayFollow || !FollowOutside()) return ShowChangedOutside();
            if (!AppliesOver(seen, edit)) return ShowChangedOutside();
            return Change(edit, false);
        }
        const std::vector<std::string> unreadable = UnreadableNow(before.files, writesEntries, writesMembers);
        if (!unreadable.empty()) return Refused(unreadable);
        // The UTF-8 copy is written or removed with the list when either side has one.
        const std::string text = FormatEntries(e.entries_);
        const bool companion = before.files.unicode.outcome == ReadOutcome::Whole ||
                               p.codePage.ToUtf8(p.codePage.FromUtf8(text)) != text;
        const int written = (writesMembers ? 1 : 0) + (writesEntries ? (companion ? 2 : 1) : 0);
        const ListChangeOutcome outcome = WriteListChange(p.files, folder, before.files, written == 1, [&] {
            if (writesMembers) {
                ProfileBatch batch(p.profile);
                for (const auto& [section, pending] : e.members_)
                    (void)SaveExMenu(p.profile, folder, pending.index, pending.members, exMenuMax_);
                if (!batch.End()) return false;
            }
            return !writesEntries || SaveEntries(e.entries_, p, folder);
        });
        // Not made, the change leaves the bar, the files and the undo history as they were.
        if (outcome != ListChangeOutcome::Made) return NoteListChange(outcome);
        // A file the change did not write may be unreadable in the step: going
        // back leaves it as it is, as the change did.
        undo_.Record(std::move(before));
        historyLostOutside_ = false;
        Remember(ReadListFiles(p.files, folder));
    }
    EntryStore before = std::exchange(store_, std::move(e.entries_));
    ++changeCount_;
    ShowChanges(before, e.rebuildAll_);
    return true;
}

bool EntryList::Go(UndoHistory::Direction direction) {
    if (!platform_) return false;
    Platform& p = *platform_;
    const std::string& folder = folder_;
    if (ReadBeforeActing()) return false;
    UndoHistory::Step now = Current();
    if (ChangedOutside(now.files, true, true)) return ShowChangedOutside();
    if (!now.files.Known()) return Refused(UnreadableNow(now.files, true, true));
    const std::optional<UndoHistory::Step> target = undo_.Target(direction, now);
    if (!target) {
        // Nothing to go back to because another program changed the list: said so.
        if (historyLostOutside_)
            (void)p.messages.Show({std::string(text::kUndoLostToOutside), std::string(text::kMessageCaption),
                                   MessageIcon::Information, MessageButtons::Ok});
        return false;
    }
    const int written = (target->files.entries != now.files.entries ? 1 : 0) +
                        (target->files.unicode != now.files.unicode ? 1 : 0) +
                        (target->files.members != now.files.members ? 1 : 0);
    const ListChangeOutcome outcome = WriteListChange(
        p.files, folder, now.files, written <= 1, [&] { return WriteListFiles(p.files, folder, target->files, now.files); });
    if (outcome != ListChangeOutcome::Made) return NoteListChange(outcome);
    // The entries as written, not read back: a read that fails now must not
    // empty the bar (and the next save the list).
    const size_t shown = store_.slots.size();
    const bool listKnown = target->files.entries.outcome != ReadOutcome::Unreadable &&
                           target->files.unicode.outcome != ReadOutcome::Unreadable;
    if (listKnown) store_ = EntriesOf(target->files, p.codePage);
    if (store_.slots.size() < shown) store_.slots.resize(shown);
    if (writeCut_) writeCut_(target->cut);
    undo_.Reached(direction, std::move(now));
    Remember(ReadListFiles(p.files, folder));
    ++changeCount_;
    if (view_) view_->EntriesReplaced();
    return true;
}

}  // namespace tavi
