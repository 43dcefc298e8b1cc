#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "search/romaji.h"

// Finding entries and group members by what the user types: titles (and
// readings) literally or in romaji, file names literally, ranked so that the
// same query always gives the same order.
namespace tavi {

// Where a candidate sits: an entry of the bar, or a member of the group at
// an entry.
struct SearchPlace {
    enum class Kind : uint8_t { Entry, Member };
    Kind kind = Kind::Entry;
    int entryIndex = 0;   // the entry, or the group entry of a member
    int memberSlot = -1;  // a member's slot in its group
    bool operator==(const SearchPlace&) const = default;
};

struct SearchCandidate {
    std::string title;
    std::string reading;   // the title in kana where the title itself is not (kanji); empty when unknown
    std::string fileName;  // SearchFileName of its path
    SearchPlace place;
    double uses = 0;       // UseCounts::ScoreOf: how much and how lately it was started
};

// The name a path's file goes by, without folder and extension: "notepad"
// for "C:\Windows\notepad.exe", a folder's own name for a folder; a group
// path "[name]" has none.
std::string SearchFileName(std::string_view path);

// Text as the search compares it: FoldForMatch on each character, voiced
// marks joined to their kana, the ideographic space as a space, control
// characters dropped.
std::u32string FoldForSearch(std::string_view utf8);

// Better first.
enum class MatchTier : uint8_t { TitleStart, WordStart, InTitle, FileName };

struct SearchHit {
    size_t candidate = 0;  // index into EntrySearch::Candidates()
    MatchTier tier = MatchTier::TitleStart;
    bool operator==(const SearchHit&) const = default;
};

// The candidates folded once; each keystroke then only walks them.
class EntrySearch {
public:
    // Longer queries are cut to this many characters; longer titles are
    // matched on their beginning.
    static constexpr size_t kQueryLimit = 256;
    static constexpr size_t kTitleLimit = 1024;

    EntrySearch() = default;
    explicit EntrySearch(std::vector<SearchCandidate> candidates);

    const std::vector<SearchCandidate>& Candidates() const { return candidates_; }

    // Every candidate the query finds: by tier, then the more used first,
    // then entries before members, by entry index, by member slot, by place
    // in the list. A better tier always comes first, however used the other. An empty or blank
    // query finds nothing.
    std::vector<SearchHit> Find(std::string_view query) const;

private:
    struct Matchable {
        TypedText text;
        std::vector<uint8_t> startWeight;  // a MatchTier per position
    };
    struct Prepared {
        Matchable title, reading;
        std::u32string fileName;
    };
    std::vector<SearchCandidate> candidates_;
    std::vector<Prepared> prepared_;
};

}  // namespace tavi
