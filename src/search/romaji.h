#pragma once
#include <bitset>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// Kana typed in Latin letters, as the entry search matches them: every
// spelling of the common input methods' romaji tables (shi/si, sha/sya/shya,
// qa/kwa, thi/t'i, small kana with x or l ...), small ッ as a doubled
// consonant (tch for ッチ), ン as n, nn or n' (n alone only where no vowel or
// y follows), and the last kana typed only in part. As names and signs are
// written, ン is also m before b, m or p (shimbun), a long vowel's second
// kana may be left out or typed as its vowel (tokyo, tookyoo for とうきょう),
// "h" after o types う or お (satoh, ohno), ー is typed as "-" or as the vowel
// it lengthens, は also as "wa" and へ as "e".
namespace tavi {

// A query as the matcher walks it: folded text (see FoldForSearch) and the
// ASCII characters it holds, so a text that cannot type one is passed over.
struct TypedQuery {
    std::u32string text;
    std::bitset<128> ascii;

    explicit TypedQuery(std::u32string folded = {});
};

// Folded text (katakana, lower-case ASCII) prepared once so that every query
// walks it without spelling it out: each position knows the romaji that type
// the kana beginning there.
class TypedText {
public:
    static constexpr uint8_t kNoMatch = 0xFF;
    // Walk states one text may cost a query; past it the text is not found.
    static constexpr size_t kStepLimit = 32768;

    TypedText() = default;
    explicit TypedText(std::u32string folded);

    const std::u32string& Text() const { return text_; }

    // The lowest `startWeight[i]` over the positions i from which `query`
    // types a run of the text, or kNoMatch. Kana are typed in romaji or as
    // themselves, everything else as itself; the query may end inside the
    // spelling of a kana ("mem" types めも). `startWeight` has one weight per
    // character of the text, below kNoMatch.
    uint8_t BestStart(const TypedQuery& query, std::span<const uint8_t> startWeight) const;

private:
    enum class Kind : uint8_t { Letters, NAlone, MBeforeLabial, Double, DoubleCh };
    struct Spelling {
        std::string_view letters;  // empty for Double, whose letter is what follows
        uint8_t span = 1;          // characters of the text it types
        Kind kind = Kind::Letters;
    };
    struct State;

    // Spellings of position i: spellings_[first_[i] .. first_[i + 1]).
    std::u32string text_;
    std::vector<Spelling> spellings_;
    std::vector<uint32_t> first_;
    // Per position: which letters can begin typing it (see romaji.cpp).
    std::vector<uint32_t> begins_;
    std::bitset<128> typeable_;

    static uint8_t NeedAfter(Kind kind);
    void Enter(std::vector<State>& out, uint32_t pos, uint8_t need, char32_t c, uint8_t weight, bool mayPass) const;
    void Step(std::vector<State>& out, const State& state, char32_t c) const;
};

}  // namespace tavi
