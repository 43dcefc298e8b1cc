#include <gtest/gtest.h>

#include "platform/text.h"
#include "fakes/desktop_fakes.h"
#include "fakes/menu_fakes.h"
#include "menus/desktop_items.h"
#include "menus/desktop_list_handlers.h"
#include "menus/wallpapers.h"

using namespace tavi;
using Log = std::vector<std::string>;

namespace {

class WallpaperTest : public ::testing::Test {
protected:
    Log log;
    fakes::FakePlatform fake;
    fakes::FakeFolderListing folders;
    fakes::FakeDesktopParameters desktop{log};
    MenuMain state;
    RunTimeList list;
    WallpaperPorts ports{fake.system, fake.profile, folders, desktop};

    void SetUp() override {
        folders.folders["C:\\WINDOWS"] = {".", "..", "Clouds.bmp", "Long Name.BMP", "TILE.BMP"};
        folders.shortNames["C:\\WINDOWS\\Long Name.BMP"] = "C:\\WINDOWS\\LONGNA~1.BMP";
    }
    std::vector<bool> Checks() const {
        std::vector<bool> checks;
        for (const ListItem& item : list.items) checks.push_back(item.checked);
        return checks;
    }
    // Three bitmaps A, B, C in the Windows folder, B the wallpaper now.
    void ThreeBitmapsFromB(const char* minutes) {
        folders.folders["C:\\WINDOWS"] = {"A.bmp", "B.bmp", "C.bmp"};
        desktop.wallpaper = "C:\\WINDOWS\\B.bmp";
        fakes::SetSetting(state, &Settings::WallPaperChengeTimer, minutes);
        BuildWallpaperMenu(state, list, ports);
        ASSERT_EQ(state.wallpaper.Position(), 2);
        log.clear();
    }
    // What each of `ticks` ticks set ("" when it set nothing).
    std::vector<std::string> Ticks(int ticks) {
        std::vector<std::string> set;
        for (int i = 0; i < ticks; ++i) {
            log.clear();
            TimWallPaperTick(state, desktop);
            set.push_back(log.empty() ? "" : log.at(0).substr(log.at(0).rfind('\\') + 1));
        }
        return set;
    }
};

}  // namespace

TEST_F(WallpaperTest, ListsTheWindowsBitmapsByShortPathAndChecksTheCurrentOne) {
    const struct {
        const char* current;
        std::vector<bool> checks;
        int position;  // 7: kept from before
    } cases[] = {
        {"", {true, false, false, false}, 0},
        {"(なし)", {true, false, false, false}, 0},
        {" c:\\windows\\longna~1.bmp ", {false, false, true, false}, 2},  // any case, trimmed
        {"C:\\WINDOWS\\Clouds.bmp", {false, true, false, false}, 1},
        {"C:\\WINDOWS\\TILE.BMP", {false, false, false, true}, 3},
        {"C:\\WINDOWS\\Long Name.BMP", {false, false, false, false}, 7},  // a long path names no item
        {"D:\\Pictures\\cat.bmp", {false, false, false, false}, 7},
    };
    for (const auto& c : cases) {
        desktop.wallpaper = c.current;
        state.wallpaper.ShowsItem(7);
        BuildWallpaperMenu(state, list, ports);
        ASSERT_EQ(list.items.size(), 4u);
        EXPECT_EQ(list.items[0].caption, "(なし)");
        EXPECT_EQ(list.items[1].caption, "Clouds");
        EXPECT_EQ(list.items[2].caption, "Long Name");
        EXPECT_EQ(list.items[3].caption, "TILE");
        EXPECT_EQ(Checks(), c.checks) << c.current;
        EXPECT_EQ(state.wallpaper.Position(), c.position) << c.current;
        EXPECT_EQ(state.wallpaper.Paths(), (std::vector<std::string>{"(なし)", "C:\\WINDOWS\\Clouds.bmp",
                                                                  "C:\\WINDOWS\\LONGNA~1.BMP", "C:\\WINDOWS\\TILE.BMP"}));
        for (size_t i = 0; i < list.items.size(); ++i) EXPECT_EQ(list.items[i].path, state.wallpaper.Paths()[i]);
    }
    EXPECT_EQ(folders.queries.back(), "C:\\WINDOWS|*.bmp");
}

TEST_F(WallpaperTest, WinIniIsReadOnlyWhenTheSystemCannotTell) {
    fake.profile.Set("C:\\WINDOWS\\win.ini", "Desktop", "Wallpaper", "C:\\WINDOWS\\TILE.BMP");
    desktop.wallpaper = "C:\\WINDOWS\\Clouds.bmp";
    EXPECT_EQ(CurrentWallpaper(ports), "C:\\WINDOWS\\Clouds.bmp");
    EXPECT_TRUE(fake.profile.calls.empty());
    desktop.wallpaper = std::nullopt;
    EXPECT_EQ(CurrentWallpaper(ports), "C:\\WINDOWS\\TILE.BMP");
    BuildWallpaperMenu(state, list, ports);
    EXPECT_EQ(Checks(), (std::vector<bool>{false, false, false, true}));
    fake.system.windowsDirectory = "";
    EXPECT_EQ(CurrentWallpaper(ports), "");
}

TEST_F(WallpaperTest, WithoutAWindowsFolderOnlyNoneIsListed) {
    fake.system.windowsDirectory = "";
    list.items.resize(5);
    BuildWallpaperMenu(state, list, ports);
    EXPECT_EQ(list.items, (std::vector<ListItem>{{"(なし)", "(なし)", true, true}}));
    EXPECT_EQ(state.wallpaper.Paths(), std::vector<std::string>{"(なし)"});
}

TEST_F(WallpaperTest, ChoosingAnItemSetsItChecksItAndRotatesOnFromTheNextButOne) {
    ThreeBitmapsFromB("1");
    SelectWallPaper(state, list, 1, desktop);
    EXPECT_EQ(log, Log{"set wallpaper C:\\WINDOWS\\A.bmp"});
    EXPECT_EQ(Checks(), (std::vector<bool>{false, true, false, false}));
    EXPECT_EQ(state.wallpaper.Position(), 2);
    EXPECT_EQ(Ticks(2), (std::vector<std::string>{"C.bmp", "A.bmp"}));

    SelectWallPaper(state, list, 3, desktop);  // the last item: the rotation wraps to the first
    EXPECT_EQ(Ticks(1), std::vector<std::string>{"A.bmp"});
}

TEST_F(WallpaperTest, ChoosingNoneRemovesTheWallpaperAndTheNextListChecksNone) {
    ThreeBitmapsFromB("1");
    SelectWallPaper(state, list, 0, desktop);
    EXPECT_EQ(log, Log{"set wallpaper "}) << "an empty path removes the wallpaper";
    EXPECT_EQ(desktop.wallpaper, "");
    BuildWallpaperMenu(state, list, ports);
    EXPECT_EQ(Checks(), (std::vector<bool>{true, false, false, false}));
    EXPECT_EQ(state.wallpaper.Position(), 0);
    EXPECT_EQ(Ticks(1), std::vector<std::string>{"A.bmp"}) << "the rotation starts from the first bitmap";
}

TEST_F(WallpaperTest, AWallpaperTheSystemRefusedIsNotMarkedChosen) {
    ThreeBitmapsFromB("1");
    desktop.failSets = true;
    SelectWallPaper(state, list, 3, desktop);
    EXPECT_EQ(Checks(), (std::vector<bool>{false, false, true, false}));
    EXPECT_EQ(state.wallpaper.Position(), 2);
}

TEST_F(WallpaperTest, TheTimerRotatesEveryGivenNumberOfMinutes) {
    const struct {
        const char* minutes;
        std::vector<std::string> set;
    } cases[] = {
        {"1", {"C.bmp", "A.bmp", "B.bmp", "C.bmp", "A.bmp", "B.bmp"}},
        {"0", {"C.bmp", "A.bmp", "B.bmp", "C.bmp", "A.bmp", "B.bmp"}},
        {"", {"C.bmp", "A.bmp", "B.bmp", "C.bmp", "A.bmp", "B.bmp"}},
        {"2", {"", "C.bmp", "", "A.bmp", "", "B.bmp"}},
        {" 3 ", {"", "", "C.bmp", "", "", "A.bmp"}},
        {"10", {"", "", "", "", "", ""}},
    };
    for (const auto& c : cases) {
        state.wallpaper.RestartClock();
        ThreeBitmapsFromB(c.minutes);
        EXPECT_EQ(Ticks(6), c.set) << "every " << c.minutes;
    }
}

TEST_F(WallpaperTest, TwoBitmapsAlternateAndAnEmptyListOnlyResetsTheCount) {
    folders.folders["C:\\WINDOWS"] = {"A.bmp", "B.bmp"};
    desktop.wallpaper = "C:\\WINDOWS\\A.bmp";
    fakes::SetSetting(state, &Settings::WallPaperChengeTimer, "1");
    BuildWallpaperMenu(state, list, ports);
    EXPECT_EQ(Ticks(3), (std::vector<std::string>{"B.bmp", "A.bmp", "B.bmp"}));

    folders.folders["C:\\WINDOWS"] = {};
    BuildWallpaperMenu(state, list, ports);
    state.wallpaper.RestartClock();
    EXPECT_EQ(Ticks(2), (std::vector<std::string>{"", ""}));
    EXPECT_EQ(state.wallpaper.Minutes(), 0);
    EXPECT_EQ(state.wallpaper.Position(), 1);
}

TEST(ScreenSaverChoice, WritesSystemIniAndSwitchesTheSaverOn) {
    Log log;
    fakes::FakePlatform fake;
    fakes::FakeDesktopParameters desktop(log);
    const std::string ini = "C:\\WINDOWS\\system.ini";
    RunTimeList list;
    list.items = {{"(なし)", "(なし)", true, true}, {"Mystify", "C:\\WINDOWS\\MYSTIFY.SCR"}, {"Long", "C:\\LONGNA~1.SCR"}};

    SelectScreenSaver(list, 2, fake.system, fake.profile, desktop);
    EXPECT_EQ(fake.profile.GetString(ini, "boot", "SCRNSAVE.EXE"), "C:\\LONGNA~1.SCR");
    EXPECT_EQ(log, Log{"screen saver on"});
    EXPECT_EQ(list.items[0].checked, false);
    EXPECT_EQ(list.items[2].checked, true);

    log.clear();
    SelectScreenSaver(list, 0, fake.system, fake.profile, desktop);
    EXPECT_EQ(fake.profile.values.count(ToUpperAscii(ini + "|boot|SCRNSAVE.EXE")), 0u) << "(なし) deletes the key";
    EXPECT_EQ(fake.profile.calls.back().operation, "delete-key");
    EXPECT_EQ(log, Log{"screen saver on"}) << "and still switches the saver on";
    EXPECT_EQ(list.items[0].checked, true);
    EXPECT_EQ(list.items[2].checked, false);

    fake.system.windowsDirectory = "";
    log.clear();
    fake.profile.calls.clear();
    SelectScreenSaver(list, 1, fake.system, fake.profile, desktop);
    EXPECT_TRUE(log.empty());
    EXPECT_TRUE(fake.profile.calls.empty()) << "no Windows folder: nothing happens";
    EXPECT_EQ(list.items[0].checked, true);
}

TEST(DeskTopItem, OpensTheItemItselfInItsFolder) {
    fakes::FakeShell shell;
    RunTimeList list;
    list.items = {{"Mail", "C:\\Users\\me\\Desktop\\Mail.lnk"}, {"(なし)", ""}};
    OpenDeskTopItem(list, 0, shell);
    OpenDeskTopItem(list, 1, shell);
    OpenDeskTopItem(list, 2, shell);
    ASSERT_EQ(shell.opened.size(), 1u);
    const ShellOpenRequest& r = shell.opened[0];
    EXPECT_EQ(r.verb, "Open");
    EXPECT_EQ(r.file, "C:\\Users\\me\\Desktop\\Mail.lnk");
    EXPECT_EQ(r.parameters, "");
    EXPECT_EQ(r.directory, "C:\\Users\\me\\Desktop");
    EXPECT_EQ(r.show, ShowCommand::Normal);

    const std::pair<const char*, const char*> folders[] = {
        {"C:\\Users\\me\\Desktop\\ﾒﾓ.txt", "C:\\Users\\me\\Desktop"},
        {"\\\\server\\share\\x.doc", "\\\\server\\share"},
        {"C:\\x.txt", "C:"},
        {"nofolder.txt", ""},
    };
    for (const auto& [path, folder] : folders) EXPECT_EQ(DeskTopItemFolder(path), folder) << path;
}

namespace {

// The items of submenu `name` as shown: "* " before a checked caption, "-" for a separator.
std::vector<std::string> Shown(const std::vector<MenuItem>& items, std::string_view name) {
    for (const MenuItem& item : items) {
        if (item.name == name) {
            std::vector<std::string> shown;
            for (const MenuItem& child : item.children)
                shown.push_back(child.separator ? "-" : (child.checked ? "* " : "  ") + child.caption);
            return shown;
        }
        if (std::vector<std::string> inner = Shown(item.children, name); !inner.empty()) return inner;
    }
    return {};
}

}  // namespace

// The menus' command core with the real handlers: what the user sees in the
// tray menu and what a click on it does.
TEST(DesktopListHandlers, TheTrayMenuListsAndSetsWallpapersAndDisplayModes) {
    fakes::MenuFixture f;
    fakes::FakeDesktopParameters desktop(f.log);
    fakes::FakeDisplayModes display(f.log);
    fakes::FakeSystemRestart restart(f.log);
    fakes::FakeRebootPrompt prompt(f.log);
    DesktopListHandlers handlers(
        DesktopListPorts{f.state, f.fake.platform, f.folders, desktop, display, restart, prompt, f.bar});
    MenuCommands commands(
        MenuCommandPorts{f.state, f.fake.platform, f.bar, f.windows, f.system, f.folders, f.media, handlers});
    f.folders.folders["C:\\WINDOWS"] = {"A.bmp", "B.bmp"};
    desktop.wallpaper = "C:\\WINDOWS\\B.bmp";
    display.modes = {{800, 600, 32, 0}, {1024, 768, 32, 0}};
    display.current = {1024, 768, 32, 60};
    handlers.AttachDisplayList(commands.Lists().displayModes);
    handlers.SetChgDisplay();

    const MenuModel tray = commands.PrepareTrayMenu();
    EXPECT_EQ(Shown(tray.items, "mnuPopupWallPaper"), (std::vector<std::string>{"  (なし)", "  A", "* B"}));
    EXPECT_EQ(Shown(tray.items, "mnuPopupDisplay"),
              (std::vector<std::string>{"  ﾃﾞｨｽﾌﾟﾚｲﾌﾟﾛﾊﾟﾃｨの設定...", "-", "   800x600 (32 ﾋﾞｯﾄ)",
                                        "*  1024x768 (32 ﾋﾞｯﾄ)"}));

    f.log.clear();
    EXPECT_EQ(commands.Dispatch(ListItemId(ListKind::WallPapers, 1)), DispatchResult::Done);
    EXPECT_EQ(commands.Dispatch(ListItemId(ListKind::DisplayModes, 2)), DispatchResult::Done);
    EXPECT_EQ(f.log, (Log{"set wallpaper C:\\WINDOWS\\A.bmp", "timer pause", "test 800x600@32/0",
                          "apply 800x600@32/0", "bar redock force", "timer resume"}));
    EXPECT_TRUE(commands.Lists().displayModes.items[2].checked);
    EXPECT_EQ(f.state.wallpaper.Position(), 2);
}
