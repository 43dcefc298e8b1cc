#include <gtest/gtest.h>

#include <functional>
#include <optional>

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
    // How a start ended, as its `over` was told; none while the shell has not come back.
    std::optional<bool> Start(const StartRequest& request, std::function<void()> deleteEntry) {
        std::optional<bool> ended;
        StartEntry(fake.platform, request, std::move(deleteEntry), [&ended](bool started) { ended = started; });
        return ended;
    }
    std::optional<bool> StartBar(int index) {
        std::optional<bool> ended;
        StartBarEntry(state, fake.platform, index, [&ended](bool started) { ended = started; });
        return ended;
    }
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
        EXPECT_EQ(Start(c.request, [] { FAIL() << "nothing to delete"; }), true);
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
        EXPECT_EQ(Start({"C:\\x.exe", "", "0"}, [] { FAIL() << "nothing to delete"; }), true)
            << code;
    }
    EXPECT_TRUE(fake.messages.shown.empty());
}

TEST_F(LaunchTest, OutOfResourcesIsReportedWithoutAnOfferToDelete) {
    fake.shell.result = 0;
    bool deleted = false;
    EXPECT_EQ(Start({"C:\\x.exe", "", "0"}, [&] { deleted = true; }), false);
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
        EXPECT_EQ(StartBar(1), false);
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
    EXPECT_EQ(Start({"C:\\gone.exe", "\"D:\\a b.txt\"", "0"}, nullptr), false);
    ASSERT_EQ(fake.messages.shown.size(), 1u);
    EXPECT_EQ(fake.messages.shown[0].text, "C:\\gone.exe起動失敗");
    EXPECT_EQ(fake.messages.shown[0].icon, MessageIcon::Error);
    EXPECT_EQ(fake.messages.shown[0].buttons, MessageButtons::Ok);
}

TEST_F(LaunchTest, StartingAnEntryThatIsNotThereDoesNothing) {
    EXPECT_EQ(StartBar(9), false);
    EXPECT_TRUE(fake.shell.opened.empty());
}

// The shell comes back after the click, when other events have run: the
// offer to delete acts only on the entry still there as it was, and only a
// start that came back started is counted.
TEST_F(LaunchTest, AStartThatComesBackLateActsOnlyOnTheEntryAsItWas) {
    struct Counted final : StartLog {
        std::vector<std::string> paths;
        void Started(std::string_view path, std::string_view) override { paths.emplace_back(path); }
    };
    const struct {
        const char* name;
        int result;
        std::function<void(ListEdit&)> meanwhile;
        const char* titles;  // of the first four slots, after
        size_t counted;
    } cases[] = {
        {"started", 42, nullptr, "Memo|Gone|Next|", 1},
        {"failed, as it was: emptied", 2, nullptr, "Memo||Next|", 0},
        {"failed, edited meanwhile: kept", 2, [](ListEdit& edit) { edit.Slot(1).Command = "-y"; }, "Memo|Gone|Next|", 0},
        {"failed, moved away meanwhile: nothing emptied", 2, [](ListEdit& edit) { edit.Move(1, 3); }, "Memo||Next|Gone",
         0},
    };
    for (const auto& c : cases) {
        SetUp();
        Counted counted;
        state.starts = &counted;
        fake.shell.hold = true;
        fake.shell.held.clear();
        fake.messages.answers = {MessageAnswer::Yes};
        const std::optional<bool> ended = StartBar(1);
        EXPECT_FALSE(ended) << c.name << ": not told before the shell comes back";
        if (c.meanwhile) ASSERT_TRUE(state.entries.Change(c.meanwhile)) << c.name;
        ASSERT_EQ(fake.shell.held.size(), 1u) << c.name;
        fake.shell.held[0](c.result);
        std::string titles;
        for (int i = 0; i < 4; ++i)
            titles += (i ? "|" : "") + (state.entries.Has(i) ? state.entries.At(i).Title : std::string());
        EXPECT_EQ(titles, c.titles) << c.name;
        EXPECT_EQ(counted.paths.size(), c.counted) << c.name;
        state.starts = nullptr;
    }
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
