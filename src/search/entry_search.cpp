#include "search/entry_search.h"

#include <algorithm>
#include <tuple>

#include "app/entry_store.h"
#include "platform/text.h"
#include "search/kana_fold.h"
#include "platform/unicode.h"

namespace tavi {
namespace {

// What a word start is judged by: a space or punctuation before it, or a
// change of script ("Excelファイル", "メモ帳").
enum class Script : uint8_t { Separator, Latin, Hiragana, Katakana, Han, Other, SameAsBefore };

bool IsControl(char32_t c) { return c < 0x20 || (c >= 0x7F && c <= 0x9F); }
bool IsVoicedMark(char32_t c) { return c >= 0x3099 && c <= 0x309C; }

Script ScriptOf(char32_t original, char32_t folded) {
    if (folded < 0x80) {
        const bool alnum = (folded >= 'a' && folded <= 'z') || (folded >= '0' && folded <= '9');
        return alnum ? Script::Latin : Script::Separator;
    }
    // ー and the iteration marks belong to the word they lengthen or repeat.
    if (folded == 0x30FC || folded == 0x30FD || folded == 0x30FE || IsVoicedMark(folded)) return Script::SameAsBefore;
    if (folded == 0x3005 || folded == 0x3006 || folded == 0x3007) return Script::Han;  // 々〆〇
    if ((folded >= 0xA0 && folded <= 0xBF) || folded == 0xD7 || folded == 0xF7 || (folded >= 0x2000 && folded <= 0x2BFF) ||
        (folded >= 0x3000 && folded <= 0x303F) || folded == 0x30FB || (folded >= 0xFE30 && folded <= 0xFE4F))
        return Script::Separator;
    if (folded <= 0x24F) return Script::Latin;
    if (original >= 0x3041 && original <= 0x309F) return Script::Hiragana;
    if ((folded >= 0x30A0 && folded <= 0x30FF) || (folded >= 0x31F0 && folded <= 0x31FF)) return Script::Katakana;
    if ((folded >= 0x3400 && folded <= 0x4DBF) || (folded >= 0x4E00 && folded <= 0x9FFF) ||
        (folded >= 0xF900 && folded <= 0xFAFF) || (folded >= 0x20000 && folded <= 0x3FFFF))
        return Script::Han;
    return Script::Other;
}

// Folds `utf8` into `out`, and when `scripts` is given, the script of each
// folded character from what was written (hiragana and katakana differ).
void Fold(std::string_view utf8, size_t limit, std::u32string& out, std::vector<Script>* scripts) {
    size_t offset = 0;
    while (offset < utf8.size() && out.size() < limit) {
        const char32_t c = NextCodePoint(utf8, offset);
        if (IsControl(c)) continue;
        char32_t folded = FoldForMatch(c);
        if (folded == 0x3000) folded = ' ';
        if (IsVoicedMark(folded) && !out.empty()) {
            const char32_t joined = JoinVoicedMark(out.back(), folded);
            if (joined != out.back()) {
                out.back() = joined;
                continue;
            }
        }
        out.push_back(folded);
        if (scripts) {
            const Script script = ScriptOf(c, folded);
            if (script != Script::SameAsBefore) scripts->push_back(script);
            else scripts->push_back(scripts->empty() ? Script::Other : scripts->back());
        }
    }
}

struct FoldedTitle {
    std::u32string text;
    std::vector<uint8_t> startWeight;  // a MatchTier per character
};

FoldedTitle FoldTitle(std::string_view utf8) {
    std::u32string folded;
    std::vector<Script> scripts;
    Fold(utf8, EntrySearch::kTitleLimit, folded, &scripts);
    std::vector<uint8_t> weight(folded.size(), static_cast<uint8_t>(MatchTier::InTitle));
    // A title that opens with spaces, brackets or marks (「メモ」, 【新】, ・メモ)
    // begins with what follows them.
    size_t begin = 0;
    while (begin + 1 < folded.size() && scripts[begin] == Script::Separator) ++begin;
    for (size_t i = 0; i <= begin && i < folded.size(); ++i) weight[i] = static_cast<uint8_t>(MatchTier::TitleStart);
    for (size_t i = begin + 1; i < folded.size(); ++i)
        if (scripts[i] != Script::Separator && scripts[i] != scripts[i - 1])
            weight[i] = static_cast<uint8_t>(MatchTier::WordStart);
    return {std::move(folded), std::move(weight)};
}

}  // namespace

std::string SearchFileName(std::string_view path) {
    std::string name = TrimSpaces(path);
    if (IsGroupPath(name)) return {};
    name = std::string(Unquoted(name));
    std::replace(name.begin(), name.end(), '/', '\\');
    // A folder ends with "\": its own name, not the empty part after it.
    while (name.size() > 1 && name.back() == '\\') name.pop_back();
    name = GetFileName(name);
    const size_t dot = name.rfind('.');
    if (dot != std::string::npos && dot > 0) name.erase(dot);
    return name;
}

std::u32string FoldForSearch(std::string_view utf8) {
    std::u32string out;
    Fold(utf8, utf8.size(), out, nullptr);
    return out;
}

EntrySearch::EntrySearch(std::vector<SearchCandidate> candidates) : candidates_(std::move(candidates)) {
    prepared_.reserve(candidates_.size());
    for (const SearchCandidate& candidate : candidates_) {
        std::u32string fileName;
        Fold(candidate.fileName, kTitleLimit, fileName, nullptr);
        FoldedTitle title = FoldTitle(candidate.title), reading = FoldTitle(candidate.reading);
        prepared_.push_back({{TypedText(std::move(title.text)), std::move(title.startWeight)},
                             {TypedText(std::move(reading.text)), std::move(reading.startWeight)},
                             std::move(fileName)});
    }
}

std::vector<SearchHit> EntrySearch::Find(std::string_view query) const {
    std::u32string folded = FoldForSearch(query);
    const size_t first = folded.find_first_not_of(U' ');
    if (first == std::u32string::npos) return {};
    folded = folded.substr(first, folded.find_last_not_of(U' ') - first + 1).substr(0, kQueryLimit);
    const TypedQuery typed(std::move(folded));

    std::vector<SearchHit> hits;
    for (size_t i = 0; i < prepared_.size(); ++i) {
        const Prepared& p = prepared_[i];
        const uint8_t best = std::min(p.title.text.BestStart(typed, p.title.startWeight),
                                      p.reading.text.BestStart(typed, p.reading.startWeight));
        if (best != TypedText::kNoMatch)
            hits.push_back({i, static_cast<MatchTier>(best)});
        else if (p.fileName.find(typed.text) != std::u32string::npos)
            hits.push_back({i, MatchTier::FileName});
    }
    const auto order = [this](const SearchHit& hit) {
        const SearchPlace& place = candidates_[hit.candidate].place;
        // Equal matches: the more used first.
        return std::tuple(hit.tier, -candidates_[hit.candidate].uses, place.kind, place.entryIndex, place.memberSlot,
                          hit.candidate);
    };
    std::sort(hits.begin(), hits.end(), [&order](const SearchHit& a, const SearchHit& b) { return order(a) < order(b); });
    return hits;
}

}  // namespace tavi
