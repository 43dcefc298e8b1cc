#include <gtest/gtest.h>

#include <optional>

#include "platform/unicode.h"
#include "search/entry_search.h"

using namespace tavi;

namespace {

constexpr auto kStart = MatchTier::TitleStart;
constexpr auto kWord = MatchTier::WordStart;
constexpr auto kInside = MatchTier::InTitle;
constexpr auto kFile = MatchTier::FileName;
constexpr std::optional<MatchTier> kNone;

// How `query` finds one entry with this title, reading and file name.
std::optional<MatchTier> TierOf(std::string title, std::string_view query, std::string reading = {},
                                std::string fileName = {}) {
    const EntrySearch search({{std::move(title), std::move(reading), std::move(fileName), {}}});
    const std::vector<SearchHit> hits = search.Find(query);
    if (hits.empty()) return std::nullopt;
    return hits.front().tier;
}

struct TypingCase {
    const char* title;
    const char* query;
    std::optional<MatchTier> expected;
};

}  // namespace

TEST(EntrySearch, RomajiSpellingsAndFolding) {
    const TypingCase cases[] = {
        // Hepburn and kunrei.
        {"しんぶん", "shinbun", kStart}, {"しんぶん", "sinbun", kStart},
        {"ちず", "chizu", kStart}, {"ちず", "tizu", kStart},
        {"つくえ", "tsukue", kStart}, {"つくえ", "tukue", kStart},
        {"ふじ", "fuji", kStart}, {"ふじ", "huzi", kStart},
        {"しゃしん", "shashin", kStart}, {"しゃしん", "syasin", kStart},
        {"ちゃわん", "chawan", kStart}, {"ちゃわん", "tyawan", kStart},
        {"じゃま", "jama", kStart}, {"じゃま", "zyama", kStart}, {"じゃま", "jyama", kStart},
        {"しや", "sya", kNone}, {"しや", "shiya", kStart},
        {"ヲタク", "wotaku", kStart},
        {"ガギグゲゴ", "gagigugego", kStart}, {"ぱぴぷぺぽ", "papipupepo", kStart},
        {"ヴァイオリン", "vaiorin", kStart}, {"パーティー", "pa-thi-", kStart}, {"パーティー", "pa-ti-", kStart},
        // Long vowels as names and signs write them.
        {"とうきょう", "tokyo", kStart}, {"とうきょう", "toukyou", kStart}, {"とうきょう", "tookyoo", kStart},
        {"とうきょう", "tohkyoh", kStart}, {"おおさか", "osaka", kStart}, {"おおさか", "oosaka", kStart},
        {"おおさか", "ohsaka", kStart}, {"いとう", "itoh", kStart}, {"さとう", "satoh", kStart},
        {"さとう", "sato", kStart}, {"おおの", "ohno", kStart}, {"りゅう", "ryuu", kStart}, {"りゅう", "ryu", kStart},
        {"スーパー", "suupaa", kStart}, {"スーパー", "su-pa-", kStart}, {"スーパー", "supa", kStart},
        {"コンピューター", "konpyuutaa", kStart}, {"コンピューター", "konpyuta", kStart},
        {"おかあさん", "okasan", kStart}, {"おにいさん", "onisan", kStart}, {"おねえさん", "onesan", kStart},
        {"せんせい", "sensee", kStart}, {"せんせい", "sensei", kStart}, {"ゆうき", "yuki", kStart},
        // h only after o, and a vowel only for the kana that lengthens it.
        {"すうじ", "suhji", kNone}, {"ああ", "ah", kNone}, {"かい", "kaa", kNone}, {"とうきょう", "tukyo", kNone},
        // は and へ as particles.
        {"こんにちは", "konnichiwa", kStart}, {"こんにちは", "konnichiha", kStart}, {"へや", "heya", kStart},
        {"とうきょうへ", "tokyoe", kStart}, {"はな", "wana", kStart},
        // The input methods' tables.
        {"クォリティ", "qoriti", kStart}, {"クォリティ", "kworiti", kStart}, {"クォリティ", "kuxoriti", kStart},
        {"クァ", "kwa", kStart}, {"クァ", "qa", kStart}, {"クァ", "qwa", kStart}, {"クィ", "qi", kStart},
        {"クィ", "kwi", kStart}, {"クェ", "qe", kStart}, {"クェ", "kwe", kStart}, {"クゥ", "qwu", kStart},
        {"クャ", "qya", kStart}, {"クュ", "qyu", kStart}, {"クョ", "qyo", kStart},
        {"グァ", "gwa", kStart}, {"グィ", "gwi", kStart}, {"グェ", "gwe", kStart}, {"グォ", "gwo", kStart},
        {"テャ", "tha", kStart}, {"ティ", "thi", kStart}, {"ティ", "t'i", kStart}, {"テュ", "thu", kStart},
        {"テェ", "the", kStart}, {"テョ", "tho", kStart},
        {"ディスク", "dhisuku", kStart}, {"ディスク", "d'isuku", kStart}, {"ディスク", "disuku", kStart},
        {"トァ", "twa", kStart}, {"トゥ", "twu", kStart}, {"トゥ", "t'u", kStart}, {"ドゥ", "dwu", kStart},
        {"ドゥ", "d'u", kStart},
        {"フャ", "fya", kStart}, {"フュ", "fyu", kStart}, {"フョ", "fyo", kStart}, {"フィ", "fyi", kStart},
        {"ヴャ", "vya", kStart}, {"ヴュ", "vyu", kStart}, {"ヴョ", "vyo", kStart},
        {"イェール", "ye-ru", kStart}, {"キィ", "kyi", kStart}, {"キェ", "kye", kStart}, {"ヂィ", "dyi", kStart},
        {"ヂェ", "dye", kStart}, {"シィ", "syi", kStart}, {"ピィ", "pyi", kStart},
        {"ウィンドウ", "windou", kStart}, {"ウィンドウ", "whindou", kStart}, {"ウェブ", "webu", kStart},
        {"ゐど", "wido", kStart}, {"ゐど", "wyido", kStart}, {"ゑびす", "webisu", kStart}, {"ゑびす", "wyebisu", kStart},
        {"いぬ", "yinu", kStart}, {"うみ", "wumi", kStart}, {"うみ", "whumi", kStart}, {"ウォッカ", "whokka", kStart},
        {"ァ", "la", kStart}, {"ィ", "xyi", kStart}, {"ェ", "lye", kStart}, {"ャ", "lya", kStart}, {"ョ", "xyo", kStart},
        {"ヮ", "lwa", kStart}, {"ヵ", "lca", kStart}, {"ヵ", "xca", kStart}, {"ヶ", "lke", kStart}, {"ヶ", "xke", kStart},
        {"しゃしん", "shyashin", kStart}, {"ちゃわん", "chyawan", kStart}, {"しゅう", "shyu", kStart},
        {"ちょう", "chyo", kStart},
        // Small kana typed alone, a pair typed kana by kana.
        {"ファイル", "fairu", kStart}, {"ファイル", "fuxairu", kStart}, {"ファイル", "fulairu", kStart},
        {"きょう", "kixyou", kStart}, {"きょう", "kiyou", kNone},
        // Small っ.
        {"がっこう", "gakkou", kStart}, {"がっこう", "gaxtukou", kStart}, {"がっこう", "galtsukou", kStart},
        {"がっこう", "gakou", kNone}, {"がっこう", "gakko", kStart}, {"ざっし", "zasshi", kStart},
        {"ざっし", "zassi", kStart}, {"マッチ", "matchi", kStart}, {"マッチ", "macchi", kStart},
        {"マッチ", "matti", kStart}, {"ホップ", "hoppu", kStart}, {"ホップ", "hokpu", kNone},
        // ん: alone only before a consonant or at the end.
        {"かんい", "kan'i", kStart}, {"かんい", "kanni", kStart}, {"かんい", "kani", kNone},
        {"きんようび", "kinyoubi", kNone}, {"きんようび", "kinnyoubi", kStart},
        {"こんにちは", "konnnichiha", kStart}, {"ほん", "hon", kStart}, {"ほん", "honn", kStart},
        {"ほん", "honnn", kNone}, {"しんぶん", "shimbun", kStart}, {"てんぷら", "tempura", kStart},
        {"かんじ", "kamji", kNone}, {"かんじ", "kam", kNone}, {"さくらヶおか", "sakuragaoka", kStart},
        // The last kana typed in part.
        {"めも", "mem", kStart}, {"めか", "mem", kNone}, {"しゃしん", "sh", kStart},
        {"しゃしん", "shas", kStart}, {"きょう", "ky", kStart}, {"かんい", "kan", kStart},
        {"がっこう", "gak", kStart}, {"ホップ", "hok", kNone}, {"マッチ", "matc", kStart},
        {"クォリティ", "qoriteh", kNone}, {"とうきょう", "tokyoh", kStart},
        // Latin letters in the title as themselves; a match from any kana.
        {"Excelファイル", "excelfairu", kStart}, {"Excelファイル", "fairu", kWord},
        {"メモ帳", "memo", kStart}, {"メモ帳", "memocho", kNone}, {"ファイル", "iru", kInside},
        // A title that opens with a space, brackets or marks begins after them.
        {" メモ", "memo", kStart}, {"「メモ」", "memo", kStart}, {"【New】メモ", "new", kStart},
        {"【New】メモ", "memo", kWord}, {"・メモ", "memo", kStart}, {"＜メモ＞", "memo", kStart},
        {"「メモ」", "「memo", kStart}, {"「メモ」", "mo", kInside},
        // Width, case and kana folding, on either side.
        {"ﾒﾓ", "memo", kStart}, {"ｶﾞｲﾄﾞ", "gaido", kStart}, {"カ\u3099イド", "gaido", kStart},
        {"メモ", "ＭＥＭＯ", kStart}, {"メモ帳", "めも", kStart}, {"めも", "ﾒﾓ", kStart},
        {"ガイド", "ｶﾞｲ", kStart}, {"Ｎｏｔｅｐａｄ", "NOTEPAD", kStart}, {"My　Notepad", "my note", kStart},
        {"ﾄｰｷｮｰ", "ＴＯＫＹＯ", kStart},
        // Blank, control characters and very long queries.
        {"メモ", "", kNone}, {"メモ", " \t　", kNone}, {"メモ", "\x01me\x7fmo", kStart},
        {"メモ", "  memo  ", kStart},
    };
    for (const TypingCase& c : cases) {
        EXPECT_EQ(TierOf(c.title, c.query), c.expected) << c.title << " typed as " << c.query;
        if (!c.expected) continue;
        // Every start of what finds a title finds it too, as well or better:
        // the list only narrows while the user types.
        const std::string query = c.query;
        for (size_t length = 1; length < query.size(); ++length) {
            if ((static_cast<unsigned char>(query[length]) & 0xC0) == 0x80) continue;  // inside a character
            size_t next = length;
            const char32_t following = NextCodePoint(query, next);
            if (following == 0xFF9E || following == 0xFF9F || (following >= 0x3099 && following <= 0x309C))
                continue;  // ｶ before its ﾞ is another kana
            const std::optional<MatchTier> tier = TierOf(c.title, query.substr(0, length));
            if (query.substr(0, length).find_first_not_of(" \t\x01\x7f") == std::string::npos) continue;
            EXPECT_TRUE(tier && *tier <= *c.expected) << c.title << " typed as the start " << query.substr(0, length);
        }
    }
}

TEST(EntrySearch, LongQueriesAndTitlesEndQuickly) {
    const auto repeat = [](std::string_view text, int times) {
        std::string out;
        for (int i = 0; i < times; ++i) out += text;
        return out;
    };
    // Every ン can be n or nn: the walks must meet, not multiply.
    EXPECT_EQ(TierOf(repeat("ン", 40), std::string(60, 'n')), kStart);
    EXPECT_EQ(TierOf(repeat("ン", 40), std::string(81, 'n')), kNone) << "more than nn for each";
    // A text read in that many ways costs a bounded walk, and is not found past it.
    EXPECT_EQ(TierOf(repeat("ン", 1024), std::string(5000, 'n')), kNone);
    // A long title of everyday kana is walked to its end within the bound.
    EXPECT_EQ(TierOf(repeat("あいうえお", 200) + "とうきょう", "tokyo"), kInside);
    EXPECT_EQ(TierOf(repeat("あいうえお", 200) + "とうきょう", repeat("aiueo", 10)), kStart);
    EXPECT_EQ(TierOf("メモ", std::string(5000, 'x')), kNone);
    EXPECT_EQ(TierOf("メモ", "memo" + std::string(5000, 'o')), kNone) << "cut to the first characters, still no match";
}

TEST(EntrySearch, FileNamesOfPaths) {
    const std::pair<const char*, const char*> cases[] = {
        {"C:\\Tools\\notepad.exe", "notepad"}, {"C:/Tools/a.b.txt", "a.b"},
        {" [Games] ", ""},                      {"C:\\Users\\me\\Documents\\", "Documents"},
        {"\"C:\\x y\\app.exe\"", "app"},         {"D:\\.config", ".config"},
        {"C:\\", "C:"},                         {"C:\\dir.v2\\run", "run"},
    };
    for (const auto& [path, name] : cases) EXPECT_EQ(SearchFileName(path), name) << path;
}

TEST(EntrySearch, RankingAndTies) {
    using Kind = SearchPlace::Kind;
    const EntrySearch search({
        {"Notepad", "", "notepad", {Kind::Entry, 5}},                // 0
        {"My Notepad", "", "mynote", {Kind::Entry, 2}},              // 1
        {"Supernotepad", "", "super", {Kind::Entry, 1}},             // 2
        {"Notepad", "", "notepad", {Kind::Member, 0, 3}},            // 3
        {"Notepad", "", "notepad", {Kind::Member, 0, 1}},            // 4
        {"Editor", "", "notepad2", {Kind::Entry, 9}},                // 5
        {"メモ帳", "めもちょう", "notepad", {Kind::Entry, 3}},        // 6
        {"すごいソフト", "", "", {Kind::Entry, 7}},                  // 7
        {"Notepad", "", "notepad", {Kind::Entry, 5}},                // 8: the same place twice
        {"日本語メモ", "", "", {Kind::Member, 4, 0}},                // 9
    });
    using Hits = std::vector<SearchHit>;
    const std::pair<const char*, Hits> cases[] = {
        {"notepad",
         {{0, kStart}, {8, kStart}, {4, kStart}, {3, kStart}, {1, kWord}, {2, kInside}, {6, kFile}, {5, kFile}}},
        {"memo", {{6, kStart}, {9, kWord}}},
        {"memocho", {{6, kStart}}},
        {"sofuto", {{7, kWord}}},
        {"ソフト", {{7, kWord}}},
        {"pad3", {}},
        {"2", {{5, kFile}}},
    };
    for (const auto& [query, expected] : cases) {
        EXPECT_EQ(search.Find(query), expected) << query;
        EXPECT_EQ(search.Find(query), search.Find(query)) << query;
    }
}
