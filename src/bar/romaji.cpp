#include "bar/romaji.h"

#include <algorithm>
#include <unordered_map>

namespace tavi {
namespace {

// Every way of typing a kana or a pair of kana, Hepburn first. A pair (キャ)
// is also typed kana by kana (ki + xya), so only the pair's own spellings
// are listed. ン and ッ depend on what follows and are handled apart.
struct KanaRow {
    std::u16string_view kana;
    std::string_view spellings;  // separated by spaces
};
constexpr KanaRow kRows[] = {
    {u"ア", "a"}, {u"イ", "i"}, {u"ウ", "u"}, {u"エ", "e"}, {u"オ", "o"},
    {u"カ", "ka ca"}, {u"キ", "ki"}, {u"ク", "ku cu qu"}, {u"ケ", "ke"}, {u"コ", "ko co"},
    {u"サ", "sa"}, {u"シ", "shi si ci"}, {u"ス", "su"}, {u"セ", "se ce"}, {u"ソ", "so"},
    {u"タ", "ta"}, {u"チ", "chi ti"}, {u"ツ", "tsu tu"}, {u"テ", "te"}, {u"ト", "to"},
    {u"ナ", "na"}, {u"ニ", "ni"}, {u"ヌ", "nu"}, {u"ネ", "ne"}, {u"ノ", "no"},
    {u"ハ", "ha"}, {u"ヒ", "hi"}, {u"フ", "fu hu"}, {u"ヘ", "he"}, {u"ホ", "ho"},
    {u"マ", "ma"}, {u"ミ", "mi"}, {u"ム", "mu"}, {u"メ", "me"}, {u"モ", "mo"},
    {u"ヤ", "ya"}, {u"ユ", "yu"}, {u"ヨ", "yo"},
    {u"ラ", "ra"}, {u"リ", "ri"}, {u"ル", "ru"}, {u"レ", "re"}, {u"ロ", "ro"},
    {u"ワ", "wa"}, {u"ヰ", "wi i"}, {u"ヱ", "we e"}, {u"ヲ", "wo o"},
    {u"ガ", "ga"}, {u"ギ", "gi"}, {u"グ", "gu"}, {u"ゲ", "ge"}, {u"ゴ", "go"},
    {u"ザ", "za"}, {u"ジ", "ji zi"}, {u"ズ", "zu"}, {u"ゼ", "ze"}, {u"ゾ", "zo"},
    {u"ダ", "da"}, {u"ヂ", "ji di zi"}, {u"ヅ", "zu du"}, {u"デ", "de"}, {u"ド", "do"},
    {u"バ", "ba"}, {u"ビ", "bi"}, {u"ブ", "bu"}, {u"ベ", "be"}, {u"ボ", "bo"},
    {u"パ", "pa"}, {u"ピ", "pi"}, {u"プ", "pu"}, {u"ペ", "pe"}, {u"ポ", "po"},
    {u"ヴ", "vu"}, {u"ー", "-"},
    {u"ァ", "xa la"}, {u"ィ", "xi li"}, {u"ゥ", "xu lu"}, {u"ェ", "xe le"}, {u"ォ", "xo lo"},
    {u"ャ", "xya lya"}, {u"ュ", "xyu lyu"}, {u"ョ", "xyo lyo"}, {u"ヮ", "xwa lwa"},
    // Also read in counters and place names: 3ヶ月, 霞ヶ関.
    {u"ヵ", "xka lka ka"}, {u"ヶ", "xke lke ke ka ga"},
    {u"キャ", "kya"}, {u"キュ", "kyu"}, {u"キョ", "kyo"}, {u"キェ", "kye"},
    {u"ギャ", "gya"}, {u"ギュ", "gyu"}, {u"ギョ", "gyo"}, {u"ギェ", "gye"},
    {u"シャ", "sha sya"}, {u"シュ", "shu syu"}, {u"ショ", "sho syo"}, {u"シェ", "she sye"},
    {u"ジャ", "ja zya jya"}, {u"ジュ", "ju zyu jyu"}, {u"ジョ", "jo zyo jyo"}, {u"ジェ", "je zye jye"},
    {u"チャ", "cha tya cya"}, {u"チュ", "chu tyu cyu"}, {u"チョ", "cho tyo cyo"}, {u"チェ", "che tye cye"},
    {u"ヂャ", "ja dya zya"}, {u"ヂュ", "ju dyu zyu"}, {u"ヂョ", "jo dyo zyo"},
    {u"ニャ", "nya"}, {u"ニュ", "nyu"}, {u"ニョ", "nyo"}, {u"ニェ", "nye"},
    {u"ヒャ", "hya"}, {u"ヒュ", "hyu"}, {u"ヒョ", "hyo"}, {u"ヒェ", "hye"},
    {u"ビャ", "bya"}, {u"ビュ", "byu"}, {u"ビョ", "byo"}, {u"ビェ", "bye"},
    {u"ピャ", "pya"}, {u"ピュ", "pyu"}, {u"ピョ", "pyo"}, {u"ピェ", "pye"},
    {u"ミャ", "mya"}, {u"ミュ", "myu"}, {u"ミョ", "myo"}, {u"ミェ", "mye"},
    {u"リャ", "rya"}, {u"リュ", "ryu"}, {u"リョ", "ryo"}, {u"リェ", "rye"},
    {u"ファ", "fa"}, {u"フィ", "fi"}, {u"フェ", "fe"}, {u"フォ", "fo"}, {u"フュ", "fyu"},
    {u"ヴァ", "va"}, {u"ヴィ", "vi"}, {u"ヴェ", "ve"}, {u"ヴォ", "vo"}, {u"ヴュ", "vyu"},
    {u"ティ", "ti thi"}, {u"ディ", "di dhi"}, {u"テュ", "tyu thu"}, {u"デュ", "dyu dhu"},
    {u"トゥ", "tu twu"}, {u"ドゥ", "du dwu"},
    {u"ウィ", "wi"}, {u"ウェ", "we"}, {u"ウォ", "wo"}, {u"イェ", "ye"},
    {u"ツァ", "tsa"}, {u"ツィ", "tsi"}, {u"ツェ", "tse"}, {u"ツォ", "tso"},
    {u"クァ", "kwa qa"}, {u"グァ", "gwa"},
};

constexpr char32_t kSmallTsu = U'ッ', kSyllabicN = U'ン';
constexpr std::string_view kSmallTsuSpellings[] = {"xtu", "ltu", "xtsu", "ltsu"};
constexpr std::string_view kSyllabicNSpellings[] = {"nn", "n'", "xn"};

// Bits of the letters that can begin typing a position: a..z, "-", "'",
// and one more for "a spelling begins with ch" (what ッ typed as t needs).
constexpr uint32_t kDashBit = 1u << 26, kQuoteBit = 1u << 27, kChBit = 1u << 28;
constexpr uint32_t LetterBit(char32_t c) {
    if (c >= 'a' && c <= 'z') return 1u << (c - 'a');
    if (c == '-') return kDashBit;
    if (c == '\'') return kQuoteBit;
    return 0;
}
constexpr uint32_t LettersOf(std::string_view letters) {
    uint32_t bits = 0;
    for (const char c : letters) bits |= LetterBit(static_cast<unsigned char>(c));
    return bits;
}
constexpr uint32_t kAllLetters = (1u << 26) - 1;
// What cannot follow ン typed as a single n: "na" or "nya" would be read.
constexpr uint32_t kNotAfterN = LettersOf("aiueoy'");
// What ッ doubles: consonants; "nn" is ン.
constexpr uint32_t kDoubled = kAllLetters & ~LettersOf("aiueon");

// What the next spelling must begin with.
constexpr uint8_t kNeedAny = 0, kNeedConsonant = 1, kNeedCh = 2, kNeedLabial = 3;  // or a letter 'a'..'z' itself
constexpr uint32_t kLabials = LettersOf("bmp");

bool Satisfies(uint8_t need, char32_t first, char32_t second) {
    switch (need) {
        case kNeedAny: return true;
        case kNeedConsonant: return (LetterBit(first) & kNotAfterN) == 0;
        case kNeedCh: return first == 'c' && second == 'h';
        case kNeedLabial: return (LetterBit(first) & kLabials) != 0;
        default: return first == need;
    }
}

using SpellingTable = std::unordered_map<uint32_t, std::vector<std::string_view>>;

uint32_t KeyOf(char32_t first, char32_t second = 0) { return first | (second << 16); }

const SpellingTable& Spellings() {
    static const SpellingTable table = [] {
        SpellingTable built;
        for (const KanaRow& row : kRows) {
            const uint32_t key = KeyOf(row.kana[0], row.kana.size() > 1 ? row.kana[1] : 0);
            std::string_view rest = row.spellings;
            while (!rest.empty()) {
                const size_t space = std::min(rest.find(' '), rest.size());
                built[key].push_back(rest.substr(0, space));
                rest.remove_prefix(std::min(space + 1, rest.size()));
            }
        }
        return built;
    }();
    return table;
}

const std::vector<std::string_view>* Lookup(const SpellingTable& table, uint32_t key) {
    const auto found = table.find(key);
    return found == table.end() ? nullptr : &found->second;
}

}  // namespace

// A walk in progress: inside a spelling of position `pos` (`spelling`,
// `offset` letters typed), or between positions at `pos` (spelling kBetween)
// with what the next spelling must begin with.
struct TypedText::State {
    static constexpr uint8_t kBetween = 0xFF;
    uint32_t pos = 0;
    uint8_t spelling = kBetween;
    uint8_t offset = 0;
    uint8_t need = kNeedAny;
    uint8_t weight = 0;

    uint64_t Key() const {
        return (uint64_t{pos} << 24) | (uint64_t{spelling} << 16) | (uint64_t{offset} << 8) | need;
    }
};

TypedQuery::TypedQuery(std::u32string folded) : text(std::move(folded)) {
    for (const char32_t c : text)
        if (c < 128) ascii.set(c);
}

TypedText::TypedText(std::u32string folded) : text_(std::move(folded)) {
    const SpellingTable& table = Spellings();
    const size_t n = text_.size();
    std::vector<uint8_t> count(n);
    begins_.assign(n + 1, 0);
    // From the end, so that ン and ッ know what follows them.
    for (size_t i = n; i-- > 0;) {
        const char32_t c = text_[i];
        const size_t before = spellings_.size();
        const uint32_t next = begins_[i + 1];
        if (c == kSyllabicN) {
            for (const std::string_view s : kSyllabicNSpellings) spellings_.push_back({s, 1, Kind::Letters});
            spellings_.push_back({"n", 1, Kind::NAlone});
            // Hepburn as signs and passports write it: shimbun, tempura.
            if (next & kLabials) spellings_.push_back({"m", 1, Kind::MBeforeLabial});
        } else if (c == kSmallTsu) {
            for (const std::string_view s : kSmallTsuSpellings) spellings_.push_back({s, 1, Kind::Letters});
            if (next & kDoubled) spellings_.push_back({{}, 1, Kind::Double});
            if (next & kChBit) spellings_.push_back({"t", 1, Kind::DoubleCh});
        } else {
            if (i + 1 < n && c < 0x10000 && text_[i + 1] < 0x10000)
                if (const auto* pair = Lookup(table, KeyOf(c, text_[i + 1])))
                    for (const std::string_view s : *pair) spellings_.push_back({s, 2, Kind::Letters});
            if (c < 0x10000)
                if (const auto* single = Lookup(table, KeyOf(c)))
                    for (const std::string_view s : *single) spellings_.push_back({s, 1, Kind::Letters});
        }
        count[i] = static_cast<uint8_t>(spellings_.size() - before);
        uint32_t begins = count[i] == 0 ? LetterBit(c) : 0;
        if (c < 128) typeable_.set(c);
        for (size_t k = before; k < spellings_.size(); ++k) {
            const std::string_view letters = spellings_[k].letters;
            if (letters.empty()) {
                begins |= next & kDoubled;  // ッ doubles what the next position begins with
                continue;
            }
            begins |= LetterBit(static_cast<unsigned char>(letters[0]));
            if (letters.starts_with("ch")) begins |= kChBit;
            for (const char l : letters) typeable_.set(static_cast<unsigned char>(l));
        }
        begins_[i] = begins;
    }
    // Filled from the end: turned round, each position's spellings follow the one before.
    std::reverse(spellings_.begin(), spellings_.end());
    first_.assign(n + 1, 0);
    for (size_t i = 0; i < n; ++i) first_[i + 1] = first_[i] + count[i];
}

// What the spelling after a one-letter rule must begin with.
uint8_t TypedText::NeedAfter(Kind kind) {
    switch (kind) {
        case Kind::NAlone: return kNeedConsonant;
        case Kind::MBeforeLabial: return kNeedLabial;
        case Kind::DoubleCh: return kNeedCh;
        default: return kNeedAny;
    }
}

// Begins typing position `pos` with the query character `c`.
void TypedText::Enter(std::vector<State>& out, uint32_t pos, uint8_t need, char32_t c, uint8_t weight) const {
    if (pos >= text_.size()) return;
    if (text_[pos] == c && Satisfies(need, c, 0)) out.push_back({pos + 1, State::kBetween, 0, kNeedAny, weight});
    const uint32_t bit = LetterBit(c);
    if ((begins_[pos] & bit) == 0) return;
    for (uint32_t i = first_[pos]; i < first_[pos + 1]; ++i) {
        const Spelling& s = spellings_[i];
        const auto index = static_cast<uint8_t>(i - first_[pos]);
        switch (s.kind) {
            case Kind::Letters:
                if (static_cast<unsigned char>(s.letters[0]) != c ||
                    !Satisfies(need, c, s.letters.size() > 1 ? static_cast<unsigned char>(s.letters[1]) : 0))
                    break;
                if (s.letters.size() == 1)
                    out.push_back({pos + s.span, State::kBetween, 0, kNeedAny, weight});
                else
                    out.push_back({pos, index, 1, kNeedAny, weight});
                break;
            case Kind::NAlone:
            case Kind::MBeforeLabial:
            case Kind::DoubleCh:
                if (c == static_cast<unsigned char>(s.letters[0]) && Satisfies(need, c, 0))
                    out.push_back({pos + 1, State::kBetween, 0, NeedAfter(s.kind), weight});
                break;
            case Kind::Double:
                if ((bit & kDoubled) && (begins_[pos + 1] & bit) && Satisfies(need, c, 0))
                    out.push_back({pos + 1, State::kBetween, 0, static_cast<uint8_t>(c), weight});
                break;
        }
    }
}

void TypedText::Step(std::vector<State>& out, const State& state, char32_t c) const {
    if (state.spelling == State::kBetween) {
        Enter(out, state.pos, state.need, c, state.weight);
        return;
    }
    const Spelling& s = spellings_[first_[state.pos] + state.spelling];
    if (static_cast<unsigned char>(s.letters[state.offset]) != c) return;
    if (state.offset + 1u == s.letters.size())
        out.push_back({state.pos + s.span, State::kBetween, 0, kNeedAny, state.weight});
    else
        out.push_back({state.pos, state.spelling, static_cast<uint8_t>(state.offset + 1), kNeedAny, state.weight});
}

uint8_t TypedText::BestStart(const TypedQuery& query, std::span<const uint8_t> startWeight) const {
    if (query.text.empty() || text_.empty() || startWeight.size() < text_.size()) return kNoMatch;
    if ((query.ascii & ~typeable_).any()) return kNoMatch;
    // Kept between calls: one search walks thousands of texts.
    thread_local std::vector<State> states, next;
    states.clear();
    const char32_t first = query.text[0];
    const uint32_t firstBit = LetterBit(first);
    for (uint32_t pos = 0; pos < text_.size(); ++pos)
        if ((firstBit && (begins_[pos] & firstBit)) || text_[pos] == first)
            Enter(states, pos, kNeedAny, first, startWeight[pos]);
    for (size_t q = 1; q < query.text.size() && !states.empty(); ++q) {
        next.clear();
        for (const State& state : states) Step(next, state, query.text[q]);
        // Walks that meet go on as one, with the better start.
        std::sort(next.begin(), next.end(), [](const State& a, const State& b) {
            return a.Key() != b.Key() ? a.Key() < b.Key() : a.weight < b.weight;
        });
        next.erase(std::unique(next.begin(), next.end(),
                               [](const State& a, const State& b) { return a.Key() == b.Key(); }),
                   next.end());
        states.swap(next);
    }
    uint8_t best = kNoMatch;
    for (const State& state : states) best = std::min(best, state.weight);
    return best;
}

}  // namespace tavi
