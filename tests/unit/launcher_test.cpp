#include <gtest/gtest.h>

#include "app/entry_buttons.h"
#include "app/launcher.h"
#include "app/menu_main.h"
#include "fakes/bar_services_fake.h"
#include "fakes/fakes.h"

using namespace tavi;
using fakes::FakePlatform;

namespace {

class LaunchTest : public ::testing::Test {
protected:
    FakePlatform fake;
    fakes::FakeBarServices bar;
    fakes::FakeEntryButtons& buttons = bar.buttons;
    MenuMain state;
    BarListView view{state, bar};

    void SetUp() override {
        state.ApplicationPath = "C:\\Tavi";
        fakes::GiveEntries(state, fake.platform,
                           {
                               {"Memo", "C:\\Tools\\memo.exe", "/a", "1", "C:\\Tools\\memo.exe", "0"},
                               {"Gone", "C:\\Old\\gone.exe", "-x", "0", "C:\\icons\\gone.ico", "4"},
                               {"Next", "C:\\next.exe", "", "2", "C:\\next.exe", "0"},
                           });
        state.entries.AttachView(&view);
        fake.files.replaceCalls = 0;
    }
    std::string List() { return fake.files.files["C:\\Tavi\\Launch.ini"]; }
    bool Store(int index, const NewAppState& dialog) {
        return state.entries.Change([&](ListEdit& edit) { StoreEntry(edit, index, dialog); });
    }
};

}  // namespace

TEST_F(LaunchTest, OpensWithTheShellInTheEntrysFolderAndWindowState) {
    const struct {
        StartRequest request;
        const char* directory;
        ShowCommand show;
    } cases[] = {
        {{"C:\\Tools\\memo.exe", "/a", "1"}, "C:\\Tools", ShowCommand::Minimized},
        {{"C:\\Tools\\memo.exe", "", ""}, "C:\\Tools", ShowCommand::Normal},  // empty run type: normal
        {{"C:\\Tools\\memo.exe", "", "2"}, "C:\\Tools", ShowCommand::Maximized},
        {{"C:\\Tools\\memo.exe", "", "0"}, "C:\\Tools", ShowCommand::Normal},
        {{"C:\\Tools\\memo.exe", "", "7"}, "C:\\Tools", ShowCommand::Normal},  // hand-edited nonsense
        {{"C:\\Docs\\", "", "0"}, "C:\\Docs", ShowCommand::Normal},             // a folder opens in the shell
        {{"C:\\boot.ini", "", "0"}, "C:", ShowCommand::Normal},
        {{"notepad.exe", "x.txt", "0"}, "C:\\Work", ShowCommand::Normal},      // bare name: current folder
    };
    for (const auto& c : cases) {
        fake.shell.opened.clear();
        EXPECT_TRUE(StartEntry(fake.platform, c.request, [] { FAIL() << "nothing to delete"; }));
        ASSERT_EQ(fake.shell.opened.size(), 1u);
        const ShellOpenRequest& open = fake.shell.opened[0];
        EXPECT_EQ(open.verb, "open");
        EXPECT_EQ(open.file, c.request.path);
        EXPECT_EQ(open.parameters, c.request.parameters);
        EXPECT_EQ(open.directory, c.directory) << c.request.path;
        EXPECT_EQ(open.show, c.show) << "run type " << c.request.runType;
    }
    EXPECT_TRUE(fake.messages.shown.empty());
}

TEST_F(LaunchTest, ResultsFromThirtyThreeUpAreSuccesses) {
    for (int code : {33, 34, 42, 65535}) {
        fake.shell.result = code;
        EXPECT_TRUE(StartEntry(fake.platform, {"C:\\x.exe", "", "0"}, [] { FAIL() << "nothing to delete"; }))
            << code;
    }
    EXPECT_TRUE(fake.messages.shown.empty());
}

TEST_F(LaunchTest, OutOfResourcesIsReportedWithoutAnOfferToDelete) {
    fake.shell.result = 0;
    bool deleted = false;
    EXPECT_FALSE(StartEntry(fake.platform, {"C:\\x.exe", "", "0"}, [&] { deleted = true; }));
    ASSERT_EQ(fake.messages.shown.size(), 1u);
    EXPECT_EQ(fake.messages.shown[0].text, "C:\\x.exe起動失敗\r\nﾒﾓﾘまたはﾘｿｰｽが足りません");
    EXPECT_EQ(fake.messages.shown[0].icon, MessageIcon::Error);
    EXPECT_EQ(fake.messages.shown[0].buttons, MessageButtons::Ok);
    EXPECT_FALSE(deleted);
}

TEST_F(LaunchTest, AShellErrorOffersToDeleteAndNoKeepsTheEntry) {
    for (int code : {1, 2, 31, 32}) {
        fake.shell.result = code;
        fake.messages.shown.clear();
        fake.messages.answers = {MessageAnswer::No};
        EXPECT_FALSE(StartBarEntry(state, fake.platform, 1));
        ASSERT_EQ(fake.messages.shown.size(), 1u) << code;
        EXPECT_EQ(fake.messages.shown[0].text, "C:\\Old\\gone.exe起動失敗 ｴﾝﾄﾘｰを削除しますか");
        EXPECT_EQ(fake.messages.shown[0].icon, MessageIcon::Question);
        EXPECT_EQ(fake.messages.shown[0].buttons, MessageButtons::YesNo);
    }
    EXPECT_EQ(state.entries.At(1).Title, "Gone");
    EXPECT_EQ(fake.files.replaceCalls, 0);
    EXPECT_TRUE(buttons.calls.empty());
}

TEST_F(LaunchTest, YesEmptiesTheSlotKeepsItsIconAndRewritesTheList) {
    fake.shell.result = 2;
    fake.messages.answers = {MessageAnswer::Yes};
    fakes::SetSetting(state, &Settings::ToolTips, "1");
    state.page.ShowFrom(0);
    StartBarEntry(state, fake.platform, 1);

    EXPECT_EQ(state.entries.At(1), (LaunchEntry{"", "", "", "", "C:\\icons\\gone.ico", "4"}));
    EXPECT_EQ(List(),
              "Memo\r\nC:\\Tools\\memo.exe\r\n/a\r\n1\r\nC:\\Tools\\memo.exe\r\n0\r\n"
              "\r\n\r\n\r\n\r\nC:\\icons\\gone.ico\r\n4\r\n"
              "Next\r\nC:\\next.exe\r\n\r\n2\r\nC:\\next.exe\r\n0\r\n");
    EXPECT_EQ(buttons.calls, (std::vector<std::string>{"tip 1 ", "clear 1"}));
}

TEST_F(LaunchTest, WithNothingToDeleteAFailureIsOnlyReported) {
    fake.shell.result = 2;
    EXPECT_FALSE(StartEntry(fake.platform, {"C:\\gone.exe", "\"D:\\a b.txt\"", "0"}, nullptr));
    ASSERT_EQ(fake.messages.shown.size(), 1u);
    EXPECT_EQ(fake.messages.shown[0].text, "C:\\gone.exe起動失敗");
    EXPECT_EQ(fake.messages.shown[0].icon, MessageIcon::Error);
    EXPECT_EQ(fake.messages.shown[0].buttons, MessageButtons::Ok);
}

TEST_F(LaunchTest, StartingAnEntryThatIsNotThereDoesNothing) {
    EXPECT_FALSE(StartBarEntry(state, fake.platform, 9));
    EXPECT_TRUE(fake.shell.opened.empty());
}

TEST_F(LaunchTest, StoreEntryFillsTheSlotSavesAndRefreshesItsButton) {
    fakes::SetSetting(state, &Settings::ToolTips, "1");
    state.page.ShowFrom(2);
    // Past the end: the slots grow.
    ASSERT_TRUE(Store(5, {"  C:\\Apps\\ed.exe ", " Editor ", " -n ", false, 2}));
    ASSERT_TRUE(state.entries.Has(5));
    EXPECT_EQ(state.entries.At(5), (LaunchEntry{"Editor", "C:\\Apps\\ed.exe", "-n", "2", "C:\\Apps\\ed.exe", "0"}));
    EXPECT_EQ(buttons.calls, (std::vector<std::string>{"tip 3 Editor", "icon 3 cached"}));
    EXPECT_NE(List().find("Editor\r\nC:\\Apps\\ed.exe\r\n-n\r\n2\r\nC:\\Apps\\ed.exe\r\n0\r\n"), std::string::npos);
}

TEST_F(LaunchTest, StoreEntryForGroupsAndKeptIcons) {
    fakes::SetSetting(state, &Settings::ToolTips, "0");
    // Entry 1 has its own icon already.
    ASSERT_TRUE(Store(1, {"Games", "ｹﾞｰﾑ", "", true, -1}));
    EXPECT_EQ(state.entries.At(1), (LaunchEntry{"ｹﾞｰﾑ", "[Games]", "", "0", "C:\\icons\\gone.ico", "4"}));
    EXPECT_EQ(buttons.calls, (std::vector<std::string>{"tip 1 ", "icon 1 cached"}));

    LaunchEntry withoutIcon = state.entries.At(2);
    withoutIcon.IconPath = "";
    fakes::PutEntry(state, 2, withoutIcon);
    ASSERT_TRUE(Store(2, {"Tools", "T", "", true, 0}));
    EXPECT_EQ(state.entries.At(2).IconPath, "");  // a group gets no icon from its name
    EXPECT_EQ(state.entries.At(2).IconIndex, "0");
    EXPECT_TRUE(IsGroupPath(state.entries.At(2).PathName));

    const int writes = fake.files.replaceCalls;
    ASSERT_TRUE(Store(2, {"   ", "x", "", false, 0}));  // no program: nothing stored
    EXPECT_EQ(fake.files.replaceCalls, writes);
}
