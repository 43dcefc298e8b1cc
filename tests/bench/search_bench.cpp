// What one keystroke in the entry search costs: every entry of a full bar
// and every member of its groups walked for the query typed so far.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>
#include <vector>

#include "search/entry_search.h"

using namespace tavi;

namespace {

// Titles as a Japanese user's bar holds them: katakana and hiragana words,
// kanji (no reading), English program names, mixed and numbered.
constexpr const char* kWords[] = {
    "メモ帳",   "ﾒﾓ",       "かくにん",   "カレンダー", "ファイル",   "フォルダ",   "ペイント",  "ｴｸｾﾙ",
    "ワード",   "しゃしん", "ミュージック", "ゲーム",     "ツール",     "設定",       "電卓",      "日記",
    "Notepad",  "Excel",    "Word",       "Paint",      "Calculator", "Terminal",   "Browser",   "Mail",
    "Visual",   "Studio",   "Photo",      "Editor",     "Viewer",     "Player",     "Backup",    "Sync",
    "マッチ",   "がっこう", "きょうかしょ", "しんぶん",   "プログラム", "テキスト",   "エディタ",  "ビューア",
};
constexpr const char* kFiles[] = {"notepad", "excel", "winword", "mspaint", "calc", "wt", "chrome", "outlook",
                                  "code", "devenv", "photos", "edit", "view", "play", "backup", "sync"};

struct Words {
    uint32_t seed = 12345;
    explicit Words(uint32_t start = 12345) : seed(start) {}
    uint32_t Next(uint32_t below) {
        seed = seed * 1664525u + 1013904223u;
        return (seed >> 8) % below;
    }
    std::string Title() {
        std::string title = kWords[Next(std::size(kWords))];
        if (Next(2)) title += std::string(Next(3) ? " " : "") + kWords[Next(std::size(kWords))];
        if (Next(4) == 0) title += " " + std::to_string(Next(2030));
        return title;
    }
    std::string Path() {
        return "C:\\Program Files\\Vendor" + std::to_string(Next(50)) + "\\" + kFiles[Next(std::size(kFiles))] +
               std::to_string(Next(100)) + ".exe";
    }
};

// 1000 entries, every tenth a group of 10 members.
std::vector<SearchCandidate> FullBar() {
    Words words;
    std::vector<SearchCandidate> candidates;
    for (int entry = 0; entry < 1000; ++entry) {
        const bool group = entry % 10 == 0;
        const std::string title = words.Title();
        candidates.push_back({title, "", group ? "" : SearchFileName(words.Path()), {SearchPlace::Kind::Entry, entry}});
        if (!group) continue;
        for (int slot = 0; slot < 10; ++slot)
            candidates.push_back(
                {words.Title(), "", SearchFileName(words.Path()), {SearchPlace::Kind::Member, entry, slot}});
    }
    return candidates;
}

// The same bar after months of use: most entries and members started now
// and then, a few every day.
std::vector<SearchCandidate> UsedBar() {
    std::vector<SearchCandidate> candidates = FullBar();
    Words words{777};
    for (SearchCandidate& candidate : candidates)
        if (words.Next(4) != 0) candidate.uses = words.Next(10) == 0 ? 5.0 + words.Next(40) : words.Next(1000) / 997.0;
    return candidates;
}

void Keystrokes(benchmark::State& state, const EntrySearch& search, const char* query) {
    size_t hits = 0;
    for (auto _ : state) {
        const std::vector<SearchHit> found = search.Find(query);
        hits = found.size();
        benchmark::DoNotOptimize(found.data());
    }
    state.counters["hits"] = static_cast<double>(hits);
}

void SearchKeystroke(benchmark::State& state, const char* query) { Keystrokes(state, EntrySearch(FullBar()), query); }
BENCHMARK_CAPTURE(SearchKeystroke, m, "m")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(SearchKeystroke, me, "me")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(SearchKeystroke, memo, "memo")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(SearchKeystroke, notepad, "notepad")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(SearchKeystroke, kak, "kak")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(SearchKeystroke, n, "n")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(SearchKeystroke, kana_query, "ふぁいる")->Unit(benchmark::kMicrosecond);

void SearchKeystrokeWithUses(benchmark::State& state, const char* query) {
    Keystrokes(state, EntrySearch(UsedBar()), query);
}
BENCHMARK_CAPTURE(SearchKeystrokeWithUses, m, "m")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(SearchKeystrokeWithUses, memo, "memo")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(SearchKeystrokeWithUses, peinto, "peinto")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(SearchKeystrokeWithUses, n, "n")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(SearchKeystrokeWithUses, kana_query, "ふぁいる")->Unit(benchmark::kMicrosecond);

// The worst title there is: 1024 ン, each typed as n or nn, walked for 256
// n's. The walk stops at its step limit.
void SearchWorstTitle(benchmark::State& state) {
    std::string title;
    for (size_t i = 0; i < EntrySearch::kTitleLimit; ++i) title += "ン";
    const EntrySearch search({{title, "", "", {}}});
    const std::string query(EntrySearch::kQueryLimit, 'n');
    for (auto _ : state) benchmark::DoNotOptimize(search.Find(query).size());
}
BENCHMARK(SearchWorstTitle)->Unit(benchmark::kMillisecond);

// Done once when the box opens and again whenever the lists change.
void PrepareFullBar(benchmark::State& state) {
    const std::vector<SearchCandidate> candidates = FullBar();
    for (auto _ : state) {
        EntrySearch search(candidates);
        benchmark::DoNotOptimize(&search);
    }
}
BENCHMARK(PrepareFullBar)->Unit(benchmark::kMicrosecond);

}  // namespace
