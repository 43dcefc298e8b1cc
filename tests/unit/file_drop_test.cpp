#include <gtest/gtest.h>

#include "bar/file_drop.h"
#include "fakes/bar_services_fake.h"
#include "fakes/group_fakes.h"

using namespace tavi;

TEST(FileDrop, PathsAreQuotedForEveryCharacterACommandLineTreatsSpecially) {
    const std::pair<const char*, const char*> cases[] = {
        {"C:\\plain.txt", "C:\\plain.txt"},
        {"C:\\", "C:\\"},
        {"C:\\ﾃﾞｰﾀ\\日本語.txt", "C:\\ﾃﾞｰﾀ\\日本語.txt"},
        {"C:\\a b.txt", "\"C:\\a b.txt\""},
        {"C:\\x&calc.txt", "\"C:\\x&calc.txt\""},
        {"C:\\a(1).txt", "\"C:\\a(1).txt\""},
        {"C:\\a^b.txt", "\"C:\\a^b.txt\""},
        {"C:\\a;b,c=d.txt", "\"C:\\a;b,c=d.txt\""},
        {"C:\\bang!.txt", "\"C:\\bang!.txt\""},
        {"C:\\it's.txt", "\"C:\\it's.txt\""},
        {"C:\\a+b.txt", "\"C:\\a+b.txt\""},
        {"C:\\`~.txt", "\"C:\\`~.txt\""},
        {"C:\\[x]{y}.txt", "\"C:\\[x]{y}.txt\""},
        {"C:\\100%.txt", "\"C:\\100%.txt\""},
        {"C:\\tab\there.txt", "\"C:\\tab\there.txt\""},
        {"C:\\My Folder\\", "\"C:\\My Folder\\\\\""},
    };
    for (const auto& [path, quoted] : cases) EXPECT_EQ(QuoteDroppedPath(path), quoted) << path;
    EXPECT_EQ(TargetDropParameters(" /p ", "D:\\a b.txt"), "/p \"D:\\a b.txt\"");
    EXPECT_EQ(TargetDropParameters("/p", "D:\\plain.txt"), "/p D:\\plain.txt");
    EXPECT_EQ(TargetDropParameters("  ", "D:\\a&b.txt"), "\"D:\\a&b.txt\"");
}

namespace {

class FileDropTest : public ::testing::Test {
protected:
    fakes::FakePlatform fake;
    MenuMain state;
    std::vector<std::string> log;
    fakes::FakeBarServices bar{log};
    fakes::FakeShortcuts shortcuts;
    DropContext context{state, fake.platform, shortcuts};
    BarListView view{state, bar};

    void SetUp() override {
        state.ApplicationPath = "C:\\Tavi";
        state.page.SetVisibleCount(10);
        fakes::SetSetting(state, &Settings::TargetDrop, "0");
        fakes::GiveEntries(state, fake.platform,
                           {{"Memo", "C:\\memo.exe", "", "0", "C:\\memo.exe", "0"},
                            {},
                            {},
                            {"Calc", "C:\\calc.exe", "/p", "1", "C:\\calc.exe", "0"},
                            {"Games", "[Games]", "", "0", "", "0"}});
        state.entries.AttachView(&view);
        fake.files.replaceCalls = 0;
        shortcuts.links["D:\\Desktop\\Editor.lnk"] = {"C:\\Program Files\\Ed\\ed.exe", "-new", "2",
                                                       "C:\\Program Files\\Ed"};
        // Starts its program in a folder of its own, which an entry cannot hold.
        shortcuts.links["D:\\Desktop\\Elsewhere.lnk"] = {"C:\\Tools\\tool.exe", "-x", "0", "D:\\Work"};
    }
    DropOutcome DropAt(std::optional<int> position, const std::vector<std::string>& files) {
        return DropFiles(context, position, files);
    }
    const LaunchEntry& Slot(int index) { return state.entries.Slots().at(static_cast<size_t>(index)); }
    std::vector<LaunchEntry> Saved() { return ParseEntries(fake.files.files["C:\\Tavi\\Launch.ini"]).slots; }
};

}  // namespace

TEST_F(FileDropTest, FilesDroppedOnAFreeButtonTakeItAndTheFollowingOnes) {
    fakes::PutEntry(state, 3, {});
    fake.files.replaceCalls = 0;
    bar.buttons.calls.clear();
    const DropOutcome outcome = DropAt(1, {"D:\\a.txt", "D:\\Docs\\b c.doc", "D:\\Tools\\"});
    EXPECT_EQ(outcome.registered, (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(Slot(1), (LaunchEntry{"a.txt", "D:\\a.txt", "", "", "D:\\a.txt", "0"}));
    EXPECT_EQ(Slot(2), (LaunchEntry{"b c.doc", "D:\\Docs\\b c.doc", "", "", "D:\\Docs\\b c.doc", "0"}));
    EXPECT_EQ(Slot(3).Title, "D:\\Tools\\") << "a folder without a file name is titled with its path";
    EXPECT_EQ(fake.files.replaceCalls, 1) << "one save for the whole drop";
    EXPECT_EQ(Saved().at(2).PathName, "D:\\Docs\\b c.doc");
    EXPECT_EQ(log, std::vector<std::string>{"bar rebuild"});
    EXPECT_TRUE(bar.buttons.calls.empty());
    EXPECT_TRUE(fake.shell.opened.empty());
}

TEST_F(FileDropTest, AShortcutOnAFreeButtonIsRegisteredAsItsTarget) {
    DropAt(1, {"D:\\Desktop\\Editor.lnk", "D:\\Desktop\\Broken.LNK"});
    EXPECT_EQ(Slot(1), (LaunchEntry{"ed.exe", "C:\\Program Files\\Ed\\ed.exe", "-new", "2",
                                    "C:\\Program Files\\Ed\\ed.exe", "0"}));
    EXPECT_EQ(Slot(2), (LaunchEntry{"Broken.LNK", "D:\\Desktop\\Broken.LNK", "", "", "D:\\Desktop\\Broken.LNK", "0"}))
        << "a shortcut that cannot be read is registered as itself";
    EXPECT_EQ(shortcuts.read, (std::vector<std::string>{"D:\\Desktop\\Editor.lnk", "D:\\Desktop\\Broken.LNK"}));
    DropAt(5, {"D:\\Desktop\\Elsewhere.lnk"});
    EXPECT_EQ(Slot(5), (LaunchEntry{"Elsewhere.lnk", "D:\\Desktop\\Elsewhere.lnk", "", "", "D:\\Desktop\\Elsewhere.lnk", "0"}))
        << "a shortcut with a start folder of its own is registered as itself, as the import does";
}

TEST_F(FileDropTest, OnAnOccupiedButtonFilesGoToTheFirstFreeSlotsAsTheyAre) {
    const DropOutcome outcome = DropAt(3, {"D:\\Desktop\\Editor.lnk", "D:\\x.txt", "D:\\y.txt"});
    EXPECT_EQ(outcome.registered, (std::vector<int>{1, 2, 5}));
    EXPECT_EQ(Slot(1).PathName, "D:\\Desktop\\Editor.lnk") << "no shortcut resolution on this path";
    EXPECT_EQ(Slot(2).PathName, "D:\\x.txt");
    EXPECT_EQ(Slot(5).PathName, "D:\\y.txt") << "the list grows when it is full";
    EXPECT_EQ(Slot(3).Title, "Calc");
    EXPECT_TRUE(shortcuts.read.empty());
    EXPECT_TRUE(fake.shell.opened.empty());
    EXPECT_EQ(fake.files.replaceCalls, 1);

    DropAt(0, {"D:\\z.txt"});
    EXPECT_EQ(Slot(6).PathName, "D:\\z.txt");
}

TEST_F(FileDropTest, WithTargetDropTheEntryDroppedOnOpensEveryFile) {
    fakes::SetSetting(state, &Settings::TargetDrop, "1");
    const DropOutcome outcome = DropAt(3, {"D:\\My Docs\\a b.txt", "D:\\plain.txt", "D:\\x&del *.txt"});
    EXPECT_EQ(outcome.opened, 3);
    EXPECT_TRUE(outcome.registered.empty());
    ASSERT_EQ(fake.shell.opened.size(), 3u);
    EXPECT_EQ(fake.shell.opened[0].file, "C:\\calc.exe");
    EXPECT_EQ(fake.shell.opened[0].parameters, "/p \"D:\\My Docs\\a b.txt\"");
    EXPECT_EQ(fake.shell.opened[0].show, ShowCommand::Minimized);
    EXPECT_EQ(fake.shell.opened[1].parameters, "/p D:\\plain.txt");
    EXPECT_EQ(fake.shell.opened[2].parameters, "/p \"D:\\x&del *.txt\"");
    EXPECT_EQ(fake.files.replaceCalls, 0);
    EXPECT_TRUE(log.empty());
}

TEST_F(FileDropTest, AFailingTargetDropOffersToDeleteNothing) {
    fakes::SetSetting(state, &Settings::TargetDrop, "1");
    fake.shell.result = 2;
    DropAt(3, {"D:\\a.txt"});
    ASSERT_EQ(fake.messages.shown.size(), 1u);
    EXPECT_EQ(fake.messages.shown[0].text, "C:\\calc.exe起動失敗");
    EXPECT_EQ(fake.messages.shown[0].buttons, MessageButtons::Ok);
    EXPECT_EQ(Slot(3).Title, "Calc");
    EXPECT_EQ(fake.files.replaceCalls, 0);
}

TEST_F(FileDropTest, FilesAfterARegistrationNeverOpenWithTheNextEntry) {
    fakes::SetSetting(state, &Settings::TargetDrop, "1");
    const DropOutcome outcome = DropAt(2, {"D:\\a.txt", "D:\\b.txt"});
    EXPECT_EQ(outcome.registered, (std::vector<int>{2, 1})) << "button 3 holds Calc: b goes to the first free slot";
    EXPECT_TRUE(fake.shell.opened.empty());
}

TEST_F(FileDropTest, ATargetDropOntoAGroupIsNoLaunch) {
    fakes::SetSetting(state, &Settings::TargetDrop, "1");
    const DropOutcome outcome = DropAt(4, {"D:\\a.txt"});
    EXPECT_TRUE(fake.shell.opened.empty());
    EXPECT_EQ(outcome.registered, std::vector<int>{1});
    EXPECT_EQ(Slot(4).PathName, "[Games]");
}

TEST_F(FileDropTest, NothingHappensOffTheButtonsOrWithoutFiles) {
    EXPECT_TRUE(DropAt(std::nullopt, {"D:\\a.txt"}).registered.empty());
    EXPECT_TRUE(DropAt(1, {}).registered.empty());
    EXPECT_EQ(fake.files.replaceCalls, 0);
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(Slot(1), LaunchEntry{});
}

TEST_F(FileDropTest, TheDropStopsAtTheEntryLimitWithItsMessage) {
    state.page.ShowFrom(990);
    state.entries.Reserve(995);
    const DropOutcome outcome = DropAt(8, {"D:\\a.txt", "D:\\b.txt", "D:\\c.txt", "D:\\d.txt"});
    EXPECT_EQ(outcome.registered, (std::vector<int>{998, 999}));
    EXPECT_TRUE(outcome.limitReached);
    ASSERT_EQ(fake.messages.shown.size(), 1u);
    EXPECT_EQ(fake.messages.shown[0].text, "現在の「たびめにゅ～２」は 登録アイテム数 1000 以下の仕様となっています");
    EXPECT_EQ(fake.messages.shown[0].icon, MessageIcon::Warning);
    EXPECT_EQ(state.entries.UpperBound(), 999);
    EXPECT_EQ(fake.files.replaceCalls, 1) << "what was registered is saved";

    // A full list has no free slot to fall back on either.
    ASSERT_TRUE(state.entries.Change([](ListEdit& edit) {
        for (LaunchEntry& entry : edit.Store().slots)
            if (entry.PathName.empty()) entry = {"x", "C:\\x.exe", "", "0", "C:\\x.exe", "0"};
    }));
    fake.messages.shown.clear();
    EXPECT_TRUE(DropAt(1, {"D:\\e.txt"}).limitReached);
    EXPECT_EQ(fake.messages.shown.size(), 1u);
    EXPECT_EQ(state.entries.UpperBound(), 999);
}
