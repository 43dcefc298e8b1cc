#include <gtest/gtest.h>

#include <optional>

#include "bar/entry_search.h"

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
        // Small kana typed alone, a pair typed kana by kana.
        {"ファイル", "fairu", kStart}, {"ファイル", "fuxairu", kStart}, {"ファイル", "fulairu", kStart},
        {"きょう", "kixyou", kStart}, {"きょう", "kiyou", kNone},
        // Small っ.
        {"がっこう", "gakkou", kStart}, {"がっこう", "gaxtukou", kStart}, {"がっこう", "galtsukou", kStart},
        {"がっこう", "gakou", kNone}, {"ざっし", "zasshi", kStart}, {"ざっし", "zassi", kStart},
        {"マッチ", "matchi", kStart}, {"マッチ", "macchi", kStart}, {"マッチ", "matti", kStart},
        {"ホップ", "hoppu", kStart}, {"ホップ", "hokpu", kNone},
        // ん: alone only before a consonant or at the end.
        {"かんい", "kan'i", kStart}, {"かんい", "kanni", kStart}, {"かんい", "kani", kNone},
        {"きんようび", "kinyoubi", kNone}, {"きんようび", "kinnyoubi", kStart},
        {"こんにちは", "konnichiha", kStart}, {"こんにちは", "konnnichiha", kStart},
        {"ほん", "hon", kStart}, {"ほん", "honn", kStart}, {"ほん", "honnn", kNone},
        {"しんぶん", "shimbun", kStart}, {"てんぷら", "tempura", kStart}, {"かんじ", "kamji", kNone},
        {"かんじ", "kam", kNone}, {"さくらヶおか", "sakuragaoka", kStart},
        // The last kana typed in part.
        {"めも", "mem", kStart}, {"めか", "mem", kNone}, {"しゃしん", "sh", kStart},
        {"しゃしん", "shas", kStart}, {"きょう", "ky", kStart}, {"かんい", "kan", kStart},
        {"がっこう", "gak", kStart}, {"ホップ", "hok", kNone}, {"マッチ", "matc", kStart},
        // Latin letters in the title as themselves; a match from any kana.
        {"Excelファイル", "excelfairu", kStart}, {"Excelファイル", "fairu", kWord},
        {"メモ帳", "memo", kStart}, {"メモ帳", "memocho", kNone}, {"ファイル", "iru", kInside},
        // Width, case and kana folding, on either side.
        {"ﾒﾓ", "memo", kStart}, {"ｶﾞｲﾄﾞ", "gaido", kStart}, {"カ\u3099イド", "gaido", kStart},
        {"メモ", "ＭＥＭＯ", kStart}, {"メモ帳", "めも", kStart}, {"めも", "ﾒﾓ", kStart},
        {"ガイド", "ｶﾞｲ", kStart}, {"Ｎｏｔｅｐａｄ", "NOTEPAD", kStart}, {"My　Notepad", "my note", kStart},
        // Blank, control characters and very long queries.
        {"メモ", "", kNone}, {"メモ", " \t　", kNone}, {"メモ", "\x01me\x7fmo", kStart},
        {"メモ", "  memo  ", kStart},
    };
    for (const TypingCase& c : cases)
        EXPECT_EQ(TierOf(c.title, c.query), c.expected) << c.title << " typed as " << c.query;
}

TEST(EntrySearch, LongQueriesAndTitlesEndQuickly) {
    std::string manyN;
    for (int i = 0; i < 300; ++i) manyN += "ン";
    // Every ン can be n or nn: the walks must meet, not multiply.
    EXPECT_EQ(TierOf(manyN, std::string(5000, 'n')), kStart);
    EXPECT_EQ(TierOf(manyN, std::string(5000, 'n') + "a"), kStart) << "cut to the first characters";
    EXPECT_EQ(TierOf("メモ", std::string(5000, 'x')), kNone);
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
