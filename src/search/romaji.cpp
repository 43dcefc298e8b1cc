#include "search/romaji.h"

#include <algorithm>
#include <unordered_map>

#include "search/kana_fold.h"

namespace tavi {
namespace {

// The romaji tables of the common input methods, one row per spelling, with
// the Hepburn and kunrei spellings and those used for loanwords and names.
// A pair (きゃ) is also typed kana by kana (ki + xya), so only the pair's own
// spellings are listed. What depends on the kana around (ッ as a doubled
// consonant, ン as a single n, long vowels) is in TypedText below.
struct RomajiRow {
    std::string_view romaji;
    std::u16string_view kana;  // hiragana or katakana, as it folds
};
constexpr RomajiRow kRows[] = {
    // The first row of a kana gives the vowel it ends in.
    {"a", u"あ"}, {"i", u"い"}, {"yi", u"い"}, {"u", u"う"}, {"wu", u"う"}, {"whu", u"う"}, {"e", u"え"}, {"o", u"お"},
    {"la", u"ぁ"}, {"xa", u"ぁ"}, {"li", u"ぃ"}, {"xi", u"ぃ"}, {"lyi", u"ぃ"}, {"xyi", u"ぃ"},
    {"lu", u"ぅ"}, {"xu", u"ぅ"}, {"le", u"ぇ"}, {"xe", u"ぇ"}, {"lye", u"ぇ"}, {"xye", u"ぇ"}, {"lo", u"ぉ"}, {"xo", u"ぉ"},
    {"ye", u"いぇ"}, {"wha", u"うぁ"}, {"wi", u"うぃ"}, {"whi", u"うぃ"}, {"we", u"うぇ"}, {"whe", u"うぇ"},
    {"who", u"うぉ"}, {"wo", u"うぉ"},

    {"ka", u"か"}, {"ca", u"か"}, {"ki", u"き"}, {"ku", u"く"}, {"cu", u"く"}, {"qu", u"く"},
    {"ke", u"け"}, {"ko", u"こ"}, {"co", u"こ"},
    {"kya", u"きゃ"}, {"kyi", u"きぃ"}, {"kyu", u"きゅ"}, {"kye", u"きぇ"}, {"kyo", u"きょ"},
    {"kwa", u"くぁ"}, {"qa", u"くぁ"}, {"qwa", u"くぁ"}, {"kwi", u"くぃ"}, {"qi", u"くぃ"}, {"qwi", u"くぃ"},
    {"qyi", u"くぃ"}, {"kwu", u"くぅ"}, {"qwu", u"くぅ"}, {"kwe", u"くぇ"}, {"qe", u"くぇ"}, {"qwe", u"くぇ"},
    {"qye", u"くぇ"}, {"kwo", u"くぉ"}, {"qo", u"くぉ"}, {"qwo", u"くぉ"},
    {"qya", u"くゃ"}, {"qyu", u"くゅ"}, {"qyo", u"くょ"},
    // Also read as in counters and place names: 3ヶ月, 霞ヶ関.
    {"lka", u"ヵ"}, {"xka", u"ヵ"}, {"lca", u"ヵ"}, {"xca", u"ヵ"}, {"ka", u"ヵ"},
    {"lke", u"ヶ"}, {"xke", u"ヶ"}, {"ke", u"ヶ"}, {"ka", u"ヶ"}, {"ga", u"ヶ"},

    {"ga", u"が"}, {"gi", u"ぎ"}, {"gu", u"ぐ"}, {"ge", u"げ"}, {"go", u"ご"},
    {"gya", u"ぎゃ"}, {"gyi", u"ぎぃ"}, {"gyu", u"ぎゅ"}, {"gye", u"ぎぇ"}, {"gyo", u"ぎょ"},
    {"gwa", u"ぐぁ"}, {"gwi", u"ぐぃ"}, {"gwu", u"ぐぅ"}, {"gwe", u"ぐぇ"}, {"gwo", u"ぐぉ"},

    {"sa", u"さ"}, {"shi", u"し"}, {"si", u"し"}, {"ci", u"し"}, {"su", u"す"}, {"se", u"せ"}, {"ce", u"せ"},
    {"so", u"そ"},
    {"sha", u"しゃ"}, {"sya", u"しゃ"}, {"shya", u"しゃ"}, {"syi", u"しぃ"}, {"shu", u"しゅ"}, {"syu", u"しゅ"},
    {"shyu", u"しゅ"}, {"she", u"しぇ"}, {"sye", u"しぇ"}, {"shye", u"しぇ"}, {"sho", u"しょ"}, {"syo", u"しょ"},
    {"shyo", u"しょ"},
    {"swa", u"すぁ"}, {"swi", u"すぃ"}, {"swu", u"すぅ"}, {"swe", u"すぇ"}, {"swo", u"すぉ"},

    {"za", u"ざ"}, {"ji", u"じ"}, {"zi", u"じ"}, {"zu", u"ず"}, {"ze", u"ぜ"}, {"zo", u"ぞ"},
    {"ja", u"じゃ"}, {"zya", u"じゃ"}, {"jya", u"じゃ"}, {"zyi", u"じぃ"}, {"jyi", u"じぃ"},
    {"ju", u"じゅ"}, {"zyu", u"じゅ"}, {"jyu", u"じゅ"}, {"je", u"じぇ"}, {"zye", u"じぇ"}, {"jye", u"じぇ"},
    {"jo", u"じょ"}, {"zyo", u"じょ"}, {"jyo", u"じょ"},

    {"ta", u"た"}, {"chi", u"ち"}, {"ti", u"ち"}, {"tsu", u"つ"}, {"tu", u"つ"}, {"te", u"て"}, {"to", u"と"},
    {"cha", u"ちゃ"}, {"tya", u"ちゃ"}, {"cya", u"ちゃ"}, {"chya", u"ちゃ"}, {"tyi", u"ちぃ"}, {"cyi", u"ちぃ"},
    {"chu", u"ちゅ"}, {"tyu", u"ちゅ"}, {"cyu", u"ちゅ"}, {"chyu", u"ちゅ"},
    {"che", u"ちぇ"}, {"tye", u"ちぇ"}, {"cye", u"ちぇ"}, {"chye", u"ちぇ"},
    {"cho", u"ちょ"}, {"tyo", u"ちょ"}, {"cyo", u"ちょ"}, {"chyo", u"ちょ"},
    {"tsa", u"つぁ"}, {"tsi", u"つぃ"}, {"tse", u"つぇ"}, {"tso", u"つぉ"},
    // "ti", "tyu", "tu" as loanwords are often spelt: パーティー, チューブ, トゥー.
    {"tha", u"てゃ"}, {"thi", u"てぃ"}, {"t'i", u"てぃ"}, {"ti", u"てぃ"}, {"thu", u"てゅ"}, {"t'yu", u"てゅ"},
    {"tyu", u"てゅ"}, {"the", u"てぇ"}, {"tho", u"てょ"},
    {"twa", u"とぁ"}, {"twi", u"とぃ"}, {"twu", u"とぅ"}, {"t'u", u"とぅ"}, {"tu", u"とぅ"}, {"twe", u"とぇ"},
    {"two", u"とぉ"},

    {"da", u"だ"}, {"di", u"ぢ"}, {"ji", u"ぢ"}, {"zi", u"ぢ"}, {"du", u"づ"}, {"zu", u"づ"}, {"de", u"で"},
    {"do", u"ど"},
    {"dya", u"ぢゃ"}, {"ja", u"ぢゃ"}, {"zya", u"ぢゃ"}, {"dyi", u"ぢぃ"}, {"dyu", u"ぢゅ"}, {"ju", u"ぢゅ"},
    {"zyu", u"ぢゅ"}, {"dye", u"ぢぇ"}, {"dyo", u"ぢょ"}, {"jo", u"ぢょ"}, {"zyo", u"ぢょ"},
    {"dha", u"でゃ"}, {"dhi", u"でぃ"}, {"d'i", u"でぃ"}, {"di", u"でぃ"}, {"dhu", u"でゅ"}, {"d'yu", u"でゅ"},
    {"dyu", u"でゅ"}, {"dhe", u"でぇ"}, {"dho", u"でょ"},
    {"dwa", u"どぁ"}, {"dwi", u"どぃ"}, {"dwu", u"どぅ"}, {"d'u", u"どぅ"}, {"du", u"どぅ"}, {"dwe", u"どぇ"},
    {"dwo", u"どぉ"},

    {"na", u"な"}, {"ni", u"に"}, {"nu", u"ぬ"}, {"ne", u"ね"}, {"no", u"の"},
    {"nya", u"にゃ"}, {"nyi", u"にぃ"}, {"nyu", u"にゅ"}, {"nye", u"にぇ"}, {"nyo", u"にょ"},

    // は and へ also as the particles are said: こんにちは, へ.
    {"ha", u"は"}, {"wa", u"は"}, {"hi", u"ひ"}, {"fu", u"ふ"}, {"hu", u"ふ"}, {"he", u"へ"}, {"e", u"へ"},
    {"ho", u"ほ"},
    {"hya", u"ひゃ"}, {"hyi", u"ひぃ"}, {"hyu", u"ひゅ"}, {"hye", u"ひぇ"}, {"hyo", u"ひょ"},
    {"fa", u"ふぁ"}, {"fwa", u"ふぁ"}, {"hwa", u"ふぁ"}, {"fi", u"ふぃ"}, {"fwi", u"ふぃ"}, {"fyi", u"ふぃ"},
    {"hwi", u"ふぃ"}, {"fwu", u"ふぅ"}, {"fe", u"ふぇ"}, {"fwe", u"ふぇ"}, {"fye", u"ふぇ"}, {"hwe", u"ふぇ"},
    {"fo", u"ふぉ"}, {"fwo", u"ふぉ"}, {"hwo", u"ふぉ"},
    {"fya", u"ふゃ"}, {"fyu", u"ふゅ"}, {"hwyu", u"ふゅ"}, {"fyo", u"ふょ"},

    {"ba", u"ば"}, {"bi", u"び"}, {"bu", u"ぶ"}, {"be", u"べ"}, {"bo", u"ぼ"},
    {"bya", u"びゃ"}, {"byi", u"びぃ"}, {"byu", u"びゅ"}, {"bye", u"びぇ"}, {"byo", u"びょ"},
    {"vu", u"ヴ"}, {"va", u"ヴぁ"}, {"vi", u"ヴぃ"}, {"vyi", u"ヴぃ"}, {"ve", u"ヴぇ"}, {"vye", u"ヴぇ"},
    {"vo", u"ヴぉ"}, {"vya", u"ヴゃ"}, {"vyu", u"ヴゅ"}, {"vyo", u"ヴょ"},
    {"pa", u"ぱ"}, {"pi", u"ぴ"}, {"pu", u"ぷ"}, {"pe", u"ぺ"}, {"po", u"ぽ"},
    {"pya", u"ぴゃ"}, {"pyi", u"ぴぃ"}, {"pyu", u"ぴゅ"}, {"pye", u"ぴぇ"}, {"pyo", u"ぴょ"},

    {"ma", u"ま"}, {"mi", u"み"}, {"mu", u"む"}, {"me", u"め"}, {"mo", u"も"},
    {"mya", u"みゃ"}, {"myi", u"みぃ"}, {"myu", u"みゅ"}, {"mye", u"みぇ"}, {"myo", u"みょ"},

    {"ya", u"や"}, {"yu", u"ゆ"}, {"yo", u"よ"},
    {"lya", u"ゃ"}, {"xya", u"ゃ"}, {"lyu", u"ゅ"}, {"xyu", u"ゅ"}, {"lyo", u"ょ"}, {"xyo", u"ょ"},

    {"ra", u"ら"}, {"ri", u"り"}, {"ru", u"る"}, {"re", u"れ"}, {"ro", u"ろ"},
    {"rya", u"りゃ"}, {"ryi", u"りぃ"}, {"ryu", u"りゅ"}, {"rye", u"りぇ"}, {"ryo", u"りょ"},

    {"wa", u"わ"}, {"lwa", u"ゎ"}, {"xwa", u"ゎ"}, {"wo", u"を"}, {"o", u"を"},
    {"wyi", u"ゐ"}, {"wi", u"ゐ"}, {"i", u"ゐ"}, {"wye", u"ゑ"}, {"we", u"ゑ"}, {"e", u"ゑ"},

    // ン and ッ typed on their own; a single n and a doubled consonant depend
    // on what follows them.
    {"nn", u"ん"}, {"n'", u"ん"}, {"xn", u"ん"},
    {"xtu", u"っ"}, {"ltu", u"っ"}, {"xtsu", u"っ"}, {"ltsu", u"っ"},
    {"-", u"ー"},
};

constexpr char32_t kSmallTsu = U'ッ', kSyllabicN = U'ン', kLongMark = U'ー';

// Bits of the letters that can begin typing a position: a..z, "-", "'",
// and one more for "a spelling begins with ch" (what ッ typed as t needs).
constexpr uint32_t kDashBit = 1u << 26, kQuoteBit = 1u << 27, kChBit = 1u << 28;
// And one for "may be passed over": a long vowel's second kana.
constexpr uint32_t kSkipBit = 1u << 29;
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

// A long vowel's second kana after a kana ending in `vowel`: とう, おお, スー.
bool LengthensVowel(char vowel, char32_t kana) {
    if (kana == kLongMark) return vowel != 0;
    switch (vowel) {
        case 'a': return kana == U'ア';
        case 'i': return kana == U'イ';
        case 'u': return kana == U'ウ';
        case 'e': return kana == U'エ' || kana == U'イ';
        case 'o': return kana == U'オ' || kana == U'ウ';
        default: return false;
    }
}

constexpr std::string_view kVowelLetters[] = {"a", "i", "u", "e", "o"};
std::string_view VowelLetter(char vowel) { return kVowelLetters[std::string_view("aiueo").find(vowel)]; }

uint32_t KeyOf(char32_t first, char32_t second = 0) { return first | (second << 16); }

struct RomajiTable {
    // By one folded kana or a pair of them, in the order of the rows.
    std::unordered_map<uint32_t, std::vector<std::string_view>> spellings;
    // The vowel a kana ends in, 0 for none (ン, ッ, ー, anything not kana).
    std::unordered_map<char32_t, char> vowels;

    const std::vector<std::string_view>* Find(uint32_t key) const {
        const auto found = spellings.find(key);
        return found == spellings.end() ? nullptr : &found->second;
    }
    char VowelOf(char32_t c) const {
        const auto found = vowels.find(c);
        return found == vowels.end() ? 0 : found->second;
    }
};

const RomajiTable& Table() {
    static const RomajiTable table = [] {
        RomajiTable built;
        for (const RomajiRow& row : kRows) {
            const char32_t first = FoldForMatch(row.kana[0]);
            const char32_t second = row.kana.size() > 1 ? FoldForMatch(row.kana[1]) : 0;
            built.spellings[KeyOf(first, second)].push_back(row.romaji);
            const char last = row.romaji.back();
            if (second == 0 && first != kSmallTsu && first != kSyllabicN && !built.vowels.contains(first))
                built.vowels[first] = std::string_view("aiueo").find(last) != std::string_view::npos ? last : 0;
        }
        return built;
    }();
    return table;
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
    // From Key() << 8 | weight.
    static State Unpack(uint64_t packed) {
        return {static_cast<uint32_t>(packed >> 32), static_cast<uint8_t>(packed >> 24),
                static_cast<uint8_t>(packed >> 16), static_cast<uint8_t>(packed >> 8), static_cast<uint8_t>(packed)};
    }
};

TypedQuery::TypedQuery(std::u32string folded) : text(std::move(folded)) {
    for (const char32_t c : text)
        if (c < 128) ascii.set(c);
}

TypedText::TypedText(std::u32string folded) : text_(std::move(folded)) {
    const RomajiTable& table = Table();
    const size_t n = text_.size();
    // The vowel each position ends in; ー ends in the one it lengthens.
    std::vector<char> vowel(n + 1, 0);
    for (size_t i = 0; i < n; ++i)
        vowel[i] = text_[i] == kLongMark ? (i > 0 ? vowel[i - 1] : 0) : table.VowelOf(text_[i]);
    std::vector<uint8_t> count(n);
    begins_.assign(n + 1, 0);
    // From the end, so that ン and ッ know what follows them.
    for (size_t i = n; i-- > 0;) {
        const char32_t c = text_[i];
        const size_t before = spellings_.size();
        const uint32_t next = begins_[i + 1];
        const auto* single = c < 0x10000 ? table.Find(KeyOf(c)) : nullptr;
        if (i + 1 < n && c < 0x10000 && text_[i + 1] < 0x10000)
            if (const auto* pair = table.Find(KeyOf(c, text_[i + 1])))
                for (const std::string_view s : *pair) spellings_.push_back({s, 2, Kind::Letters});
        if (single)
            for (const std::string_view s : *single) spellings_.push_back({s, 1, Kind::Letters});
        if (c == kSyllabicN) {
            spellings_.push_back({"n", 1, Kind::NAlone});
            // Hepburn as signs and passports write it: shimbun, tempura.
            if (next & kLabials) spellings_.push_back({"m", 1, Kind::MBeforeLabial});
        } else if (c == kSmallTsu) {
            if (next & kDoubled) spellings_.push_back({{}, 1, Kind::Double});
            if (next & kChBit) spellings_.push_back({"t", 1, Kind::DoubleCh});
        }
        bool longVowel = false;
        if (i > 0 && LengthensVowel(vowel[i - 1], c)) {
            // As names and signs write long vowels: tokyo, satoh, ohno, suupaa
            // (the second kana left out, typed as the vowel it lengthens, or
            // as h after o).
            longVowel = true;
            const char v = vowel[i - 1];
            if (c == kLongMark || table.VowelOf(c) != v) spellings_.push_back({VowelLetter(v), 1, Kind::Letters});
            if (v == 'o' && c != kLongMark) spellings_.push_back({"h", 1, Kind::Letters});
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
        if (longVowel) begins |= kSkipBit;
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

// Begins typing position `pos` with the query character `c`; a long vowel's
// second kana may also be passed over once something has been typed.
void TypedText::Enter(std::vector<State>& out, uint32_t pos, uint8_t need, char32_t c, uint8_t weight,
                      bool mayPass) const {
    if (pos >= text_.size()) return;
    if (mayPass && (begins_[pos] & kSkipBit)) Enter(out, pos + 1, need, c, weight, true);
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
        Enter(out, state.pos, state.need, c, state.weight, true);
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
    thread_local std::vector<uint64_t> packed;
    states.clear();
    const char32_t first = query.text[0];
    const uint32_t firstBit = LetterBit(first);
    // A match never begins with a kana passed over.
    for (uint32_t pos = 0; pos < text_.size(); ++pos)
        if ((firstBit && (begins_[pos] & firstBit)) || text_[pos] == first)
            Enter(states, pos, kNeedAny, first, startWeight[pos], false);
    // A text that could be read in very many ways (a long run of ン typed as
    // n after n) costs a bounded walk, and is not found past it.
    size_t steps = states.size();
    for (size_t q = 1; q < query.text.size() && !states.empty(); ++q) {
        next.clear();
        for (const State& state : states) Step(next, state, query.text[q]);
        steps += next.size();
        if (steps > kStepLimit) return kNoMatch;
        // Walks that meet go on as one, with the better start: sorted as
        // plain numbers, each state packed with its weight last.
        packed.clear();
        for (const State& state : next) packed.push_back(state.Key() << 8 | state.weight);
        std::sort(packed.begin(), packed.end());
        states.clear();
        uint64_t last = ~uint64_t{0};
        for (const uint64_t p : packed) {
            if (p >> 8 == last) continue;
            last = p >> 8;
            states.push_back(State::Unpack(p));
        }
    }
    uint8_t best = kNoMatch;
    for (const State& state : states) best = std::min(best, state.weight);
    return best;
}

}  // namespace tavi
