#include <gtest/gtest.h>

#include <set>

#include "bar/bar_buttons.h"
#include "bar/button_icons.h"
#include "platform/text.h"
#include "fakes/fakes.h"

using namespace tavi;
using fakes::FakePlatform;

namespace {

IconPlan Plan(const LaunchEntry& entry, int index, FakePlatform& fake, const std::set<std::string>& cache = {},
              bool useCache = true) {
    return PlanButtonIcon(entry, index, useCache, [&](const std::string& key) { return cache.count(key) > 0; },
                          fake.shell);
}

IconPlan StockPlan(StockImage image) { return {IconPlan::Kind::Stock, image, "", "", 0}; }
IconPlan ExtractPlan(const char* key, const char* file, int index) {
    return {IconPlan::Kind::Extract, StockImage::None, key, file, index};
}

}  // namespace

TEST(ButtonIcons, StockPicturesForGroupsFoldersAndBatchFiles) {
    FakePlatform fake;
    EXPECT_EQ(Plan({"G", "[Games]", "", "0", "", "0"}, 0, fake), StockPlan(StockImage::Folder));
    EXPECT_EQ(Plan({"G", " [Games] ", "", "0", "  ", "0"}, 0, fake), StockPlan(StockImage::Folder));
    EXPECT_EQ(Plan({"D", "C:\\Docs\\", "", "0", "C:\\Docs\\", "0"}, 0, fake), StockPlan(StockImage::Folder));
    EXPECT_EQ(Plan({"B", "C:\\run.bat", "", "0", "C:\\run.bat", "0"}, 0, fake), StockPlan(StockImage::Dos));
    EXPECT_EQ(Plan({"B", "C:\\Run.Bat", "", "0", "C:\\Run.Bat", "0"}, 0, fake), StockPlan(StockImage::Dos));
    EXPECT_TRUE(fake.shell.lookedUp.empty()) << "stock pictures need no association";
}

TEST(ButtonIcons, DocumentsShareOneImagePerExtension) {
    FakePlatform fake;
    fake.shell.associations["C:\\a.txt"] = "\"C:\\WINDOWS\\notepad.exe\"";
    fake.shell.associations["C:\\b.txt"] = "\"C:\\WINDOWS\\notepad.exe\"";
    EXPECT_EQ(Plan({"A", "C:\\a.txt", "", "0", "C:\\a.txt", "0"}, 0, fake),
              ExtractPlan("k.txt", "C:\\WINDOWS\\notepad.exe", 0));
    // The second document finds the first one's image under the same key.
    const IconPlan second = Plan({"B", "C:\\b.txt", "", "0", "C:\\b.txt", "0"}, 1, fake, {"k.txt"});
    EXPECT_EQ(second, (IconPlan{IconPlan::Kind::Cached, StockImage::None, "k.txt", "", 0}));
    // Without the cache flag the store is not consulted.
    EXPECT_EQ(Plan({"B", "C:\\b.txt", "", "0", "C:\\b.txt", "0"}, 1, fake, {"k.txt"}, false).kind,
              IconPlan::Kind::Extract);
}

TEST(ButtonIcons, ProgramsGetOneImageEachKeyedByEntryIndexPlusFour) {
    FakePlatform fake;
    fake.shell.associations["C:\\x.exe"] = "C:\\x.exe";
    fake.shell.associations["C:\\y.EXE"] = "C:\\y.EXE";
    EXPECT_EQ(Plan({"X", "C:\\x.exe", "", "0", "C:\\x.exe", "0"}, 3, fake), ExtractPlan("k.exe7", "C:\\x.exe", 0));
    EXPECT_EQ(Plan({"Y", "C:\\y.EXE", "", "0", "C:\\y.EXE", "0"}, 4, fake), ExtractPlan("k.EXE8", "C:\\y.EXE", 0));
    // An icon file shows itself, not the program that opens it.
    fake.shell.associations["C:\\pic.ico"] = "C:\\viewer.exe";
    EXPECT_EQ(Plan({"I", "C:\\pic.ico", "", "0", "C:\\pic.ico", "0"}, 0, fake),
              ExtractPlan("k.ico4", "C:\\pic.ico", 0));
    // A program already drawn for this entry is reused.
    EXPECT_EQ(Plan({"X", "C:\\x.exe", "", "0", "C:\\x.exe", "0"}, 3, fake, {"k.exe7"}).kind, IconPlan::Kind::Cached);
}

TEST(ButtonIcons, DocumentWithoutAProgramShowsNothing) {
    FakePlatform fake;
    EXPECT_EQ(Plan({"U", "C:\\data.xyz", "", "0", "C:\\data.xyz", "0"}, 0, fake), StockPlan(StockImage::Nothing));
    EXPECT_EQ(fake.shell.lookedUp, std::vector<std::string>{"C:\\data.xyz"});
}

TEST(ButtonIcons, AnExplicitIconIsAlwaysExtractedFromItsFile) {
    FakePlatform fake;
    // Another icon file, or another icon number of the same file: no cache lookup.
    EXPECT_EQ(Plan({"E", "C:\\ed.exe", "", "0", "C:\\icons.dll", "12"}, 2, fake, {"k.exe6"}),
              ExtractPlan("k.exe6", "C:\\icons.dll", 12));
    EXPECT_EQ(Plan({"E", "C:\\ed.exe", "", "0", "C:\\ed.exe", "2.5"}, 2, fake, {"k.exe6"}),
              ExtractPlan("k.exe6", "C:\\ed.exe", 2));
    EXPECT_EQ(Plan({"G", "[Games]", "", "0", "C:\\games.ico", "0"}, 0, fake), ExtractPlan("k4", "C:\\games.ico", 0));
    EXPECT_TRUE(fake.shell.lookedUp.empty());
}

namespace {

class PagingTest : public ::testing::Test {
protected:
    FakePlatform fake;
    fakes::FakeEntryButtons buttons;
    MenuMain state;

    void SetUp() override {
        state.ApplicationPath = "C:\\Tavi";
        state.page.SetVisibleCount(18);
        fakes::GiveEntries(state, fake.platform, {});
        state.entries.Reserve(19);
    }
};

}  // namespace

TEST_F(PagingTest, NextStopsAtTheThousandEntryLimitWithAWarning) {
    state.page.ShowFrom(990);
    EXPECT_EQ(PageButtons(state, fake.platform, PageCommand::Next), PageOutcome::Unchanged);
    EXPECT_EQ(state.page.Offset(), 990);
    ASSERT_EQ(fake.messages.shown.size(), 1u);
    EXPECT_EQ(fake.messages.shown[0].text,
              "現在の「たびめにゅ～２」は 登録アイテム数 1000 以下の仕様となっています");
    EXPECT_EQ(fake.messages.shown[0].icon, MessageIcon::Warning);

    state.page.ShowFrom(982);  // lands exactly on 1000: allowed
    EXPECT_EQ(PageButtons(state, fake.platform, PageCommand::Next), PageOutcome::Refresh);
    EXPECT_EQ(state.page.Offset(), 1000);
    EXPECT_EQ(fake.messages.shown.size(), 1u);
}

TEST_F(PagingTest, PagingGrowsTheSlotsAndNeverGoesBelowZero) {
    EXPECT_EQ(PageButtons(state, fake.platform, PageCommand::Next), PageOutcome::Refresh);
    EXPECT_EQ(state.page.Offset(), 18);
    EXPECT_EQ(state.entries.LastEntryIndex(), 36);
    EXPECT_TRUE(state.entries.Has(35));
    state.page.ShowFrom(5);
    EXPECT_EQ(PageButtons(state, fake.platform, PageCommand::Previous), PageOutcome::Refresh);
    EXPECT_EQ(state.page.Offset(), 0);
    EXPECT_EQ(PageButtons(state, fake.platform, PageCommand::Close), PageOutcome::Close);
}

TEST_F(PagingTest, WheelAndKeys) {
    state.page.ShowFrom(0);
    EXPECT_EQ(WheelCommand(state, +1), std::nullopt) << "wheel up on the first page does nothing";
    EXPECT_EQ(WheelCommand(state, -1), PageCommand::Next);
    state.page.ShowFrom(18);
    EXPECT_EQ(WheelCommand(state, +1), PageCommand::Previous);

    EXPECT_EQ(KeyDownCommand(112), KeyCommand::PreviousPage);
    EXPECT_EQ(KeyDownCommand(113), KeyCommand::NextPage);
    EXPECT_EQ(KeyDownCommand(116), KeyCommand::Redraw);
    EXPECT_EQ(KeyDownCommand(114), std::nullopt);
    EXPECT_EQ(KeyDownCommand('N', true), KeyCommand::NewEntry) << "Ctrl+N";
    EXPECT_EQ(KeyDownCommand('N'), std::nullopt) << "N alone";
    EXPECT_EQ(KeyDownCommand('Z', true), KeyCommand::Undo) << "Ctrl+Z";
    EXPECT_EQ(KeyDownCommand('Y', true), KeyCommand::Redo) << "Ctrl+Y";
    EXPECT_EQ(KeyDownCommand('F', true), KeyCommand::FindEntry) << "Ctrl+F";
    EXPECT_EQ(KeyDownCommand('F'), std::nullopt) << "F alone";
    EXPECT_EQ(KeyDownCommand('Z'), std::nullopt) << "Z alone";
    EXPECT_EQ(KeyDownCommand('X', true), std::nullopt) << "Ctrl+X";
    EXPECT_EQ(KeyDownCommand(113, true), std::nullopt) << "Ctrl+F2";
}

// Deltas of one message each, and the notches each message pages.
TEST(WheelSumTest, PartsOfANotchAddUp) {
    const auto wheel = [](int delta, uint32_t keys = 0) {
        return (static_cast<uint32_t>(static_cast<uint16_t>(static_cast<int16_t>(delta))) << 16) | keys;
    };
    struct Case {
        const char* what;
        std::vector<uint32_t> messages;
        std::vector<int> notches;
    } cases[] = {
        {"one notch each way", {wheel(120), wheel(-120)}, {1, -1}},
        {"two notches at once", {wheel(240)}, {2}},
        {"touchpad thirds", {wheel(40), wheel(40), wheel(40), wheel(40)}, {0, 0, 1, 0}},
        {"touchpad toward", {wheel(-60), wheel(-60), wheel(-30)}, {0, -1, 0}},
        {"rest carried", {wheel(100), wheel(100), wheel(100), wheel(60)}, {0, 1, 1, 1}},
        {"turning starts over", {wheel(100), wheel(-30), wheel(-90)}, {0, 0, -1}},
        {"keys held: nothing, and the sum is dropped", {wheel(100), wheel(120, 0x0008), wheel(40)}, {0, 0, 0}},
        {"odd sizes", {wheel(7), wheel(113), wheel(119), wheel(1)}, {0, 1, 0, 1}},
    };
    for (const Case& c : cases) {
        WheelSum sum;
        std::vector<int> got;
        for (uint32_t message : c.messages) got.push_back(sum.Notches(message));
        EXPECT_EQ(got, c.notches) << c.what;
    }
}

TEST_F(PagingTest, RefreshGivesEachButtonOfThePageItsPictureAndTip) {
    state.page.SetVisibleCount(4);
    state.page.ShowFrom(1);
    fakes::GiveEntries(state, fake.platform,
                       {{}, {"One", "C:\\one.exe", "", "0", "C:\\one.exe", "0"}, {},
                        {"Three", "C:\\three.exe", "", "0", "C:\\three.exe", "0"}});
    fakes::SetSetting(state, &Settings::ToolTips, "1");
    RefreshButtons(state, buttons);
    EXPECT_EQ(buttons.calls, (std::vector<std::string>{"clear 0", "icon 0 cached", "tip 0 One", "clear 1", "tip 1 ",
                                                       "clear 2", "icon 2 cached", "tip 2 Three", "clear 3"}));
    buttons.calls.clear();
    fakes::SetSetting(state, &Settings::ToolTips, "0");
    RefreshButtons(state, buttons);
    EXPECT_EQ(buttons.calls[2], "tip 0 ");

    buttons.calls.clear();
    ReloadButtonIcons(state, buttons);
    EXPECT_EQ(buttons.calls, (std::vector<std::string>{"icon 0 cached", "clear 1", "icon 2 cached", "clear 3"}));
}

TEST_F(PagingTest, AFullRebuildFillsTheFirstPageFirstThenShowsTheCurrentOne) {
    state.page.SetVisibleCount(2);
    state.page.ShowFrom(2);
    fakes::GiveEntries(state, fake.platform,
                       {{"A", "C:\\a.exe", "", "0", "C:\\a.exe", "0"}, {}, {}, {"D", "C:\\d.exe", "", "0", "C:\\d.exe", "0"}});
    fakes::SetSetting(state, &Settings::ToolTips, "1");
    FullRebuild(state, buttons, [&] { buttons.calls.push_back("reset"); });
    EXPECT_EQ(state.page.Offset(), 2);
    EXPECT_EQ(buttons.calls, (std::vector<std::string>{"reset", "icon 0 cached", "clear 1",   // page 0
                                                       "clear 0", "tip 0 ", "clear 1", "icon 1 cached",
                                                       "tip 1 D"}));                        // page 2
}

TEST_F(PagingTest, ClickingAFreeSlotOpensTheExplorerOnTheSystemDrive) {
    fake.system.systemDirectory = "D:\\WINNT\\system32";
    EXPECT_EQ(ClickButton(state, fake.platform, 3), ClickOutcome::Handled);
    EXPECT_EQ(state.page.CurrentEntry(), 2);
    state.page.ShowFrom(990);  // far past the last slot: free too
    EXPECT_EQ(ClickButton(state, fake.platform, 1), ClickOutcome::Handled);
    ASSERT_EQ(fake.shell.opened.size(), 2u);
    for (const ShellOpenRequest& open : fake.shell.opened) {
        EXPECT_EQ(open.verb, "open");
        EXPECT_EQ(open.file, "C:\\WINDOWS\\explorer.exe") << "the system's own, by its full path";
        EXPECT_EQ(open.parameters, "D:\\");
        EXPECT_EQ(open.directory, "C:\\Tavi");
        EXPECT_EQ(open.show, ShowCommand::Normal);
    }
}

TEST_F(PagingTest, ClickingAnEntryStartsItAndAGroupOrAFolderMenuIsLeftToItsWindow) {
    state.page.ShowFrom(2);
    fakes::GiveEntries(state, fake.platform,
                       {{}, {}, {"Ed", "C:\\ed.exe", "-n", "2", "C:\\ed.exe", "0"},
                        {"Games", "[Games]", "", "0", "", "0"},
                        {"Docs", " C:\\Docs\\ ", "", "3", "", "0"}, {"Odd", "C:\\Docs\\", "", "3x", "", "0"}});
    EXPECT_EQ(ClickButton(state, fake.platform, 1), ClickOutcome::Handled);
    ASSERT_EQ(fake.shell.opened.size(), 1u);
    EXPECT_EQ(fake.shell.opened[0].file, "C:\\ed.exe");
    EXPECT_EQ(fake.shell.opened[0].parameters, "-n");
    EXPECT_EQ(fake.shell.opened[0].show, ShowCommand::Maximized);
    EXPECT_EQ(ClickButton(state, fake.platform, 2), ClickOutcome::OpenGroup);
    EXPECT_EQ(state.page.CurrentEntry(), 3);
    EXPECT_EQ(ClickButton(state, fake.platform, 3), ClickOutcome::OpenFolderMenu);
    EXPECT_EQ(state.page.CurrentEntry(), 4);
    EXPECT_EQ(ClickButton(state, fake.platform, 4), ClickOutcome::OpenFolderMenu) << "run type read as a number";
    EXPECT_EQ(fake.shell.opened.size(), 1u) << "neither a group nor a folder menu starts anything";
}

TEST(BarText, ShortcutStylesAndTrayTip) {
    EXPECT_EQ(RunTypeForShortcutStyle(1), "0");
    EXPECT_EQ(RunTypeForShortcutStyle(7), "1");
    EXPECT_EQ(RunTypeForShortcutStyle(3), "2");
    EXPECT_EQ(RunTypeForShortcutStyle(2), "0") << "style 2 is not a run type";
    EXPECT_EQ(TrayTip(9, 5, 7), "たびめにゅ～２ 09:05:07");
    EXPECT_EQ(TrayTip(9, 5, 7, "D:\\ﾂｰﾙ\\Tavi"), "たびめにゅ～２ 09:05:07\nD:\\ﾂｰﾙ\\Tavi") << "a second bar names its folder";
    const std::string deep = "D:\\" + std::string(200, 'a') + "\\ﾀﾋﾞ";
    const std::string tip = TrayTip(9, 5, 7, deep);
    EXPECT_EQ(CharCount(tip), CharCount("たびめにゅ～２ 09:05:07\n") + 100) << "room for the tip's 127 characters";
    EXPECT_TRUE(EndsWith(tip, "a\\ﾀﾋﾞ")) << "the end of the path tells folders apart";
}
