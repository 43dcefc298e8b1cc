// A folder entry's menu beside the bar, on the side away from the screen edge:
//
//   left bar          right bar            top bar              bottom bar
//   |bar|+-----        -----+|bar|         [bar][btn][bar]      +-----
//   |btn||menu          menu||btn|               +-----         |menu
//   |bar|+-----        -----+|bar|               |menu          [bar][btn][bar]
//
// The menu's corner touches the bar where the button is; the bar stays clear.
#include <gtest/gtest.h>

#include <stdexcept>

#include "bar/folder_menu_opening.h"
#include "fakes/bar_services_fake.h"

using namespace tavi;

namespace {

class RecordingMenus final : public FolderMenuWindow {
public:
    explicit RecordingMenus(std::vector<std::string>& log) : log_(log) {}
    std::vector<FolderMenuAnchor> anchors;
    bool throwInside = false;

    bool Run(const std::string& folder, const FolderMenuAnchor& anchor, bool byKeys) override {
        log_.push_back("menu " + folder + (byKeys ? " by keys" : ""));
        anchors.push_back(anchor);
        if (throwInside) throw std::runtime_error("a failing menu");
        return true;
    }

private:
    std::vector<std::string>& log_;
};

}  // namespace

TEST(FolderMenuPlacement, BesideTheBarAwayFromTheScreenEdgeInLineWithTheButton) {
    const Rect button{10, 300, 42, 332};
    const struct {
        DockEdge edge;
        Rect bar;
        FolderMenuAnchor expected;
    } cases[] = {
        {DockEdge::Left, {0, 0, 52, 1024}, {52, 300, MenuSide::Right, {0, 0, 52, 1024}}},
        {DockEdge::Right, {1228, 0, 1280, 1024}, {1228, 300, MenuSide::Left, {1228, 0, 1280, 1024}}},
        {DockEdge::Top, {0, 0, 1280, 52}, {10, 52, MenuSide::Below, {0, 0, 1280, 52}}},
        {DockEdge::Bottom, {0, 972, 1280, 1024}, {10, 972, MenuSide::Above, {0, 972, 1280, 1024}}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FolderMenuBeside(c.edge, c.bar, button), c.expected) << static_cast<int>(c.edge);
}

class FolderMenuOpeningTest : public ::testing::Test {
protected:
    fakes::FakePlatform fake;
    MenuMain state;
    std::vector<std::string> log;
    fakes::FakeBarServices bar{log};
    RecordingMenus menus{log};

    void SetUp() override {
        state.ApplicationPath = "C:\\Tavi";
        state.page.ShowFrom(10);
        std::vector<LaunchEntry> entries(14);
        entries[11] = {"Tools", "[Tools]", "", "3", "", "0"};
        entries[12] = {"Docs", " D:\\Docs\\ ", "", "3", "", "0"};
        entries[13] = {"Docs too", "D:\\Docs\\", "", "0", "", "0"};
        fakes::GiveEntries(state, fake.platform, entries);
        bar.windowRect = {1239, 0, 1280, 1024};
        fakes::SetSetting(state, &Settings::Horizontal, "0");
        fakes::SetSetting(state, &Settings::EdgeCode, "2");  // the right edge
    }
};

TEST_F(FolderMenuOpeningTest, PausesTheTimerAndShowsTheFolderBesideItsButton) {
    OpenFolderMenu(bar, state, menus, 2, true);
    EXPECT_EQ(log, (std::vector<std::string>{"timer pause", "menu D:\\Docs\\ by keys", "timer resume"}));
    EXPECT_EQ(state.page.CurrentEntry(), 12);
    // The fake bar's button 2 is at x 64..96, y 0..32.
    ASSERT_EQ(menus.anchors.size(), 1u);
    EXPECT_EQ(menus.anchors[0], (FolderMenuAnchor{1239, 0, MenuSide::Left, {1239, 0, 1280, 1024}}));
}

TEST_F(FolderMenuOpeningTest, OnlyFoldersShownAsMenusOpenAndEveryWayOutResumesTheTimer) {
    OpenFolderMenu(bar, state, menus, 1);   // a group, whatever its run type
    OpenFolderMenu(bar, state, menus, 3);   // a folder opened in the explorer
    OpenFolderMenu(bar, state, menus, 50);  // past the list
    EXPECT_TRUE(log.empty());

    menus.throwInside = true;
    EXPECT_ANY_THROW(OpenFolderMenu(bar, state, menus, 2));
    EXPECT_EQ(log, (std::vector<std::string>{"timer pause", "menu D:\\Docs\\", "timer resume"}));

    log.clear();
    menus.throwInside = false;
    state.Closing = true;
    OpenFolderMenu(bar, state, menus, 2);
    EXPECT_EQ(log, (std::vector<std::string>{"timer pause", "menu D:\\Docs\\"})) << "a closing bar keeps its timer off";
}
