#include "dialogs/entry_search_box.h"

#include <algorithm>
#include <optional>
#include <unordered_set>

#include "app/launcher.h"
#include "bar/accessible_names.h"
#include "bar/bar_keys.h"
#include "menus/menu_commands.h"
#include "menus/menu_model.h"
#include "platform/messages.h"
#include "platform/text.h"

namespace tavi {
namespace {

bool SameThing(const SearchRow& a, const SearchRow& b) {
    if (a.place.kind != b.place.kind) return false;
    return a.place.kind == SearchPlace::Kind::Entry ? a.entry == b.entry : a.member == b.member;
}

}  // namespace

std::string SearchWhereOnBar(int index, int pageSize) {
    const int size = std::max(1, pageSize);
    return Fill(text::kSearchWhereButton,
                {{"page", std::to_string(index / size + 1)}, {"button", std::to_string(index % size + 1)}});
}

EntrySearchBox::EntrySearchBox(MenuMain& state, Platform& platform, ReadingCache& readings, UseCounts* uses)
    : state_(state), platform_(platform), readings_(readings), uses_(uses) {}

void EntrySearchBox::Rebuild() {
    candidates_.clear();
    rows_.clear();
    titles_.clear();
    const int pageSize = std::max(1, state_.page.VisibleCount());
    EntryList& list = state_.entries;
    // One reading of the members' file for every group.
    ProfileBatch batch(platform_.profile);
    const int slots = static_cast<int>(list.Slots().size());
    for (int index = 0; index < slots; ++index) {
        if (!IsRegisteredSlot(state_, index) || IsBlank(list.At(index).PathName)) continue;
        const LaunchEntry& entry = list.At(index);
        const bool group = IsGroupPath(TrimSpaces(entry.PathName));
        const std::string name = AccessibleEntryName(entry);
        // An untitled group is known by the name in its brackets.
        const std::string title = group && IsBlank(entry.Title) ? name : entry.Title;
        candidates_.push_back({title, "", SearchFileName(entry.PathName), {SearchPlace::Kind::Entry, index}});
        rows_.push_back({{SearchPlace::Kind::Entry, index}, name, SearchWhereOnBar(index, pageSize), entry, {}});
        titles_.push_back(title);
        if (!group) continue;
        const ExMenuSlots members = list.Members(index);
        const std::string where =
            std::string(text::kSearchWhereGroupBefore) + name + std::string(text::kSearchWhereGroupAfter);
        for (size_t slot = 0; slot < members.size(); ++slot) {
            const ExMenuEntry& member = members[slot];
            if (IsBlank(member.ExPathName)) continue;
            const SearchPlace place{SearchPlace::Kind::Member, index, static_cast<int>(slot)};
            candidates_.push_back({member.ExTitle, "", SearchFileName(member.ExPathName), place});
            rows_.push_back({place, AccessibleName(member.ExTitle, member.ExPathName), where, entry, member});
            titles_.push_back(member.ExTitle);
        }
    }
    // Uses of what no list starts any more go; not while a list is unread,
    // when every entry would seem gone.
    if (uses_ && !list.Unread()) {
        std::unordered_set<std::string> live;
        for (const SearchRow& row : rows_) {
            if (row.place.kind == SearchPlace::Kind::Entry) live.insert(UseKey(row.entry.PathName, row.entry.Command));
            else live.insert(UseKey(row.member.ExPathName, row.member.ExCommand));
        }
        uses_->KeepOnly(live);
    }
    seenChanges_ = list.ChangeCount();
    seenPageSize_ = pageSize;
    built_ = true;
}

void EntrySearchBox::Prepare() {
    for (size_t i = 0; i < candidates_.size(); ++i) {
        SearchCandidate& candidate = candidates_[i];
        candidate.reading = NeedsReading(candidate.title) ? readings_.ReadingOf(candidate.title) : std::string();
        const SearchRow& row = rows_[i];
        const bool member = row.place.kind == SearchPlace::Kind::Member;
        candidate.uses = !uses_ ? 0
                         : member ? uses_->ScoreOf(UseKey(row.member.ExPathName, row.member.ExCommand))
                                  : uses_->ScoreOf(UseKey(row.entry.PathName, row.entry.Command));
    }
    if (uses_) seenUses_ = uses_->ChangeCount();
    search_ = EntrySearch(candidates_);
}

void EntrySearchBox::Find() { hits_ = search_.Find(query_); }

int EntrySearchBox::Locate(const SearchRow& row) const {
    int same = -1;
    for (size_t i = 0; i < hits_.size(); ++i) {
        const SearchRow& found = Row(i);
        if (!SameThing(found, row)) continue;
        if (found.place == row.place) return static_cast<int>(i);
        if (same < 0) same = static_cast<int>(i);
    }
    return same;
}

bool EntrySearchBox::Refresh() {
    if (built_ && seenChanges_ == state_.entries.ChangeCount() && seenPageSize_ == std::max(1, state_.page.VisibleCount()) &&
        (!uses_ || seenUses_ == uses_->ChangeCount()))
        return false;
    std::optional<SearchRow> kept;
    if (selected_ >= 0) kept = Row(static_cast<size_t>(selected_));
    Rebuild();
    Prepare();
    Find();
    selected_ = kept ? Locate(*kept) : -1;
    return true;
}

void EntrySearchBox::SetQuery(std::string_view query) {
    (void)Refresh();
    query_ = std::string(query);
    Find();
    selected_ = -1;
}

void EntrySearchBox::Select(int row) { selected_ = row >= 0 && static_cast<size_t>(row) < Count() ? row : -1; }

SearchChoice EntrySearchBox::Key(SearchKey key, bool shift, int pageRows) {
    const int count = static_cast<int>(Count());
    const int step = std::max(1, pageRows);
    switch (key) {
        case SearchKey::Escape: return {SearchChoice::Action::Close, {}};
        case SearchKey::Down:
            if (count > 0) selected_ = selected_ < 0 ? 0 : std::min(count - 1, selected_ + 1);
            return {};
        case SearchKey::Up:
            if (count > 0) selected_ = std::max(0, selected_ - 1);
            return {};
        case SearchKey::PageDown:
            if (count > 0) selected_ = std::min(count - 1, selected_ < 0 ? step - 1 : selected_ + step);
            return {};
        case SearchKey::PageUp:
            if (count > 0) selected_ = std::max(0, selected_ - step);
            return {};
        case SearchKey::Enter: break;
    }
    if (count == 0) return {};
    const SearchRow target = Row(static_cast<size_t>(std::max(0, selected_)));
    if (Refresh()) {
        // The lists changed under the box: only what they still hold is started.
        selected_ = Locate(target);
        if (selected_ < 0) return {};
    }
    const SearchRow& row = Row(static_cast<size_t>(std::max(0, selected_)));
    return {shift ? SearchChoice::Action::OpenFolder : SearchChoice::Action::Start, row};
}

bool EntrySearchBox::AskReadings(PhoneticReadings& readings, size_t most) {
    if (readingsAvailable_ < 0) readingsAvailable_ = readings.Available() ? 1 : 0;
    if (readingsAvailable_ == 0) return false;
    const std::vector<std::string> unasked = readings_.Unasked(titles_);
    const size_t asking = std::min(most, unasked.size());
    bool answered = false;
    for (size_t i = 0; i < asking; ++i) {
        const std::string reading = readings.ReadingOf(unasked[i]);
        readings_.Add(unasked[i], reading);
        answered = answered || !readings_.ReadingOf(unasked[i]).empty();
    }
    if (answered) {
        std::optional<SearchRow> kept;
        if (selected_ >= 0) kept = Row(static_cast<size_t>(selected_));
        Prepare();
        Find();
        selected_ = kept ? Locate(*kept) : -1;
    }
    return unasked.size() > asking;
}

void EntrySearchBox::SaveReadings() {
    // Only a cache: a file that cannot be written costs the next opening its questions again.
    (void)readings_.Save(platform_.files, ReadingCachePath(state_.ApplicationPath), titles_);
}

Rect CentredIn(const Rect& area, int32_t width, int32_t height) {
    const int32_t w = std::max<int32_t>(0, std::min(width, area.Width()));
    const int32_t h = std::max<int32_t>(0, std::min(height, area.Height()));
    return MakeRect(area.left + (area.Width() - w) / 2, area.top + (area.Height() - h) / 2, w, h);
}

void CarryOutSearchChoice(const SearchChoice& choice, const SearchChoicePorts& ports) {
    MenuMain& state = ports.state;
    const SearchRow& row = choice.row;
    const bool member = row.place.kind == SearchPlace::Kind::Member;
    if (choice.action == SearchChoice::Action::OpenFolder) {
        ExploreEntryFolder(ports.platform, state.ApplicationPath, member ? row.member.ExPathName : row.entry.PathName);
        return;
    }
    if (choice.action != SearchChoice::Action::Start || state.Closing) return;
    const int index = row.place.entryIndex;
    if (!member && (IsGroupPath(TrimSpaces(row.entry.PathName)) || OpensAsMenu(row.entry.PathName, row.entry.RunType))) {
        // As a click on its button: the bar shown at the entry's page, the
        // group's box or the folder's menu beside the button.
        const int pageSize = std::max(1, state.page.VisibleCount());
        const int offset = index / pageSize * pageSize;
        if (offset != state.page.Offset()) {
            ShowPageAt(state, offset);
            ports.bar.RefreshButtons();
        }
        ports.bar.Show();
        if (ports.openAtButton) ports.openAtButton(index - offset);
        return;
    }
    // A failure is reported when the shell comes back; the bar does not hide meanwhile.
    if (!member)
        StartBarEntry(state, ports.platform, index);
    else
        StartGroupMember(state, ports.platform, index, row.place.memberSlot, row.member);
}

}  // namespace tavi
