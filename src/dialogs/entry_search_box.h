#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "app/bar_services.h"
#include "app/ex_menu_store.h"
#include "app/menu_main.h"
#include "search/entry_search.h"
#include "search/reading_cache.h"
#include "search/use_counts.h"
#include "platform/phonetic_readings.h"
#include "platform/platform.h"
#include "platform/rect.h"

// The entry search `EntrySearchDialog`: one edit box and the results below it,
// every registered entry and every group member found by what is typed. The
// box reads the lists again whenever they changed since it last looked, so
// that it shows them as they are and never starts what is no longer there.
// Everything it decides lives here; the window only shows the rows and
// reports text, keys and clicks.
namespace tavi {

// One result as the box shows it, with what it stood for when it was found.
struct SearchRow {
    SearchPlace place;
    std::string title;  // the title, or the name of its file when it has none
    std::string where;  // "2ﾍﾟｰｼﾞの3番目", or "ｸﾞﾙｰﾌﾟ「ツール」" for a member
    LaunchEntry entry;  // an entry's fields; for a member, its group's
    ExMenuEntry member; // a member's fields
    bool operator==(const SearchRow&) const = default;
};

enum class SearchKey { Up, Down, PageUp, PageDown, Enter, Escape };

struct SearchChoice {
    enum class Action { None, Close, Start, OpenFolder };
    Action action = Action::None;
    SearchRow row;  // Start and OpenFolder: the result as the lists hold it now
    bool operator==(const SearchChoice&) const = default;
};

// "2ﾍﾟｰｼﾞの3番目" for entry `index` on a bar of `pageSize` buttons.
std::string SearchWhereOnBar(int index, int pageSize);

class EntrySearchBox {
public:
    // `uses` ranks equal matches by use, and loses the entries the lists no
    // longer hold; without it the box ranks by place alone.
    EntrySearchBox(MenuMain& state, Platform& platform, ReadingCache& readings, UseCounts* uses = nullptr);

    // Reads the lists when they changed since the last look (and at the
    // first): the results are made again for the same text, and the row
    // selected stays selected where it is still found. True when it read.
    bool Refresh();
    // The text of the edit box: the results follow, nothing selected.
    void SetQuery(std::string_view query);

    size_t Count() const { return hits_.size(); }
    const SearchRow& Row(size_t index) const { return rows_[hits_[index].candidate]; }
    // The row selected, -1 for none.
    int Selected() const { return selected_; }
    // A click on a row (-1 or a row past the end: none).
    void Select(int row);

    // Up and Down move the selection by one, Page Up and Page Down by
    // `pageRows` (the rows the list shows at once). Enter starts the row
    // selected (the first when none is), Shift+Enter opens its folder;
    // Escape closes. Before Enter acts the lists are looked at again: a row
    // whose entry or member has gone is not started.
    SearchChoice Key(SearchKey key, bool shift = false, int pageRows = 1);

    // Titles in kanji whose readings the input method has not been asked
    // for yet; asks it for up to `most` of them and, when any answered, makes
    // the results again. True while more are left to ask.
    bool AskReadings(PhoneticReadings& readings, size_t most);
    // Keeps what the input method told in the readings file.
    void SaveReadings();

private:
    void Rebuild();
    void Prepare();
    void Find();
    int Locate(const SearchRow& row) const;

    MenuMain& state_;
    Platform& platform_;
    ReadingCache& readings_;
    UseCounts* uses_;
    std::vector<SearchCandidate> candidates_;
    std::vector<SearchRow> rows_;  // one per candidate
    std::vector<std::string> titles_;
    EntrySearch search_;
    std::string query_;
    std::vector<SearchHit> hits_;
    int selected_ = -1;
    bool built_ = false;
    uint64_t seenChanges_ = 0;
    uint64_t seenUses_ = 0;
    int seenPageSize_ = 0;
    int readingsAvailable_ = -1;  // -1: not asked yet
};

// Where the box opens: centred on the work area of the bar's monitor, and
// inside it when it is the larger.
Rect CentredIn(const Rect& area, int32_t width, int32_t height);

// What a choice asks of the program once the box has closed.
struct SearchChoicePorts {
    MenuMain& state;
    Platform& platform;
    BarServices& bar;
    // What the button at a 0-based page position opens (a group's box, a
    // folder's menu), opened from the keyboard.
    std::function<void(int position)> openAtButton;
};

// Carries out a choice once the box has closed. Start: an entry starts as
// its button's click does (a failed start offers to delete it); a member
// starts as in the group box (the offer deletes only that member); a group
// shows the bar, pages it to the group and opens its box at its button.
// OpenFolder: the explorer on the folder of the entry's or member's file,
// as "ﾌｫﾙﾀﾞ(&A)..." does.
void CarryOutSearchChoice(const SearchChoice& choice, const SearchChoicePorts& ports);

}  // namespace tavi
