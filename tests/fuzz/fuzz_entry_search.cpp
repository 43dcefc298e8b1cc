// What is typed into the entry search, against any titles: the same query
// always gives the same hits in order, each candidate once; a candidate a
// query finds is found by every shorter start of it (the list only narrows
// while typing); and any run of a title, typed as it is, finds that title.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdint>
#include <set>
#include <tuple>

#include "search/kana_fold.h"
#include "search/entry_search.h"
#include "fuzz/fuzz_support.h"
#include "platform/unicode.h"

using namespace tavi;

namespace {

// The first character from `offset` on that the search does not drop.
char32_t NextKept(std::string_view text, size_t offset) {
    while (offset < text.size()) {
        const char32_t c = NextCodePoint(text, offset);
        if (c >= 0x20 && !(c >= 0x7F && c <= 0x9F)) return c;
    }
    return 0;
}

std::set<size_t> TitleHits(const EntrySearch& search, std::string_view query) {
    std::set<size_t> found;
    for (const SearchHit& hit : search.Find(query))
        if (hit.tier != MatchTier::FileName) found.insert(hit.candidate);
    return found;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    std::vector<SearchCandidate> candidates;
    const size_t count = input.ConsumeIntegralInRange<size_t>(1, 8);
    for (size_t i = 0; i < count; ++i) {
        SearchCandidate candidate;
        candidate.title = input.ConsumeRandomLengthString(64);
        if (input.ConsumeBool()) candidate.reading = input.ConsumeRandomLengthString(32);
        candidate.fileName = input.ConsumeRandomLengthString(16);
        candidate.place.kind = input.ConsumeBool() ? SearchPlace::Kind::Member : SearchPlace::Kind::Entry;
        candidate.place.entryIndex = input.ConsumeIntegralInRange(0, 3);
        candidate.place.memberSlot = input.ConsumeIntegralInRange(-1, 3);
        candidates.push_back(std::move(candidate));
    }
    const std::string query = input.ConsumeRandomLengthString(300);
    const EntrySearch search(candidates);

    const std::vector<SearchHit> hits = search.Find(query);
    fuzz::Check(hits == search.Find(query), "the same query gives the same hits", query);
    std::set<size_t> seen;
    for (size_t i = 0; i < hits.size(); ++i) {
        fuzz::Check(hits[i].candidate < candidates.size() && seen.insert(hits[i].candidate).second,
                    "each hit is one candidate, once", query);
        if (i == 0) continue;
        const SearchPlace& a = candidates[hits[i - 1].candidate].place;
        const SearchPlace& b = candidates[hits[i].candidate].place;
        fuzz::Check(std::tuple(hits[i - 1].tier, a.kind, a.entryIndex, a.memberSlot, hits[i - 1].candidate) <
                        std::tuple(hits[i].tier, b.kind, b.entryIndex, b.memberSlot, hits[i].candidate),
                    "hits come in order", query);
    }

    // Each shorter start of the query finds what the whole query finds by title.
    const std::set<size_t> whole = TitleHits(search, query);
    for (size_t end = 0; end < query.size() && !whole.empty();) {
        NextCodePoint(query, end);
        // A kana before the voiced mark that joins it is another kana (ｶ, then
        // ｶﾞ), even with control characters between them.
        const char32_t next = FoldForMatch(NextKept(query, end));
        if (next >= 0x3099 && next <= 0x309C) continue;
        if (FoldForSearch(query.substr(0, end)).find_first_not_of(U' ') == std::u32string::npos) continue;
        const std::set<size_t> shorter = TitleHits(search, query.substr(0, end));
        fuzz::Check(std::includes(shorter.begin(), shorter.end(), whole.begin(), whole.end()),
                    "typing on never finds a title a shorter query did not", query.substr(0, end));
    }

    // A run of the folded title, written out again, finds its title.
    const size_t which = input.ConsumeIntegralInRange<size_t>(0, candidates.size() - 1);
    const std::u32string title = FoldForSearch(candidates[which].title).substr(0, EntrySearch::kTitleLimit);
    if (title.empty()) return 0;
    const size_t from = input.ConsumeIntegralInRange<size_t>(0, title.size() - 1);
    const size_t length = input.ConsumeIntegralInRange<size_t>(1, EntrySearch::kQueryLimit);
    std::string run;
    for (const char32_t c : title.substr(from, length)) AppendUtf8(run, c);
    if (FoldForSearch(run).find_first_not_of(U' ') == std::u32string::npos) return 0;
    fuzz::Check(TitleHits(search, run).count(which) == 1, "a run of a title finds it", run);
    return 0;
}
