#include "app/entry_list.h"

#include <algorithm>
#include <utility>

#include "app/menu_main.h"
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
    return stored_(index);
}

void ListEdit::SetMembers(int index, ExMenuSlots members) {
    members_[ExMenuSection(index)] = PendingMembers{index, std::move(members)};
}

void ListEdit::ClearMembers(int index) { SetMembers(index, EmptyExMenu(exMenuMax_)); }

void EntryList::Open(MenuMain& state, Platform& platform) {
    state_ = &state;
    platform_ = &platform;
    unreadPaths_.clear();
    Load();
}

void EntryList::Load() {
    ++changeCount_;
    Platform& p = *platform_;
    const std::string& folder = state_->ApplicationPath;
    LoadedEntries loaded = LoadEntries(p.files, p.codePage, folder);
    switch (loaded.outcome) {
        case ReadOutcome::Unreadable:
            store_ = EntryStore{};
            MarkUnread(loaded.unreadPath);
            break;
        case ReadOutcome::Absent:
            store_ = FirstRunEntries(p.system, p.files);
            if (!store_.slots.empty()) (void)NoteSave(*state_, p.messages, SaveEntries(store_, p, folder));
            break;
        case ReadOutcome::Whole: store_ = std::move(loaded.store); break;
    }
    if (p.profile.FileOutcome(ExMenuFilePath(folder)) == ReadOutcome::Unreadable)
        MarkUnread(ExMenuFilePath(folder));
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

bool EntryList::Retry() {
    if (!platform_ || unreadPaths_.empty()) return false;
    Platform& p = *platform_;
    const std::string& folder = state_->ApplicationPath;
    bool readAgain = false;
    if (IsUnread(EntryFilePath(folder)) || IsUnread(EntryUnicodeFilePath(folder))) {
        LoadedEntries loaded = LoadEntries(p.files, p.codePage, folder);
        if (loaded.outcome != ReadOutcome::Unreadable) {
            // A list that is gone now is an empty one, not a first run: the
            // bar has been running without it.
            const size_t shown = store_.slots.size();
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
    ++changeCount_;
    if (unreadPaths_.empty()) refusalTold_ = false;
    if (view_) view_->EntriesReplaced();
    return true;
}

bool EntryList::ReadAgain() { return Retry(); }

// The user acted on a list that was not the file's: it is shown as the file
// has it now, and the action is not carried out.
bool EntryList::ReadBeforeActing() {
    if (!Retry()) return false;
    (void)platform_->messages.Show({std::string(text::kListReadAgain), std::string(text::kMessageCaption),
                                    MessageIcon::Information, MessageButtons::Ok});
    return true;
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
    if (!platform_ || Unread()) return;
    if (!SeparateSharedGroupSections(store_, platform_->profile, state_->ApplicationPath).empty()) ++changeCount_;
}

void EntryList::AttachCut(CutReader read, CutWriter write) {
    readCut_ = std::move(read);
    writeCut_ = std::move(write);
}

void EntryList::Reserve(int index) {
    if (store_.LastEntryIndex < index) store_.ResizeEntryArrays(index);
}

ExMenuSlots EntryList::Members(int index) {
    if (!platform_) return EmptyExMenu(9);
    return LoadExMenu(platform_->profile, state_->ApplicationPath, index, state_->ExMenuMax);
}

UndoHistory::Step EntryList::Current() {
    return {ReadListFiles(platform_->files, state_->ApplicationPath), readCut_ ? readCut_() : std::nullopt};
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

bool EntryList::Change(const std::function<void(ListEdit&)>& edit) {
    if (!platform_) return false;
    Platform& p = *platform_;
    const std::string& folder = state_->ApplicationPath;
    if (ReadBeforeActing()) return false;
    ListEdit e(store_, [this](int index) { return Members(index); }, state_->ExMenuMax);
    edit(e);
    const bool writesMembers = !e.members_.empty();
    const bool writesEntries = FormatEntries(e.entries_) != FormatEntries(store_);

    std::vector<std::string> refused;
    for (const Unreadable& unread : unreadPaths_) {
        const bool members = unread.path == ExMenuFilePath(folder);
        if (members ? writesMembers : writesEntries) refused.push_back(unread.path);
    }
    if (!refused.empty()) return Refused(refused);

    if (writesEntries || writesMembers) {
        // A state with a file that cannot be read now could never be gone
        // back to whole: no step is kept for it.
        UndoHistory::Step before = Current();
        const bool recorded = before.files.Known() && undo_.Record(before);
        if (writesMembers) {
            // The members go first: a group never stands in the list without
            // them. Members that cannot be written leave the change undone.
            ProfileBatch batch(p.profile);
            for (const auto& [section, pending] : e.members_)
                (void)SaveExMenu(p.profile, folder, pending.index, pending.members, state_->ExMenuMax);
            if (!batch.End()) {
                if (recorded) undo_.ForgetLast();
                return NoteSave(*state_, p.messages, false);
            }
        }
        // A list that cannot be written keeps the change in memory, told, for
        // the next save to write (a folder made read-only, a full disk).
        (void)NoteSave(*state_, p.messages, !writesEntries || SaveEntries(e.entries_, p, folder));
    }
    EntryStore before = std::exchange(store_, std::move(e.entries_));
    ++changeCount_;
    ShowChanges(before, e.rebuildAll_);
    return true;
}

bool EntryList::Go(UndoHistory::Direction direction) {
    if (!platform_) return false;
    Platform& p = *platform_;
    const std::string& folder = state_->ApplicationPath;
    if (ReadBeforeActing()) return false;
    UndoHistory::Step now = Current();
    if (!now.files.Known()) return NoteSave(*state_, p.messages, false);
    const std::optional<UndoHistory::Step> target = undo_.Target(direction, now);
    if (!target) return false;
    if (!NoteSave(*state_, p.messages, WriteListFiles(p.files, folder, target->files, now.files))) return false;
    // Slots the list no longer writes stay, empty, so their buttons are emptied too.
    const size_t shown = store_.slots.size();
    store_ = LoadEntries(p.files, p.codePage, folder).store;
    if (store_.slots.size() < shown) store_.slots.resize(shown);
    if (writeCut_) writeCut_(target->cut);
    undo_.Reached(direction, std::move(now));
    ++changeCount_;
    if (view_) view_->EntriesReplaced();
    return true;
}

}  // namespace tavi
