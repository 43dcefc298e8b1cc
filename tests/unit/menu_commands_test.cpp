#include <gtest/gtest.h>

#include <functional>
#include <tuple>

#include "platform/messages.h"
#include "fakes/menu_fakes.h"
#include "platform/ui_text.h"

using namespace tavi;
using C = MenuCommand;

namespace {

class MenuCommandTest : public ::testing::Test {
protected:
    fakes::MenuFixture f;

    void SetUp() override {
        f.state.ApplicationPath = "C:\\Tavi";
        f.state.entries.SetExMenuMax(0);
        fakes::GiveEntries(f.state, f.fake.platform,
                           {{"Memo", "C:\\Tools\\memo.exe", "", "0", "", "0"},
                            {"Docs", "C:\\My Docs,2024\\a.txt", "", "0", "", "0"},
                            {},
                            {"Odd", "C:\\a\"b\\x.exe", "", "0", "", "0"}});
        f.state.entries.Reserve(4);
        f.state.RemovableDrives = {"E:\\"};
        f.fake.files.files["C:\\Tavi\\TaviSearch.exe"] = "";
    }
    // A command of either menu, the entry menu opened on `entry`.
    DispatchResult Run(C command, int entry = 0) {
        (void)f.commands.PrepareEntryMenu(entry);
        f.log.clear();
        return f.commands.Dispatch(static_cast<uint32_t>(command));
    }
    std::vector<std::string> Opened() {
        std::vector<std::string> opened;
        for (const ShellOpenRequest& r : f.fake.shell.opened)
            opened.push_back(r.verb + "|" + r.file + "|" + r.parameters + "|" + r.directory + "|" +
                             std::to_string(static_cast<int>(r.show)));
        f.fake.shell.opened.clear();
        return opened;
    }
};

using Log = std::vector<std::string>;

}  // namespace

TEST_F(MenuCommandTest, EachCommandCallsWhatItStandsFor) {
    const struct {
        C command;
        int entry;
        Log log;
    } cases[] = {
        {C::mnuAppNewIn, 2, {"timer pause", "window NewApp 2", "timer resume"}},
        {C::mnuAppin, 0, {"timer pause", "window NewApp 0", "timer resume"}},
        {C::mnuAppMove, 3, {"bar move 3"}},
        {C::mnuAppProperty, 0, {"timer pause", "window FileInformation 0", "timer resume"}},
        {C::mnuAppOption, 0, {"timer pause", "window OptionSet", "timer resume", "bar repaint"}},
        {C::mnuAppReDraw, 0, {"bar redraw"}},
        {C::mnuAppControlPanel, 0, {"run \"C:\\WINDOWS\\system32\\rundll32.exe\" shell32.dll,Control_RunDLL"}},
        {C::mnuPopupControlPanel, 0, {"run \"C:\\WINDOWS\\system32\\rundll32.exe\" shell32.dll,Control_RunDLL"}},
        {C::mnuAppWizard, 0, {"run \"C:\\WINDOWS\\system32\\rundll32.exe\" shell32.dll,Control_RunDLL appwiz.cpl"}},
        {C::mnuPopupAppWizard, 0, {"run \"C:\\WINDOWS\\system32\\rundll32.exe\" shell32.dll,Control_RunDLL appwiz.cpl"}},
        {C::mnuAppPrint, 0, {"timer pause", "printer 4660", "timer resume"}},
        {C::mnuPopupPrint, 0, {"timer pause", "printer 4660", "timer resume"}},
        {C::mnuNetWork, 0, {"timer pause", "net connect 4660", "timer resume"}},
        {C::mnuPopupNetWork, 0, {"timer pause", "net connect 4660", "timer resume"}},
        {C::mnuNetWorkClose, 0, {"timer pause", "net disconnect 4660", "timer resume"}},
        {C::mnuPopupNetWorkClose, 0, {"timer pause", "net disconnect 4660", "timer resume"}},
        {C::mnuFormat, 0, {"timer pause", "window FDFormat", "timer resume"}},
        {C::mnuPopupFormat, 0, {"timer pause", "window FDFormat", "timer resume"}},
        {C::mnuPopupImport, 0, {"timer pause", "window ImportShortcuts", "timer resume"}},
        {C::mnuMediaOut, 0, {"mci set cdaudio door open"}},
        {C::mnuPopupMediaOut, 0, {"mci set cdaudio door open"}},
        {C::mnuMediaClose, 0, {"mci set cdaudio door closed"}},
        {C::mnuPopupMediaClose, 0, {"mci set cdaudio door closed"}},
        {C::mnuMOEject, 0, {"eject force"}},
        {C::mnuPopUpMOEject, 0, {"eject force"}},
        {C::mnuPopupMemorySpace, 0, {"window MemorySpaceDialog"}},
        {C::mnuPopupEntrySearch, 0, {"window EntrySearchDialog"}},
        {C::mnuShutDown, 0, {"progman close"}},
        {C::mnuPopupShutDown, 0, {"progman close"}},
        {C::mnuExit, 0, {"bar close"}},
        {C::mnuPopupExit, 0, {"bar close"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Run(c.command, c.entry), DispatchResult::Done) << static_cast<int>(c.command);
        EXPECT_EQ(f.log, c.log) << static_cast<int>(c.command);
    }
    EXPECT_TRUE(f.fake.shell.opened.empty());
}

TEST_F(MenuCommandTest, FolderSearchAndHelpOpenThroughTheShell) {
    const struct {
        C command;
        int entry;
        const char* opened;
    } cases[] = {
        {C::mnuFolder, 0, "open|C:\\WINDOWS\\explorer.exe|C:\\Tools|C:\\Tavi|1"},
        {C::mnuPopupFolder, 0, "open|C:\\WINDOWS\\explorer.exe|C:\\Tools|C:\\Tavi|1"},
        {C::mnuFolder, 1, "open|C:\\WINDOWS\\explorer.exe|\"C:\\My Docs,2024\"|C:\\Tavi|1"},  // a comma would split it
        {C::mnuFolder, 2, "open|C:\\WINDOWS\\explorer.exe|C:\\|C:\\Tavi|1"},                  // no path: the system drive
        {C::mnuFolder, 9, "open|C:\\WINDOWS\\explorer.exe|C:\\|C:\\Tavi|1"},
        {C::mnuFolder, 3, "open|C:\\WINDOWS\\explorer.exe|C:\\|C:\\Tavi|1"},                  // a quote is no folder
        {C::mnuAppSearch, 0, "open|C:\\Tavi\\TaviSearch.exe||C:\\Tavi|1"},
        {C::mnuPopupSearch, 0, "open|C:\\Tavi\\TaviSearch.exe||C:\\Tavi|1"},
        {C::mnuHelp, 0, "open|C:\\Tavi\\TaviMenu2.html||C:\\Tavi|1"},
        {C::mnuPopUpHelp, 0, "open|C:\\Tavi\\TaviMenu2.html||C:\\Tavi|1"},
        {C::mnuPopupBackup, 0, "open|C:\\WINDOWS\\explorer.exe|C:\\Tavi\\backup|C:\\Tavi|1"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Run(c.command, c.entry), DispatchResult::Done);
        EXPECT_EQ(Opened(), Log{c.opened}) << static_cast<int>(c.command) << " at " << c.entry;
    }
}

TEST_F(MenuCommandTest, HelpOpensThePageOfTheLanguageOrElseTheJapaneseOne) {
    const struct {
        const char* language;
        bool englishPresent;
        const char* opened;
    } cases[] = {
        {"ja", true, "C:\\Tavi\\TaviMenu2.html"},
        {"en", true, "C:\\Tavi\\TaviMenu2.en.html"},
        {"en", false, "C:\\Tavi\\TaviMenu2.html"},
    };
    for (const auto& c : cases) {
        UseLanguage(*LanguageNamed(c.language));
        f.fake.files.files.erase("C:\\Tavi\\TaviMenu2.en.html");
        if (c.englishPresent) f.fake.files.files["C:\\Tavi\\TaviMenu2.en.html"] = "";
        EXPECT_EQ(Run(C::mnuPopUpHelp), DispatchResult::Done);
        EXPECT_EQ(Opened(), Log{std::string("open|") + c.opened + "||C:\\Tavi|1"}) << c.language << c.englishPresent;
    }
    UseLanguage(0);
}

TEST_F(MenuCommandTest, TheBackupItemMakesTheFolderBeforeTheExplorerOpensIt) {
    const struct {
        const char* programFolder;
        const char* made;
        const char* opened;  // nullptr: nothing opened
    } cases[] = {
        {"C:\\Tavi", "C:\\Tavi\\backup", "open|C:\\WINDOWS\\explorer.exe|C:\\Tavi\\backup|C:\\Tavi|1"},
        {"C:\\Tavi\\", "C:\\Tavi\\backup", "open|C:\\WINDOWS\\explorer.exe|C:\\Tavi\\backup|C:\\Tavi\\|1"},
        {"C:\\My,Tools", "C:\\My,Tools\\backup", "open|C:\\WINDOWS\\explorer.exe|\"C:\\My,Tools\\backup\"|C:\\My,Tools|1"},
        {"C:\\a\"b", "C:\\a\"b\\backup", nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.programFolder);
        f.state.ApplicationPath = c.programFolder;
        f.folders.made.clear();
        EXPECT_EQ(Run(C::mnuPopupBackup), DispatchResult::Done);
        EXPECT_EQ(Opened(), c.opened ? Log{c.opened} : Log{});
        EXPECT_EQ(f.folders.made, Log{c.made});
    }
    // A folder that cannot be made is still offered: the explorer says why it cannot show it.
    f.state.ApplicationPath = "C:\\Tavi";
    f.folders.makeFails = true;
    EXPECT_EQ(Run(C::mnuPopupBackup), DispatchResult::Done);
    EXPECT_EQ(Opened(), Log{"open|C:\\WINDOWS\\explorer.exe|C:\\Tavi\\backup|C:\\Tavi|1"});
}

TEST_F(MenuCommandTest, TrayOptionsTriesThreeTimesThenReports) {
    f.windows.optionResults = {339, 339, 339};
    Run(C::mnuPopupOption);
    EXPECT_EQ(f.log, (Log{"timer pause", "window OptionSet", "wait 500", "window OptionSet", "wait 500",
                          "window OptionSet", "timer resume"}));
    ASSERT_EQ(f.fake.messages.shown.size(), 1u);
    EXPECT_EQ(f.fake.messages.shown[0].text,
              "注意！！　ｺﾝﾄﾛｰﾙの読み込みに失敗しました Err#:339\r\nﾒﾆｭｰ上でｵﾌﾟｼｮﾝを選択してみてください");
    EXPECT_EQ(f.fake.messages.shown[0].icon, MessageIcon::Error);
    EXPECT_EQ(f.fake.messages.shown[0].buttons, MessageButtons::Ok);

    f.fake.messages.shown.clear();
    f.windows.optionResults = {7, 0};
    Run(C::mnuPopupOption);
    EXPECT_EQ(f.log, (Log{"timer pause", "window OptionSet", "wait 500", "window OptionSet", "timer resume"}));
    EXPECT_TRUE(f.fake.messages.shown.empty());
}

TEST_F(MenuCommandTest, PreparingAMenuRebuildsTheListsAndPicksTheEntry) {
    f.fake.system.drives = {{"C:\\", DriveType::Fixed, "ﾛｰｶﾙ ﾃﾞｨｽｸ (C:)"}};
    f.folders.folders[f.folders.desktop] = {"Mail.lnk", "Work"};
    f.folders.folders["C:\\WINDOWS"] = {"Mystify.scr"};
    f.listHandlers.wallPapers = {{"Clouds", "C:\\WINDOWS\\CLOUDS.BMP"}};
    f.state.page.ShowFrom(10);
    const MenuModel menu = f.commands.PrepareEntryMenu(3);
    EXPECT_EQ(f.state.page.CurrentEntry(), 13);
    EXPECT_TRUE(menu.items[0].enabled) << "slot 13 is free: new entry";
    EXPECT_EQ(f.log, Log{"wallpaper build"});
    const RunTimeLists& lists = f.commands.Lists();
    EXPECT_EQ(lists.drives.items.size(), 1u);
    EXPECT_EQ(lists.deskTop.items.size(), 2u);
    EXPECT_EQ(lists.screenSavers.items.size(), 2u);
    EXPECT_EQ(lists.wallPapers.items.size(), 2u);

    f.commands.Lists().displayModes.items.push_back({"-", ""});
    f.commands.Lists().displayModes.items.push_back({" 800x600 (256色)", ""});
    const struct {
        ListKind list;
        int index;
        DispatchResult result;
        Log log;
        Log opened;
    } cases[] = {
        {ListKind::Drives, 0, DispatchResult::Done, {}, {"open|C:\\WINDOWS\\explorer.exe|C:\\|C:\\Tavi|1"}},
        {ListKind::DeskTop, 1, DispatchResult::Done, {"desktop C:\\Users\\me\\Desktop\\Work"}, {}},
        {ListKind::ScreenSavers, 1, DispatchResult::Done, {"screensaver C:\\WINDOWS\\Mystify.scr"}, {}},
        {ListKind::WallPapers, 1, DispatchResult::Done, {"wallpaper C:\\WINDOWS\\CLOUDS.BMP"}, {}},
        {ListKind::DisplayModes, 0, DispatchResult::Done, {"run \"C:\\WINDOWS\\system32\\rundll32.exe\" shell32.dll,Control_RunDLL desk.cpl"}, {}},
        {ListKind::DisplayModes, 1, DispatchResult::Refused, {}, {}},  // a separator
        {ListKind::DisplayModes, 2, DispatchResult::Done, {"display  800x600 (256色)"}, {}},
        {ListKind::DeskTop, 2, DispatchResult::Unknown, {}, {}},
    };
    for (const auto& c : cases) {
        f.log.clear();
        EXPECT_EQ(f.commands.Dispatch(ListItemId(c.list, c.index)), c.result) << static_cast<int>(c.list) << c.index;
        EXPECT_EQ(f.log, c.log);
        EXPECT_EQ(Opened(), c.opened);
    }
    f.folders.folders.clear();
    f.commands.PrepareTrayMenu();
    EXPECT_EQ(f.commands.Dispatch(ListItemId(ListKind::DeskTop, 0)), DispatchResult::Refused) << "(なし)";
}

TEST_F(MenuCommandTest, DisabledAndUnknownItemsAreRefused) {
    f.fake.files.files.clear();
    f.state.RemovableDrives = {""};
    const std::pair<C, int> disabled[] = {
        {C::mnuAppOneTimeCopy, 0}, {C::mnuAppSearch, 0}, {C::mnuPopupSearch, 0}, {C::mnuMOEject, 0},
        {C::mnuPopUpMOEject, 0},   {C::mnuAppin, 2},     {C::mnuAppDel, 2},      {C::mnuAppNewIn, 0},
        {C::mnuAppUndo, 0},        {C::mnuAppRedo, 0},
    };
    for (const auto& [command, entry] : disabled)
        EXPECT_EQ(Run(command, entry), DispatchResult::Refused) << static_cast<int>(command);
    EXPECT_TRUE(f.log.empty());
    EXPECT_EQ(f.commands.Dispatch(0), DispatchResult::Unknown);
    EXPECT_EQ(f.commands.Dispatch(99), DispatchResult::Unknown);
    EXPECT_EQ(f.commands.Dispatch(0x9000), DispatchResult::Unknown);
}

TEST_F(MenuCommandTest, ARunningEntrysOwnItemsActOnItsProgramAndOnlyWhileItRuns) {
    const std::string memo = "C:\\Tools\\memo.exe";
    f.bar.runningPath = memo;
    EXPECT_EQ(Run(C::mnuAppBringForward, 0), DispatchResult::Done);
    EXPECT_EQ(f.log, Log{"bar bring forward " + memo});
    EXPECT_EQ(Run(C::mnuAppCloseWindows, 0), DispatchResult::Done);
    EXPECT_EQ(f.log, Log{"bar close windows " + memo});
    (void)Opened();
    EXPECT_EQ(Run(C::mnuAppStartAnother, 0), DispatchResult::Done);
    EXPECT_EQ(Opened(), Log{"open|C:\\Tools\\memo.exe||C:\\Tools|1"}) << "started as a click would";
    // Another entry, an empty slot, or this one once its program ended: nothing to act on.
    for (const auto& [command, entry, running] :
         {std::tuple{C::mnuAppBringForward, 3, memo}, std::tuple{C::mnuAppStartAnother, 3, memo},
          std::tuple{C::mnuAppCloseWindows, 0, std::string()}, std::tuple{C::mnuAppBringForward, 2, std::string()}}) {
        f.bar.runningPath = running;
        EXPECT_EQ(Run(command, entry), DispatchResult::Refused) << static_cast<int>(command) << " at " << entry;
    }
    EXPECT_TRUE(f.log.empty());
    EXPECT_TRUE(Opened().empty());
}

TEST_F(MenuCommandTest, NoSecondCommandStartsWhileAModalWindowIsOpen) {
    std::vector<DispatchResult> inner;
    MenuModel trayDuring;
    f.windows.whileModalOpen = [&] {
        inner.push_back(f.commands.Dispatch(static_cast<uint32_t>(C::mnuPopupExit)));
        inner.push_back(f.commands.Dispatch(ListItemId(ListKind::DisplayModes, 0)));
        trayDuring = f.commands.PrepareTrayMenu();
    };
    EXPECT_EQ(Run(C::mnuAppNewIn, 2), DispatchResult::Done);
    EXPECT_EQ(inner, (std::vector<DispatchResult>{DispatchResult::Refused, DispatchResult::Refused}));
    EXPECT_EQ(f.log, (Log{"timer pause", "window NewApp 2", "timer resume"})) << "nothing ran, no list was rebuilt";
    for (const MenuItem& item : trayDuring.items) EXPECT_FALSE(item.enabled) << item.name;
    EXPECT_FALSE(f.commands.Busy());
    f.windows.whileModalOpen = nullptr;
    EXPECT_EQ(Run(C::mnuPopupExit), DispatchResult::Done);
    EXPECT_EQ(f.log, Log{"bar close"});
}

TEST_F(MenuCommandTest, TheTimerStaysOffWhenTheBarClosedMeanwhileAndACutSurvivesExit) {
    f.windows.whileModalOpen = [&] { f.state.Closing = true; };
    Run(C::mnuAppin);
    EXPECT_EQ(f.log, (Log{"timer pause", "window NewApp 0"}));

    EXPECT_EQ(Run(C::mnuAppOneTimeDelete, 0), DispatchResult::Done);
    EXPECT_TRUE(f.commands.Clipboard().CutPending);
    EXPECT_EQ(f.state.entries.At(0).Title, "");
    f.commands.RestorePendingCut();
    EXPECT_EQ(f.state.entries.At(0).Title, "Memo");
    EXPECT_FALSE(f.commands.Clipboard().CutPending);
    EXPECT_NE(f.fake.files.files["C:\\Tavi\\Launch.ini"].find("Memo"), std::string::npos);

    // A list that cannot take it back at exit: the entry is kept in the backup folder, told.
    EXPECT_EQ(Run(C::mnuAppOneTimeDelete, 0), DispatchResult::Done);
    f.fake.files.unwritable.push_back("C:\\Tavi\\Launch.ini");
    f.fake.messages.shown.clear();
    f.commands.RestorePendingCut();
    const std::string kept = "C:\\Tavi\\backup\\CutEntry1.txt";
    ASSERT_TRUE(f.fake.files.files.count(kept));
    EXPECT_NE(f.fake.files.files[kept].find("Memo\r\nC:\\Tools\\memo.exe"), std::string::npos) << f.fake.files.files[kept];
    ASSERT_EQ(f.fake.messages.shown.size(), 2u) << "the failed save, then where the entry is";
    EXPECT_EQ(f.fake.messages.shown[1].text, std::string(text::kCutEntryKept) + kept);
    EXPECT_FALSE(f.commands.Clipboard().CutPending);
}

TEST_F(MenuCommandTest, ADriveThatWentAwayWhileItsMenuWasOpenIsNotOpened) {
    f.fake.system.drives = {{"C:\\", DriveType::Fixed, "ﾛｰｶﾙ ﾃﾞｨｽｸ (C:)"},
                            {"F:\\", DriveType::Removable, "ﾘﾑｰﾊﾞﾌﾞﾙ ﾃﾞｨｽｸ (F:)"}};
    f.commands.PrepareTrayMenu();
    ASSERT_EQ(f.commands.Lists().drives.items.size(), 2u);
    f.fake.system.drives.pop_back();  // F: is pulled out with the menu on screen
    EXPECT_EQ(f.commands.Dispatch(ListItemId(ListKind::Drives, 1)), DispatchResult::Done);
    EXPECT_EQ(Opened(), Log{});
    EXPECT_EQ(f.commands.Dispatch(ListItemId(ListKind::Drives, 0)), DispatchResult::Done);
    EXPECT_EQ(Opened(), Log{"open|C:\\WINDOWS\\explorer.exe|C:\\|C:\\Tavi|1"});
}

// A press keeps each list whose sources stand as they were and reads again
// the ones that changed; what the lists show must never fall behind.
TEST_F(MenuCommandTest, ListsAreKeptWhileTheirSourcesStandAndReadAgainWhenTheyChange) {
    const std::string desktop = f.folders.desktop;
    const std::string systemIni = "C:\\WINDOWS\\system.ini";
    f.fake.system.drives = {{"C:\\", DriveType::Fixed, "ﾛｰｶﾙ ﾃﾞｨｽｸ (C:)"}};
    f.folders.folders[desktop] = {"Mail.lnk"};
    f.folders.folders["C:\\WINDOWS"] = {"Mystify.scr"};
    f.folders.stamps = {{desktop, 1}, {"C:\\WINDOWS", 1}, {"C:\\WINDOWS\\system32", 1}};
    const auto captions = [this](ListKind kind) {
        std::vector<std::string> shown;
        for (const ListItem& item : f.commands.Lists().Of(kind).items) shown.push_back(item.caption);
        return shown;
    };
    using Names = std::vector<std::string>;
    f.commands.PrepareTrayMenu();

    // The sources read the same: what changed behind them is not looked at.
    f.folders.folders[desktop] = {"Mail.lnk", "New.txt"};
    f.fake.system.drives[0].displayName = "Data (C:)";
    f.folders.queries.clear();
    f.commands.PrepareEntryMenu(0);
    EXPECT_EQ(captions(ListKind::DeskTop), Names{"Mail"});
    EXPECT_EQ(captions(ListKind::Drives), Names{"ﾛｰｶﾙ ﾃﾞｨｽｸ (C:)"});
    EXPECT_TRUE(f.folders.queries.empty());

    // The screen saver's check follows system.ini at every press.
    EXPECT_TRUE(f.commands.Lists().screenSavers.items[0].checked);
    ASSERT_TRUE(f.fake.profile.WriteString(systemIni, "boot", "SCRNSAVE.EXE", "c:\\windows\\mystify.scr"));
    f.commands.PrepareTrayMenu();
    EXPECT_FALSE(f.commands.Lists().screenSavers.items[0].checked);
    EXPECT_TRUE(f.commands.Lists().screenSavers.items[1].checked);

    const struct {
        const char* change;
        std::function<void()> make;
        ListKind list;
        Names shown;
    } cases[] = {
        {"the desktop's names changed", [&] { f.folders.stamps[desktop] = 2; }, ListKind::DeskTop,
         {"Mail", "New.txt"}},
        {"the desktop's time is too recent to trust", [&] { f.folders.stamps.erase(desktop); }, ListKind::DeskTop,
         {"Mail", "New.txt"}},
        {"another desktop folder", [&] { f.folders.desktop = "D:\\Desk"; }, ListKind::DeskTop, {"(なし)"}},
        {"a device notice", [&] { f.commands.ForgetDrives(); }, ListKind::Drives, {"Data (C:)"}},
        {"a drive came", [&] { f.fake.system.drives.push_back({"E:\\", DriveType::CdRom, "CD (E:)"}); },
         ListKind::Drives, {"Data (C:)", "CD (E:)"}},
        {"the system folder's names changed",
         [&] {
             f.folders.folders["C:\\WINDOWS\\system32"] = {"Bubbles.scr"};
             f.folders.stamps["C:\\WINDOWS\\system32"] = 2;
         },
         ListKind::ScreenSavers, {"(なし)", "Mystify", "Bubbles"}},
    };
    for (const auto& c : cases) {
        c.make();
        f.commands.PrepareTrayMenu();
        EXPECT_EQ(captions(c.list), c.shown) << c.change;
        // Once read, the list is kept again while its source stands.
        if (c.list == ListKind::DeskTop && f.folders.stamps.count(f.folders.desktop)) {
            f.folders.queries.clear();
            f.commands.PrepareTrayMenu();
            EXPECT_TRUE(f.folders.queries.empty()) << c.change;
        }
    }

    // A command may reach any of them (a drive connected, a disk formatted):
    // after one, everything is read again.
    f.fake.system.drives[1].displayName = "Backup (E:)";
    f.folders.stamps[f.folders.desktop] = 5;
    f.folders.folders[f.folders.desktop] = {"Notes.txt"};
    f.commands.PrepareTrayMenu();
    ASSERT_EQ(Run(C::mnuAppReDraw), DispatchResult::Done);
    f.folders.folders[f.folders.desktop] = {"Notes.txt", "Later.txt"};
    f.commands.RefreshLists();
    EXPECT_EQ(captions(ListKind::Drives), (Names{"Data (C:)", "Backup (E:)"}));
    EXPECT_EQ(captions(ListKind::DeskTop), (Names{"Notes.txt", "Later.txt"}));
}
