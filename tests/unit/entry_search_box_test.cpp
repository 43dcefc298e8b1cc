// The entry search box as the core runs it: a bar of five buttons a page,
//
//   page 1: 0 メモ帳   1 (free)   2 Tools [group]   3 設定   4 Excel
//   page 2: 5 Notepad
//
// and the group's members ペイント, 電卓 and an untitled one. Results follow
// the text, the keys move the selection, and Enter acts only on what the
// lists still hold.
#include <gtest/gtest.h>

#include <map>

#include "app/launcher.h"
#include "dialogs/entry_search_box.h"
#include "fakes/bar_services_fake.h"
#include "fakes/fakes.h"

using namespace tavi;
using Action = SearchChoice::Action;

namespace {

class FakeReadings final : public PhoneticReadings {
public:
    bool available = true;
    std::map<std::string, std::string> readings;
    std::vector<std::string> asked;
    bool Available() override { return available; }
    std::string ReadingOf(const std::string& text) override {
        asked.push_back(text);
        const auto found = readings.find(text);
        return found == readings.end() ? std::string() : found->second;
    }
};

const LaunchEntry kMemo{"メモ帳", "C:\\Windows\\notepad.exe", "", "0", "C:\\Windows\\notepad.exe", "0"};
const LaunchEntry kTools{"", "[Tools]", "", "0", "", "0"};
const LaunchEntry kSettings{"設定", "C:\\Tools\\control.exe", "", "0", "C:\\Tools\\control.exe", "0"};
const LaunchEntry kExcel{"Excel", "C:\\Office\\excel.exe", "/e", "2", "C:\\Office\\excel.exe", "0"};
const LaunchEntry kNotepad{"Notepad", "D:\\Apps\\np.exe", "", "0", "D:\\Apps\\np.exe", "0"};
const ExMenuEntry kPaint{"ペイント", "C:\\Windows\\mspaint.exe", "-p", "0"};
const ExMenuEntry kCalc{"電卓", "C:\\Windows\\calc.exe", "", "1"};
const ExMenuEntry kUntitled{"", "C:\\Tools\\memotool.exe", "", "0"};

class EntrySearchBoxTest : public ::testing::Test {
protected:
    fakes::FakePlatform fake;
    MenuMain state;
    ReadingCache cache;
    std::vector<std::string> log;
    fakes::FakeBarServices bar{log};
    std::vector<int> groupsOpened;

    void SetUp() override {
        state.ApplicationPath = "C:\\Tavi";
        state.entries.SetExMenuMax(3);
        state.page.SetVisibleCount(5);
        fakes::GiveEntries(state, fake.platform, {kMemo, {}, kTools, kSettings, kExcel, kNotepad});
        ExMenuSlots members = EmptyExMenu(3);
        members[0] = kPaint;
        members[1] = kCalc;
        members[3] = kUntitled;
        EXPECT_TRUE(SaveExMenu(fake.profile, "C:\\Tavi", 2, members, 3));
    }
    std::vector<std::string> Titles(const EntrySearchBox& box) {
        std::vector<std::string> titles;
        for (size_t i = 0; i < box.Count(); ++i) titles.push_back(box.Row(i).title + " @" + box.Row(i).where);
        return titles;
    }
    void CarryOut(const SearchChoice& choice) {
        CarryOutSearchChoice(choice, {state, fake.platform, bar, [this](int position) { groupsOpened.push_back(position); }});
    }
};

}  // namespace

TEST_F(EntrySearchBoxTest, TheResultsFollowTheTextWithWhereEachIs) {
    EntrySearchBox box(state, fake.platform, cache);
    const struct {
        const char* query;
        std::vector<std::string> titles;
    } cases[] = {
        {"memo", {"メモ帳 @1ﾍﾟｰｼﾞの1番目", "memotool.exe @ｸﾞﾙｰﾌﾟ「Tools」"}},  // romaji, then the untitled member's file
        {"ﾒﾓ", {"メモ帳 @1ﾍﾟｰｼﾞの1番目"}},
        {"notepad", {"Notepad @2ﾍﾟｰｼﾞの1番目", "メモ帳 @1ﾍﾟｰｼﾞの1番目"}},  // a title first, then a file name
        {"peinto", {"ペイント @ｸﾞﾙｰﾌﾟ「Tools」"}},
        {"tools", {"Tools @1ﾍﾟｰｼﾞの3番目"}},  // an untitled group by the name in its brackets
        {"", {}},
        {"   ", {}},
        {"\x01\x02", {}},
        {"zzz", {}},
    };
    for (const auto& c : cases) {
        box.SetQuery(c.query);
        EXPECT_EQ(Titles(box), c.titles) << c.query;
        EXPECT_EQ(box.Selected(), -1) << c.query;
    }
    box.SetQuery(std::string(100000, 'm'));  // thousands of characters: cut, and nothing found
    EXPECT_EQ(box.Count(), 0u);
    EXPECT_EQ(fake.files.replaceCalls, 1) << "searching writes nothing (the one write made the list)";
}

TEST_F(EntrySearchBoxTest, KeysMoveTheSelectionAndEnterEscapeAndShiftEnterChoose) {
    const auto O = Action::None;
    const struct {
        const char* query;
        std::vector<SearchKey> keys;  // all but the last only move
        bool shift;
        int pageRows;
        int selected;       // after the keys
        Action action;      // of the last key
        const char* title;  // of the chosen row
    } cases[] = {
        // "e": Excel at its start, Notepad and the member ペイント ("peento") inside, メモ帳 and
        // the untitled member by their files.
        {"e", {SearchKey::Enter}, false, 3, -1, Action::Start, "Excel"},  // nothing selected: the first
        {"e", {SearchKey::Down, SearchKey::Down, SearchKey::Enter}, false, 3, 1, Action::Start, "Notepad"},
        {"e", {SearchKey::Down, SearchKey::Up, SearchKey::Up}, false, 3, 0, O, ""},
        {"e", {SearchKey::PageDown}, false, 3, 2, O, ""},
        {"e", {SearchKey::PageDown, SearchKey::PageDown, SearchKey::PageDown}, false, 3, 4, O, ""},  // stops at the last
        {"e", {SearchKey::PageDown, SearchKey::PageDown, SearchKey::PageUp}, false, 3, 1, O, ""},
        {"e", {SearchKey::Down, SearchKey::Down, SearchKey::Down, SearchKey::Down, SearchKey::Enter}, false, 3, 3,
         Action::Start, "メモ帳"},
        {"e", {SearchKey::Down, SearchKey::Enter}, true, 3, 0, Action::OpenFolder, "Excel"},
        {"e", {SearchKey::Escape}, false, 3, -1, Action::Close, ""},
        {"zzz", {SearchKey::Down, SearchKey::Enter}, false, 3, -1, O, ""},  // nothing to choose
    };
    for (const auto& c : cases) {
        EntrySearchBox box(state, fake.platform, cache);
        box.SetQuery(c.query);
        SearchChoice choice;
        for (SearchKey key : c.keys) choice = box.Key(key, c.shift, c.pageRows);
        const std::string what = std::string(c.query) + " with " + std::to_string(c.keys.size()) + " keys";
        EXPECT_EQ(box.Selected(), c.selected) << what;
        EXPECT_EQ(choice.action, c.action) << what;
        EXPECT_EQ(choice.row.title, c.title) << what;
    }
}

TEST_F(EntrySearchBoxTest, ListsChangingUnderTheBoxAreShownAndWhatIsGoneNeverStarts) {
    EntrySearchBox box(state, fake.platform, cache);
    box.SetQuery("excel");
    ASSERT_EQ(box.Count(), 1u);
    // Moved to another page: the same entry starts there.
    ASSERT_TRUE(state.entries.Change([](ListEdit& edit) { edit.Move(4, 7); }));
    SearchChoice choice = box.Key(SearchKey::Enter);
    EXPECT_EQ(choice.action, Action::Start);
    EXPECT_EQ(choice.row.place.entryIndex, 7);
    EXPECT_EQ(choice.row.where, "2ﾍﾟｰｼﾞの3番目");

    // Deleted, then another entry put in its place: nothing starts, the box shows the lists as they are.
    box.Key(SearchKey::Down);
    fakes::PutEntry(state, 7, {"Excel", "C:\\Other\\excel.exe", "", "0", "C:\\Other\\excel.exe", "0"});
    choice = box.Key(SearchKey::Enter);
    EXPECT_EQ(choice.action, Action::None);
    ASSERT_EQ(box.Count(), 1u);
    EXPECT_EQ(box.Row(0).entry.PathName, "C:\\Other\\excel.exe");
    EXPECT_EQ(box.Selected(), -1);

    // Undone: the list read back is a change too.
    ASSERT_TRUE(state.entries.Undo());
    EXPECT_TRUE(box.Refresh());
    EXPECT_EQ(box.Row(0).entry.PathName, "C:\\Office\\excel.exe");
    EXPECT_FALSE(box.Refresh()) << "read once per change";

    // A member deleted from its group while its row is selected.
    box.SetQuery("dentaku");
    EXPECT_EQ(Titles(box), std::vector<std::string>{});  // kanji without a reading: not by romaji
    box.SetQuery("calc");
    box.Key(SearchKey::Down);
    ASSERT_TRUE(state.entries.Change([](ListEdit& edit) { edit.ClearMembers(2); }));
    EXPECT_EQ(box.Key(SearchKey::Enter).action, Action::None);
    EXPECT_EQ(box.Count(), 0u);
}

TEST_F(EntrySearchBoxTest, AnEmptyOrUnreadListFindsNothing) {
    MenuMain empty;
    empty.ApplicationPath = "C:\\Empty";
    fakes::GiveEntries(empty, fake.platform, {});
    EntrySearchBox box(empty, fake.platform, cache);
    box.SetQuery("a");
    EXPECT_EQ(box.Count(), 0u);
    EXPECT_EQ(box.Key(SearchKey::Enter).action, Action::None);
    EXPECT_EQ(box.Key(SearchKey::PageDown, false, 0).action, Action::None);
}

TEST_F(EntrySearchBoxTest, KanjiTitlesAreReadByTheInputMethodOnceAndKeptBesideTheLists) {
    FakeReadings readings;
    readings.readings = {{"設定", "せってい"}, {"電卓", "でんたく"}};  // メモ帳 has no answer
    {
        EntrySearchBox box(state, fake.platform, cache);
        box.SetQuery("settei");
        EXPECT_EQ(box.Count(), 0u);
        EXPECT_TRUE(box.AskReadings(readings, 2)) << "two asked, one left";
        EXPECT_FALSE(box.AskReadings(readings, 5));
        EXPECT_EQ(readings.asked, (std::vector<std::string>{"メモ帳", "電卓", "設定"})) << "titles with kanji, each once, in list order";
        EXPECT_EQ(Titles(box), std::vector<std::string>{"設定 @1ﾍﾟｰｼﾞの4番目"}) << "the results follow the answers";
        box.SetQuery("dentaku");
        EXPECT_EQ(Titles(box), std::vector<std::string>{"電卓 @ｸﾞﾙｰﾌﾟ「Tools」"});
        box.SaveReadings();
    }
    EXPECT_EQ(fake.files.files["C:\\Tavi\\TaviMenu2.yomi"],
              "TaviMenu2 yomi 1\r\n\tメモ帳\r\nせってい\t設定\r\nでんたく\t電卓\r\n");

    // The next start reads the file and asks nothing; without an input method nothing is asked or written.
    ReadingCache again;
    again.Load(fake.files, "C:\\Tavi\\TaviMenu2.yomi");
    readings.asked.clear();
    EntrySearchBox box(state, fake.platform, again);
    box.SetQuery("sette");
    EXPECT_EQ(box.Count(), 1u);
    EXPECT_FALSE(box.AskReadings(readings, 5));
    EXPECT_TRUE(readings.asked.empty());

    FakeReadings none;
    none.available = false;
    ReadingCache fresh;
    EntrySearchBox without(state, fake.platform, fresh);
    const int writes = fake.files.replaceCalls;
    EXPECT_FALSE(without.AskReadings(none, 5));
    without.SaveReadings();
    EXPECT_TRUE(none.asked.empty());
    EXPECT_EQ(fake.files.replaceCalls, writes);
}

TEST(ReadingCache, AForeignOrDamagedFileIsReadAsFarAsItIsOurs) {
    fakes::MemoryFileSystem files;
    const struct {
        const char* bytes;
        const char* title;
        const char* reading;
    } cases[] = {
        {"TaviMenu2 yomi 1\r\nかな\t仮名\r\n", "仮名", "かな"},
        {"TaviMenu2 yomi 1\nかな\t仮\t名\n", "仮\t名", "かな"},  // a title with a tab: split at the first
        {"TaviMenu2 yomi 1\r\n\t仮名\r\n", "仮名", ""},             // asked, no answer
        {"TaviMenu2 yomi 2\r\nかな\t仮名\r\n", "仮名", ""},         // a later form: not read
        {"かな\t仮名\r\n", "仮名", ""},
        {"TaviMenu2 yomi 1\r\nno tab here\r\nか\x01な\t仮名", "仮名", "かな"},
    };
    for (const auto& c : cases) {
        files.files["y"] = c.bytes;
        ReadingCache cache;
        cache.Load(files, "y");
        EXPECT_EQ(cache.ReadingOf(c.title), c.reading) << c.bytes;
    }
    // A file of more readings than any bar shows: the first are kept, and the memory stays bounded.
    std::string many = "TaviMenu2 yomi 1\r\n";
    for (size_t i = 0; i <= ReadingCache::kMostReadings; ++i) many += "よみ\t題" + std::to_string(i) + "\r\n";
    files.files["y"] = many;
    ReadingCache large;
    large.Load(files, "y");
    EXPECT_EQ(large.ReadingOf("題0"), "よみ");
    EXPECT_EQ(large.ReadingOf("題" + std::to_string(ReadingCache::kMostReadings)), "");

    ReadingCache cache;
    cache.Add("仮名", "か\nな");
    cache.Add("Excel", "えくせる");
    EXPECT_TRUE(cache.Save(files, "y", {"Excel", "仮名", "仮名"}));
    EXPECT_EQ(files.files["y"], "TaviMenu2 yomi 1\r\nえくせる\tExcel\r\nかな\t仮名\r\n");
    EXPECT_TRUE(cache.Save(files, "y", {}));
    EXPECT_EQ(files.files["y"], "TaviMenu2 yomi 1\r\nえくせる\tExcel\r\nかな\t仮名\r\n") << "nothing new, nothing written";
    files.failWrites = true;
    cache.Add("漢", "かん");
    EXPECT_FALSE(cache.Save(files, "y", {"漢"}));
    EXPECT_TRUE(cache.Dirty()) << "kept for the next save";
}

TEST_F(EntrySearchBoxTest, AChoiceIsCarriedOutAsTheBarAndTheGroupBoxWould) {
    fakes::PutEntry(state, 7, {"More", "[More]", "", "0", "", "0"});
    const struct {
        const char* query;
        Action action;
        std::vector<std::string> log;
        const char* opened;  // file|parameters|folder of the shell call, or ""
        int offset;          // the bar's page after it
    } cases[] = {
        {"excel", Action::Start, {}, "C:\\Office\\excel.exe|/e|C:\\Office", 0},
        {"peinto", Action::Start, {}, "C:\\Windows\\mspaint.exe|-p|C:\\Windows", 0},
        {"more", Action::Start, {"bar refresh", "bar show"}, "", 5},  // a group on the second page
        {"tools", Action::Start, {"bar refresh", "bar show"}, "", 0},  // and back to the first
        {"tools", Action::Start, {"bar show"}, "", 0},                 // already shown there
        {"excel", Action::OpenFolder, {}, "C:\\WINDOWS\\explorer.exe|C:\\Office|C:\\Tavi", 0},
        {"peinto", Action::OpenFolder, {}, "C:\\WINDOWS\\explorer.exe|C:\\Windows|C:\\Tavi", 0},
        {"excel", Action::Close, {}, "", 0},
    };
    for (const auto& c : cases) {
        EntrySearchBox box(state, fake.platform, cache);
        box.SetQuery(c.query);
        const SearchChoice choice{c.action, box.Key(SearchKey::Enter).row};
        log.clear();
        fake.shell.opened.clear();
        CarryOut(choice);
        EXPECT_EQ(log, c.log) << c.query;
        const std::string opened = fake.shell.opened.empty() ? "" : fake.shell.opened[0].file + "|" +
                                                                   fake.shell.opened[0].parameters + "|" +
                                                                   fake.shell.opened[0].directory;
        EXPECT_EQ(opened, c.opened) << c.query;
        EXPECT_EQ(state.page.Offset(), c.offset) << c.query;
    }
    EXPECT_EQ(groupsOpened, (std::vector<int>{2, 2, 2})) << "each group's box at its button on the page shown";
}

TEST_F(EntrySearchBoxTest, AMemberThatFailsToStartOffersToDeleteOnlyItself) {
    fake.shell.result = 2;
    fake.messages.answers = {MessageAnswer::Yes};
    EntrySearchBox box(state, fake.platform, cache);
    box.SetQuery("peinto");
    CarryOut(box.Key(SearchKey::Enter));
    ASSERT_EQ(fake.messages.shown.size(), 1u);
    EXPECT_EQ(fake.messages.shown[0].text, "C:\\Windows\\mspaint.exe起動失敗 ｴﾝﾄﾘｰを削除しますか");
    const ExMenuSlots members = LoadExMenu(fake.profile, "C:\\Tavi", 2, 3);
    EXPECT_EQ(members[0], ExMenuEntry{});
    EXPECT_EQ(members[1], kCalc);
    EXPECT_EQ(state.entries.At(2), kTools);
    EXPECT_TRUE(box.Refresh()) << "the box sees the change";
    EXPECT_EQ(box.Count(), 0u);
}

TEST(SearchBoxPlace, CentredOnTheWorkAreaAndInsideIt) {
    EXPECT_EQ(CentredIn({0, 0, 1280, 1024}, 400, 300), (Rect{440, 362, 840, 662}));
    EXPECT_EQ(CentredIn({1280, -200, 2304, 568}, 400, 300), (Rect{1592, 34, 1992, 334})) << "a second monitor";
    EXPECT_EQ(CentredIn({0, 0, 300, 200}, 400, 300), (Rect{0, 0, 300, 200})) << "never larger than the area";
}

TEST_F(EntrySearchBoxTest, StartsRankTheEntryTheyFollowWhereverItGoesAndGoWithIt) {
    fakes::FakeClock clock;
    UseCounts uses(fake.files, clock);
    const std::string pcFile = PcFilePath(state.ApplicationPath, fake.system.ComputerName());
    uses.Load(pcFile);
    state.starts = &uses;
    fakes::PutEntry(state, 6, {"メモリ", "C:\\Tools\\mem.exe", "-v", "0", "C:\\Tools\\mem.exe", "0"});
    EntrySearchBox box(state, fake.platform, cache, &uses);
    const auto firstFor = [&box](std::string_view query) {
        box.SetQuery(query);
        return box.Count() == 0 ? std::string() : box.Row(0).entry.PathName;
    };
    ASSERT_EQ(firstFor("memo"), "C:\\Windows\\notepad.exe") << "unused: by place";
    for (int i = 0; i < 3; ++i) {
        box.SetQuery("memo");
        for (size_t row = 0; row < box.Count(); ++row)
            if (box.Row(row).entry.PathName == "C:\\Tools\\mem.exe") box.Select(static_cast<int>(row));
        CarryOut(box.Key(SearchKey::Enter));
    }
    ASSERT_EQ(fake.shell.opened.size(), 3u);
    EXPECT_EQ(fake.shell.opened.back().file, "C:\\Tools\\mem.exe");
    EXPECT_EQ(firstFor("memo"), "C:\\Tools\\mem.exe") << "started three times";
    // A start from a button counts too: once is less than three times.
    StartBarEntry(state, fake.platform, 0);
    EXPECT_EQ(firstFor("memo"), "C:\\Tools\\mem.exe");

    // Moved to the first page and renamed: still it.
    ASSERT_TRUE(state.entries.Change([](ListEdit& edit) {
        edit.Move(6, 1);
        edit.Slot(1).Title = "メモリ監視";
    }));
    EXPECT_EQ(firstFor("memo"), "C:\\Tools\\mem.exe");
    EXPECT_EQ(box.Row(0).place.entryIndex, 1);
    EXPECT_NE(fake.files.files.at(pcFile).find("c:\\tools\\mem.exe\t-v"), std::string::npos);

    // Deleted: its uses go from the file once the box has seen the lists.
    ASSERT_TRUE(state.entries.Change([](ListEdit& edit) { edit.Clear(1); }));
    EXPECT_EQ(firstFor("memo"), "C:\\Windows\\notepad.exe");
    EXPECT_EQ(fake.files.files.at(pcFile).find("mem.exe"), std::string::npos);
    EXPECT_NE(fake.files.files.at(pcFile).find("notepad.exe"), std::string::npos);
}
