#include <gtest/gtest.h>

#include <filesystem>
#include <optional>

#include "app/entry_store.h"
#include "app/menu_main.h"
#include "platform/messages.h"
#include "fakes/fakes.h"

using namespace tavi;
using fakes::FakePlatform;

namespace {

const std::string kApp = "C:\\Tavi";
const std::string kList = "C:\\Tavi\\Launch.ini";

std::string Lines(std::initializer_list<const char*> lines) {
    std::string text;
    for (const char* line : lines) text += std::string(line) + "\r\n";
    return text;
}

size_t LineCount(const std::string& text) {
    size_t count = 0;
    for (size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at + 2)) ++count;
    return count;
}

}  // namespace

// What a start makes of the list as it finds it: only a missing list is a
// first run, and a list that exists but cannot be read is never written.
TEST(OpenEntryList, OnlyAMissingListIsAFirstRunAndAnUnreadableOneIsLeftAsItIs) {
    const std::string firstRun = Lines({"C:\\", "C:\\", "", "0", "C:\\", "0", "ｴｸｽﾌﾟﾛｰﾗ", "C:\\WINDOWS\\EXPLORER.EXE",
                                        "", "0", "C:\\WINDOWS\\EXPLORER.EXE", "0"});
    const std::string memo = Lines({"Memo", "C:\\memo.exe", "", "0", "", "0"});
    const std::string settings = "[IniBuff]\r\nIniBuff=10\r\n";
    const struct {
        const char* what;
        std::optional<std::string> list;  // nothing: absent
        std::optional<std::string> settings;  // "TaviLaunch.ini"; nothing: absent
        bool listUnreadable, unicodeUnreadable, explorer;
        size_t entries;
        std::optional<std::string> written;  // the list after the start; nothing: absent
        bool unread;
    } cases[] = {
        {"a first run", std::nullopt, std::nullopt, false, false, true, 2, firstRun, false},
        {"a first run without an explorer", std::nullopt, std::nullopt, false, false, false, 0, std::nullopt, false},
        {"an empty list is the user's", "", settings, false, false, true, 0, "", false},
        {"an empty list and empty settings, as a package manager makes them", "", "", false, false, true, 2, firstRun,
         false},
        {"an empty list made before any settings", "", std::nullopt, false, false, true, 2, firstRun, false},
        {"a list held by another program", memo, std::nullopt, true, false, true, 0, memo, true},
        {"its UTF-8 copy held", memo, std::nullopt, false, true, true, 0, memo, true},
        {"a list read whole", memo, std::nullopt, false, false, true, 1, memo, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        FakePlatform fake;
        if (c.explorer) fake.files.files["C:\\WINDOWS\\EXPLORER.EXE"] = "MZ";
        if (c.list) fake.files.files[kList] = *c.list;
        if (c.settings) fake.files.files[kApp + "\\TaviLaunch.ini"] = *c.settings;
        if (c.listUnreadable) fake.files.unreadable.push_back(kList);
        if (c.unicodeUnreadable) fake.files.unreadable.push_back(kList + ".utf8");
        MenuMain state;
        state.ApplicationPath = kApp;
        state.entries.Open(state, fake.platform);
        EXPECT_EQ(state.entries.Slots().size(), c.entries);
        EXPECT_EQ(state.entries.Unread(), c.unread);
        const auto found = fake.files.files.find(kList);
        EXPECT_EQ(found == fake.files.files.end() ? std::nullopt : std::optional<std::string>(found->second), c.written);
        EXPECT_TRUE(fake.messages.shown.empty()) << "told once the bar is up, not while it starts";
    }
}

TEST(ParseEntries, ShortLastRecordMiddleGapsAndLineEnds) {
    // The last record has only three lines; the missing fields are empty.
    EntryStore store = ParseEntries(Lines({"A", "C:\\a.exe", "", "0", "C:\\a.exe", "0", "B", "C:\\b.exe", "/x"}));
    ASSERT_EQ(store.slots.size(), 2u);
    EXPECT_EQ(store.LastEntryIndex, 2);
    EXPECT_EQ(store.slots[1], (LaunchEntry{"B", "C:\\b.exe", "/x", "", "", ""}));

    // Unix and old Mac line ends from hand editing read the same.
    const std::string unix = "A\nC:\\a.exe\n\n0\nC:\\a.exe\n0\n";
    const std::string mac = "A\rC:\\a.exe\r\r0\rC:\\a.exe\r0\r";
    const std::string noFinalBreak = "A\r\nC:\\a.exe\r\n\r\n0\r\nC:\\a.exe\r\n0";
    for (const std::string& text : {unix, mac, noFinalBreak}) {
        store = ParseEntries(text);
        ASSERT_EQ(store.slots.size(), 1u);
        EXPECT_EQ(store.slots[0], (LaunchEntry{"A", "C:\\a.exe", "", "0", "C:\\a.exe", "0"}));
    }
}

TEST(FormatEntries, TrailingEmptySlotsAreDroppedMiddleOnesKept) {
    EntryStore store;
    store.slots = {{"A", "a", "", "0", "a", "0"}, {"", "", "", "", "", ""}, {"C", "c", "", "0", "c", "0"},
                   {"  ", "", "", "", "", ""},    {"", "", "", "", "", ""}};
    const std::string text = FormatEntries(store);
    EXPECT_EQ(LineCount(text), 18u);
    EXPECT_EQ(text, Lines({"A", "a", "", "0", "a", "0", "", "", "", "", "", "", "C", "c", "", "0", "c", "0"}));

    const EntryStore back = ParseEntries(text);
    ASSERT_EQ(back.slots.size(), 3u);
    EXPECT_EQ(back.slots[1], LaunchEntry{});
}

TEST(FormatEntries, EveryTitleBlankWritesSlotZeroAndNoSlotsWriteNothing) {
    EntryStore store;
    store.slots = {{"", "", "", "", "old.ico", "3"}, {}};
    EXPECT_EQ(FormatEntries(store), Lines({"", "", "", "", "old.ico", "3"}));
    EXPECT_EQ(FormatEntries(EntryStore{}), "");
}

TEST(FormatEntries, AnEntryWithAPathButNoTitleIsNotLost) {
    EntryStore store;
    store.slots = {{"A", "a", "", "0", "a", "0"}, {"", "C:\\untitled.exe", "", "0", "", "0"}};
    EXPECT_EQ(ParseEntries(FormatEntries(store)).slots, store.slots);
}

TEST(FormatEntries, LineBreaksInsideFieldsCannotShiftTheRecords) {
    EntryStore store;
    store.slots = {{"two\r\nlines", "C:\\a\nb.exe", "/x\r/y", "0", "", "0"}, {"Next", "n.exe", "", "0", "", "0"}};
    const std::string text = FormatEntries(store);
    EXPECT_EQ(LineCount(text), 12u);
    const EntryStore back = ParseEntries(text);
    ASSERT_EQ(back.slots.size(), 2u);
    EXPECT_EQ(back.slots[0], (LaunchEntry{"two lines", "C:\\a b.exe", "/x /y", "0", "", "0"}));
    EXPECT_EQ(back.slots[1].Title, "Next");
}

TEST(EntryStore, ResizeGrowsButNeverDropsEntries) {
    EntryStore store = ParseEntries(Lines({"A", "a", "", "0", "a", "0", "B", "b", "", "0", "b", "0"}));
    store.ResizeEntryArrays(5);
    EXPECT_EQ(store.UpperBound(), 5);
    EXPECT_EQ(store.LastEntryIndex, 5);
    EXPECT_EQ(store.slots[1].Title, "B");
    store.ResizeEntryArrays(0);
    EXPECT_EQ(store.LastEntryIndex, 0);
    EXPECT_EQ(store.slots[1].Title, "B");
}

TEST(EntryStore, MovingCarriesAllSixFieldsAndEmptiesTheSource) {
    EntryStore store = ParseEntries(Lines({"A", "a.exe", "/p", "2", "i.ico", "3", "B", "b", "", "0", "b", "0"}));
    store.MoveEntry(0, 1);
    EXPECT_EQ(store.slots[0], LaunchEntry{});
    EXPECT_EQ(store.slots[1], (LaunchEntry{"A", "a.exe", "/p", "2", "i.ico", "3"}));
    store.MoveEntry(1, 7);  // past the end: the slots grow
    EXPECT_EQ(store.UpperBound(), 7);
    EXPECT_EQ(store.slots[7].Title, "A");
    store.MoveEntry(7, 7);
    EXPECT_EQ(store.slots[7].Title, "A");
    store.ClearEntry(7);
    EXPECT_EQ(store.slots[7], LaunchEntry{});
}

TEST(SaveEntries, AFailedWriteLeavesTheOldListAndSaysSo) {
    FakePlatform fake;
    fake.files.files[kList] = "old";
    fake.files.failWrites = true;
    EntryStore store = ParseEntries(Lines({"A", "a", "", "0", "a", "0"}));
    EXPECT_FALSE(SaveEntries(store, fake.platform, kApp));
    EXPECT_EQ(fake.files.files[kList], "old");
}

// Against real files in code page 932.
class EntryFileTest : public ::testing::Test {
protected:
    fakes::TempFolder folder;
    HostFileSystem files;
    IconvCodePage codePage;
    fakes::FakePlatform fake;
    Platform platform{fake.profile, files, codePage, fake.system, fake.shell, fake.messages};

    void WriteList(const std::string& bytes) {
        ASSERT_TRUE(files.ReplaceAll(folder.Path() + "\\Launch.ini", bytes));
    }
    std::string ReadList() { return files.ReadAll(folder.Path() + "\\Launch.ini").value_or("<missing>"); }
};

TEST_F(EntryFileTest, AHandWrittenShiftJisListRoundTripsByteForByte) {
    // "ﾒﾓ帳" / "日本語ﾌｫﾙﾀﾞ" in code page 932, an empty middle slot, a short last record.
    const std::string sjis =
        "\xD2\xD3\x92\xA0\r\nC:\\WINDOWS\\NOTEPAD.EXE\r\n\r\n0\r\nC:\\WINDOWS\\NOTEPAD.EXE\r\n0\r\n"
        "\r\n\r\n\r\n\r\n\r\n\r\n"
        "\x93\xFA\x96\x7B\x8C\xEA\xCC\xAB\xD9\xC0\xDE\r\nC:\\\x93\xFA\x96\x7B\x8C\xEA\\\r\n";
    WriteList(sjis);
    EntryStore store;
    store = LoadEntries(platform.files, platform.codePage, folder.Path()).store;
    ASSERT_EQ(store.slots.size(), 3u);
    EXPECT_EQ(store.slots[0].Title, "ﾒﾓ帳");
    EXPECT_EQ(store.slots[2].Title, "日本語ﾌｫﾙﾀﾞ");
    EXPECT_EQ(store.slots[2].PathName, "C:\\日本語\\");
    ASSERT_TRUE(SaveEntries(store, platform, folder.Path()));
    EXPECT_EQ(ReadList(), sjis + "\r\n\r\n\r\n\r\n");  // the short record is completed, nothing else changes
}

// The bar reads up to its last entry, 1000; what lies past it is kept as it
// was and written back after it, so a list of any length costs the same.
TEST_F(EntryFileTest, ThousandsOfEntriesLongLinesAndBadBytesLoseNothing) {
    std::string bytes;
    const std::string longPath = "C:\\" + std::string(5000, 'x') + ".exe";
    for (int i = 0; i < 5000; ++i) {
        const std::string title = i == 17 ? std::string("bad\x81\xFF" "byte") : "T" + std::to_string(i);
        bytes += title + "\r\n" + (i == 3 ? longPath : "C:\\p" + std::to_string(i) + ".exe") + "\r\n\r\n0\r\n\r\n0\r\n";
    }
    WriteList(bytes);
    EntryStore store;
    store = LoadEntries(platform.files, platform.codePage, folder.Path()).store;
    ASSERT_EQ(store.slots.size(), 1001u);
    EXPECT_EQ(store.slots[3].PathName, longPath);
    EXPECT_EQ(store.slots[17].PathName, "C:\\p17.exe");
    EXPECT_TRUE(store.slots[17].Title.starts_with("bad"));
    EXPECT_TRUE(store.slots[17].Title.ends_with("byte"));
    EXPECT_EQ(store.slots[1000].Title, "T1000");
    const std::string past = bytes.substr(bytes.find("T1001\r\n"));
    EXPECT_EQ(store.pastLimit, past);

    store.slots[998] = {};  // an emptied slot before the limit keeps the rest in place
    ASSERT_TRUE(SaveEntries(store, platform, folder.Path()));
    EXPECT_TRUE(ReadList().ends_with(past));
    EntryStore again;
    again = LoadEntries(platform.files, platform.codePage, folder.Path()).store;
    EXPECT_EQ(again.slots.size(), 1001u);
    EXPECT_EQ(again.slots[3].PathName, longPath);
    EXPECT_EQ(again.slots[1000].Title, "T1000");
    EXPECT_EQ(again.pastLimit, past);

    // A list of nothing but line breaks, as large as a read may be: the
    // bar's 1000 empty slots, and nothing kept past them.
    WriteList(std::string(kReadLimitBytes / 2, '\n'));
    const LoadedEntries empty = LoadEntries(platform.files, platform.codePage, folder.Path());
    EXPECT_EQ(empty.store.slots.size(), 1001u);
    EXPECT_TRUE(empty.store.pastLimit.empty());
}

TEST_F(EntryFileTest, AStrayLeadByteAtALineEndCannotJoinTwoRecords) {
    // 0x81 starts a double-byte character; decoded with the line break after
    // it, it would eat the break and shift every following record.
    // With LF line ends (a hand-edited file) there is no second byte to save it.
    WriteList("Broken\x81\nC:\\a.exe\n\n0\nC:\\a.exe\n0\nNext\nC:\\b.exe\n\n0\n\n0\n");
    EntryStore store;
    store = LoadEntries(platform.files, platform.codePage, folder.Path()).store;
    ASSERT_EQ(store.slots.size(), 2u);
    EXPECT_EQ(store.slots[0].PathName, "C:\\a.exe");
    EXPECT_EQ(store.slots[1].Title, "Next");
    EXPECT_EQ(store.slots[1].PathName, "C:\\b.exe");
}

// A package manager keeps the list as a hard link to its own copy (Scoop's
// persisted files): a save writes through it, so both names see the change.
TEST_F(EntryFileTest, AListWithAnotherNameIsWrittenThroughSoBothSeeTheSave) {
    WriteList("old\r\n");
    const std::filesystem::path list = folder.File("Launch.ini"), kept = folder.File("kept.ini");
    std::filesystem::create_hard_link(list, kept);
    EntryStore store = ParseEntries(Lines({"New", "n.exe", "", "0", "n.exe", "0"}));
    ASSERT_TRUE(SaveEntries(store, platform, folder.Path()));
    EXPECT_EQ(ReadList(), Lines({"New", "n.exe", "", "0", "n.exe", "0"}));
    EXPECT_EQ(files.ReadAll(kept.string()), Lines({"New", "n.exe", "", "0", "n.exe", "0"}));
    EXPECT_EQ(std::filesystem::hard_link_count(list), 2u);
    ASSERT_TRUE(SaveEntries(ParseEntries(Lines({"S", "s.exe", "", "0", "", "0"})), platform, folder.Path()));
    EXPECT_EQ(files.ReadAll(kept.string()), Lines({"S", "s.exe", "", "0", "", "0"})) << "a shorter list, no tail left";
    EXPECT_FALSE(std::filesystem::exists(folder.File("Launch.ini.new")));
}

TEST_F(EntryFileTest, ReplacingLeavesNoTemporaryFileBehind) {
    WriteList("old\r\n");
    EntryStore store = ParseEntries(Lines({"New", "n.exe", "", "0", "n.exe", "0"}));
    ASSERT_TRUE(SaveEntries(store, platform, folder.Path()));
    EXPECT_EQ(ReadList(), Lines({"New", "n.exe", "", "0", "n.exe", "0"}));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()), {}), 1);
}

// Text code page 932 lacks: Hangul, an emoji, accented Latin (which Windows
// writes as a plain look-alike), next to Japanese it has.
TEST_F(EntryFileTest, TextTheCodePageLacksSurvivesASaveAndOldProgramsStillReadTheList) {
    const std::string unicodePath = folder.Path() + "\\Launch.ini.utf8";
    EntryStore store = ParseEntries(Lines({"한국어 메모", "C:\\도구\\편집기.exe", "--open \"😀 café.txt\"", "0",
                                           "C:\\도구\\편집기.exe", "0", "日本語", "C:\\日本語\\a.exe", "", "0", "", "0"}));
    ASSERT_TRUE(SaveEntries(store, platform, folder.Path()));
    EntryStore again;
    again = LoadEntries(platform.files, platform.codePage, folder.Path()).store;
    EXPECT_EQ(again.slots, store.slots);
    // The list itself is what the system would have written, so a program
    // that knows only the list reads it as before.
    EXPECT_EQ(ReadList(), codePage.FromUtf8(FormatEntries(store)));
    EXPECT_EQ(ReadList().find("\x93\xFA\x96\x7B\x8C\xEA") != std::string::npos, true);
    EXPECT_TRUE(files.FileExists(unicodePath));

    // Once nothing needs it, the copy goes and the list is plain again.
    store.slots[0] = {"メモ", "C:\\メモ.exe", "", "0", "", "0"};
    ASSERT_TRUE(SaveEntries(store, platform, folder.Path()));
    EXPECT_FALSE(files.FileExists(unicodePath));
    EXPECT_EQ(ReadList(), codePage.FromUtf8(FormatEntries(store)));
}

// The UTF-8 copy is read with the list only when it belongs to it: marked
// with these very list bytes, or (unmarked, from an older version) saying
// what the list says on every line. Otherwise the list is read alone: a copy
// from another moment, matched line by line through its "?" forms, would give
// one entry another's title or path.
TEST_F(EntryFileTest, TheCopyIsReadOnlyWithTheListItBelongsTo) {
    const char* const a = "한 A";
    const char* const b = "한 B";
    EntryStore store = ParseEntries(Lines({a, "C:\\한\\a.exe", "", "0", "", "0", b, "C:\\한\\b.exe", "", "0", "", "0"}));
    ASSERT_TRUE(SaveEntries(store, platform, folder.Path()));
    const std::string list = ReadList(), marked = *files.ReadAll(folder.Path() + "\\Launch.ini.utf8");
    const std::string unmarked = FormatEntries(store);
    std::string changed = list;  // an older version renamed the second entry
    changed.replace(changed.find(codePage.FromUtf8(b)), codePage.FromUtf8(b).size(), "New B");
    std::string swapped = unmarked;  // two titles of the same "?" form, from another moment
    swapped.replace(swapped.find(a), std::string(a).size(), "한 Z");
    const std::string q = codePage.ToUtf8(codePage.FromUtf8(a));
    const struct {
        const char* what;
        std::string list, copy;
        bool stray;
        std::string first, second;
    } cases[] = {
        {"marked for this list", list, marked, false, a, b},
        {"marked for another list", changed, marked, true, q, "New B"},
        {"unmarked, every line agrees", list, unmarked, false, a, b},
        {"unmarked, from another moment", list, swapped, true, q, codePage.ToUtf8(codePage.FromUtf8(b))},
        {"damaged", list, "\xFF\xFE\r\n", true, q, codePage.ToUtf8(codePage.FromUtf8(b))},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        WriteList(c.list);
        ASSERT_TRUE(files.ReplaceAll(folder.Path() + "\\Launch.ini.utf8", c.copy));
        const LoadedEntries loaded = LoadEntries(platform.files, platform.codePage, folder.Path());
        EXPECT_EQ(loaded.strayCompanion, c.stray);
        ASSERT_EQ(loaded.store.slots.size(), 2u);
        EXPECT_EQ(loaded.store.slots[0].Title, c.first);
        EXPECT_EQ(loaded.store.slots[1].Title, c.second);
    }
}
