// How use orders the entry search: the uses counted per PC, what they weigh
// as they age, and what the file beside the lists may hold.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <optional>
#include <utility>

#include "fakes/fakes.h"
#include "search/entry_search.h"
#include "search/use_counts.h"

using namespace tavi;

namespace {

constexpr const char* kPcFile = "C:\\Tavi\\TaviMenu2.DESK1.pc";
constexpr int64_t kDay = 24 * 60;

// The fake clock `days` before its own now.
void DaysAgo(fakes::FakeClock& clock, double days) {
    clock.now = {2026, 12, 8, 20, static_cast<int>(-days * kDay), 0};
}

}  // namespace

TEST(UseCounts, EqualMatchesByUseButABetterMatchFirst) {
    using Kind = SearchPlace::Kind;
    // Four entries a search for "memo" finds: 0..2 begin with it, 3 only holds it.
    const std::vector<SearchCandidate> bar = {
        {"メモ帳", "", "notepad", {Kind::Entry, 0}},
        {"めもりー", "", "mem", {Kind::Entry, 1}},
        {"メモ", "", "memo", {Kind::Member, 1, 0}},
        {"ﾃｷｽﾄﾒﾓ", "", "text", {Kind::Entry, 2}},
    };
    const char* paths[] = {"C:\\notepad.exe", "C:\\mem.exe", "C:\\memo.exe", "C:\\text.exe"};
    struct Start {
        size_t candidate;
        double daysAgo;
    };
    const struct {
        const char* name;
        std::vector<Start> starts;
        std::vector<size_t> order;  // of "memo"'s hits
    } cases[] = {
        {"never used: entries before members, by place", {}, {0, 1, 2, 3}},
        {"one start puts it above the unused", {{1, 0}}, {1, 0, 2, 3}},
        {"a member too", {{2, 3}}, {2, 0, 1, 3}},
        {"more starts weigh more", {{0, 1}, {1, 1}, {1, 1}}, {1, 0, 2, 3}},
        {"a title that only holds the query stays below, however used",
         {{3, 0}, {3, 0}, {3, 0}, {3, 0}, {3, 0}, {3, 0}, {3, 0}, {3, 0}, {3, 0}, {3, 0}, {1, 200}},
         {1, 0, 2, 3}},
        // Three starts 30 days ago weigh 3 * 2^(-30/14) = 0.68: below one today.
        {"old use fades", {{0, 30}, {0, 30}, {0, 30}, {1, 0}}, {1, 0, 2, 3}},
        // Three starts 10 days ago weigh 3 * 2^(-10/14) = 1.83: above one today.
        {"but not at once", {{0, 10}, {0, 10}, {0, 10}, {1, 0}}, {0, 1, 2, 3}},
        {"a start in the clock's future counts as now", {{2, -5}, {1, 0}, {1, 0}}, {1, 2, 0, 3}},
    };
    for (const auto& c : cases) {
        fakes::MemoryFileSystem files;
        fakes::FakeClock clock;
        UseCounts uses(files, clock);
        uses.Load(kPcFile);
        for (const Start& start : c.starts) {
            DaysAgo(clock, start.daysAgo);
            uses.Started(paths[start.candidate], "");
        }
        DaysAgo(clock, 0);
        std::vector<SearchCandidate> ranked = bar;
        for (size_t i = 0; i < ranked.size(); ++i) ranked[i].uses = uses.ScoreOf(UseKey(paths[i], ""));
        std::vector<size_t> order;
        for (const SearchHit& hit : EntrySearch(ranked).Find("memo")) order.push_back(hit.candidate);
        EXPECT_EQ(order, c.order) << c.name;
        // Read again from its file, the order is the same.
        UseCounts again(files, clock);
        again.Load(kPcFile);
        for (size_t i = 0; i < ranked.size(); ++i)
            EXPECT_NEAR(again.ScoreOf(UseKey(paths[i], "")), ranked[i].uses, 1e-6) << c.name << " after a restart";
    }
}

TEST(UseCounts, AStartHalvesEveryTwoWeeksAndKeysFollowWhatStarts) {
    fakes::MemoryFileSystem files;
    fakes::FakeClock clock;
    UseCounts uses(files, clock);
    uses.Load(kPcFile);
    DaysAgo(clock, 28);
    uses.Started("C:\\Tools\\App.exe", "/x");
    uses.Started("C:\\Tools\\App.exe", "/x");
    DaysAgo(clock, 0);
    EXPECT_NEAR(uses.ScoreOf(UseKey("C:\\Tools\\App.exe", "/x")), 0.5, 1e-9);
    // As Windows compares paths; other parameters start something else.
    EXPECT_NEAR(uses.ScoreOf(UseKey(" \"c:/tools/APP.EXE\" ", " /x")), 0.5, 1e-9);
    EXPECT_EQ(uses.ScoreOf(UseKey("C:\\Tools\\App.exe", "/y")), 0);
    uses.Started("   ", "");
    EXPECT_EQ(files.files.at(kPcFile).find("\t\t"), std::string::npos) << "a blank path counts nothing";

    // What the lists no longer start goes; the rest stays.
    uses.Started("C:\\Other.exe", "");
    uses.KeepOnly({UseKey("C:\\Other.exe", "")});
    EXPECT_EQ(uses.ScoreOf(UseKey("C:\\Tools\\App.exe", "/x")), 0);
    EXPECT_EQ(uses.ScoreOf(UseKey("C:\\Other.exe", "")), 1);
    UseCounts again(files, clock);
    again.Load(kPcFile);
    EXPECT_EQ(again.ScoreOf(UseKey("C:\\Tools\\App.exe", "/x")), 0) << "gone from the file too";
    EXPECT_TRUE(again.Clear());
    EXPECT_EQ(files.files.at(kPcFile), "TaviMenu2 pc 1\r\n[Uses]\r\n");
}

TEST(UseCounts, TheFileNamesThePc) {
    const std::pair<const char*, const char*> cases[] = {
        {"DESK1", "C:\\Tavi\\TaviMenu2.DESK1.pc"},
        {"", "C:\\Tavi\\TaviMenu2.PC.pc"},
        {"a\\b/c:d*e?f\"g<h>i|j", "C:\\Tavi\\TaviMenu2.abcdefghij.pc"},
        {" 事務所の PC. ", "C:\\Tavi\\TaviMenu2.事務所の PC.pc"},
        {"\x01\x7f..", "C:\\Tavi\\TaviMenu2.PC.pc"},
    };
    for (const auto& [name, path] : cases) EXPECT_EQ(PcFilePath("C:\\Tavi", name), path) << name;
}

TEST(UseCounts, AFileThatCannotBeReadIsNeverWrittenOver) {
    const std::string good = "TaviMenu2 pc 1\r\n[Uses]\r\n29920000\t2\tc:\\memo.exe\t\r\n";
    const struct {
        const char* name;
        std::optional<std::string> bytes;  // none: no file
        bool held;
        bool readable;
        double memoScore;  // at the clock's now, 29920000 + some minutes
    } cases[] = {
        {"missing: a first run", std::nullopt, false, true, 0},
        {"ours", good, false, true, 1},
        {"held by another program", good, true, false, 0},
        {"garbage", std::string("\x89PNG\r\n\x1a\n\0\0", 10), false, false, 0},
        {"empty", std::string(), false, false, 0},
        {"a later version", "TaviMenu2 pc 2\r\n[Uses]\r\n29920000\t2\tc:\\memo.exe\t\r\n", false, false, 0},
        {"too large", good + std::string(UseCounts::kFileLimit, '#'), false, false, 0},
        {"without CR",  "TaviMenu2 pc 1\n[Uses]\n29920000\t2\tc:\\memo.exe\t\n", false, true, 1},
        {"bad lines dropped, good ones kept",
         "TaviMenu2 pc 1\r\n[Uses]\r\nx\t1\tc:\\a.exe\t\r\n1\tnan\tc:\\b.exe\t\r\n1\t-1\tc:\\c.exe\t\r\n"
         "1\t1e300\tc:\\d.exe\t\r\n-5\t1\tc:\\e.exe\t\r\n1\t1\t\t\r\n1\t1\r\n29920000\t2\tc:\\memo.exe\t\r\n",
         false, true, 1},
    };
    for (const auto& c : cases) {
        fakes::MemoryFileSystem files;
        fakes::FakeClock clock;
        // Two weeks after the minute in the file: its score of 2 weighs 1.
        clock.now = {2026, 12, 8, 0, 0, 0};
        const int64_t now = LocalMinute(clock.now);
        if (c.bytes) {
            std::string bytes = *c.bytes;
            const std::string stamp = "29920000";
            for (size_t at = bytes.find(stamp); at != std::string::npos; at = bytes.find(stamp, at + 1))
                bytes.replace(at, stamp.size(), std::to_string(now - UseCounts::kHalfLife));
            files.files[kPcFile] = bytes;
        }
        if (c.held) files.unreadable.push_back(kPcFile);
        const auto before = files.files;
        UseCounts uses(files, clock);
        uses.Load(kPcFile);
        EXPECT_EQ(uses.Readable(), c.readable) << c.name;
        EXPECT_NEAR(uses.ScoreOf(UseKey("C:\\memo.exe", "")), c.memoScore, 1e-9) << c.name;
        uses.Started("C:\\memo.exe", "");
        EXPECT_NEAR(uses.ScoreOf(UseKey("C:\\memo.exe", "")), c.memoScore + 1, 1e-9) << c.name << ": counted for now";
        EXPECT_EQ(uses.Clear(), c.readable) << c.name;
        if (!c.readable) {
            EXPECT_EQ(files.files, before) << c.name << ": left as it was";
            continue;
        }
        uses.Started("C:\\memo.exe", "");
        UseCounts again(files, clock);
        again.Load(kPcFile);
        EXPECT_TRUE(again.Readable()) << c.name;
        EXPECT_NEAR(again.ScoreOf(UseKey("C:\\memo.exe", "")), 1, 1e-9) << c.name << ": what was written reads back";
    }
}

TEST(UseCounts, SectionsOfOtherKindsAreKeptAndTheFileStaysSmall) {
    fakes::MemoryFileSystem files;
    fakes::FakeClock clock;
    const std::string minute = std::to_string(LocalMinute(clock.now));
    std::string bytes = "TaviMenu2 pc 1\r\n[Window]\r\nLeft=12\r\n[Uses]\r\n" + minute + "\t3\tc:\\kept.exe\t\r\n";
    for (size_t i = 1; i < UseCounts::kEntryLimit; ++i)
        bytes += minute + "\t1\tc:\\app" + std::to_string(i) + ".exe\t\r\n";
    files.files[kPcFile] = bytes + "[Later]\r\nX=1\r\n";
    UseCounts uses(files, clock);
    uses.Load(kPcFile);
    uses.Started("C:\\new.exe", "");
    const std::string& written = files.files.at(kPcFile);
    EXPECT_EQ(written.rfind("TaviMenu2 pc 1\r\n[Window]\r\nLeft=12\r\n[Later]\r\nX=1\r\n[Uses]\r\n", 0), 0u);
    EXPECT_EQ(static_cast<size_t>(std::count(written.begin(), written.end(), '\n')), 6 + UseCounts::kEntryLimit);
    EXPECT_EQ(uses.ScoreOf(UseKey("C:\\kept.exe", "")), 3) << "the most used stays";
    EXPECT_EQ(uses.ScoreOf(UseKey("C:\\new.exe", "")), 1) << "the start just made stays";
}
