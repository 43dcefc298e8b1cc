#include <gtest/gtest.h>

#include <map>
#include <set>
#include <stdexcept>

#include "platform/text.h"
#include "access_keys.h"
#include "fakes/fakes.h"
#include "menus/menu_model.h"
#include "platform/ui_text.h"

using namespace tavi;

namespace {

// One line per item: depth, name (list items with their index), caption and shortcut.
void Flatten(const std::vector<MenuItem>& items, int depth, std::vector<std::string>& lines) {
    std::map<std::string_view, int> listIndex;
    for (const MenuItem& item : items) {
        std::string name(item.name);
        if (Contains(name, "Count")) name += "(" + std::to_string(listIndex[item.name]++) + ")";
        std::string line = std::to_string(depth) + " " + name + " " + (item.separator ? "-" : item.caption);
        if (!item.shortcut.empty()) line += " [" + item.shortcut + "]";
        lines.push_back(line);
        Flatten(item.children, depth + 1, lines);
    }
}

void ExpectTree(const MenuModel& model, const std::vector<std::string>& expected) {
    std::vector<std::string> lines;
    Flatten(model.items, 0, lines);
    ASSERT_EQ(lines.size(), expected.size());
    for (size_t i = 0; i < lines.size(); ++i) EXPECT_EQ(lines[i], expected[i]) << "line " << i;
}

void Collect(const std::vector<MenuItem>& items, std::vector<const MenuItem*>& all) {
    for (const MenuItem& item : items) {
        all.push_back(&item);
        Collect(item.children, all);
    }
}

const MenuItem& Find(const MenuModel& model, std::string_view name, int nth = 0) {
    std::vector<const MenuItem*> all;
    Collect(model.items, all);
    for (const MenuItem* item : all)
        if (item->name == name && nth-- == 0) return *item;
    throw std::runtime_error("no item " + std::string(name));
}

class MenuTreeTest : public ::testing::Test {
protected:
    fakes::FakePlatform fake;
    MenuMain state;
    RunTimeLists lists;

    void SetUp() override {
        state.ApplicationPath = "C:\\Tavi";
        fakes::GiveEntries(state, fake.platform, {{"Memo", "C:\\memo.exe", "", "0", "", "0"}});
        state.entries.Reserve(2);
        lists.drives.items = {{"ﾛｰｶﾙ ﾃﾞｨｽｸ (C:)", "C:\\"}, {"DATA (D:)", "D:\\"}};
        lists.deskTop.items = {{"(なし)", "", false, false}};
        lists.displayModes.items.push_back({"-", ""});
        lists.displayModes.items.push_back({" 1024x768 (32 ﾋﾞｯﾄ)", "", true, true});
        lists.screenSavers.items = {{"(なし)", "(なし)"}, {"Mystify", "C:\\WINDOWS\\MYSTIFY.SCR", true, true}};
    }
    MenuInputs Inputs(bool cut = false, bool search = true, bool busy = false, bool running = false) {
        return MenuInputs{state, lists, state.page.CurrentEntry(), cut, search, busy, running};
    }
};

}  // namespace

TEST_F(MenuTreeTest, EntryMenuHasEveryItemInItsPlace) {
    const MenuModel menu = BuildEntryMenu(Inputs());
    EXPECT_EQ(menu.caption, "アプリケーション登録");
    ExpectTree(menu, {
        "0 mnuAppNewIn 新規登録(&N)... [Ctrl+N]", "0 mnuAppin 編集(&E)...", "0 mnuAppDel 削除(&D)",
        "0 mnuAppMove 同列内で移動(&V)", "0 mnuAppOneTimeDelete 切り取り(&C)", "0 mnuAppOneTimeCopy 貼り付け(&P)",
        "0 mnuAppUndo 元に戻す(&U) [Ctrl+Z]", "0 mnuAppRedo やり直し(&Y) [Ctrl+Y]",
        "0 mnuFolder ﾌｫﾙﾀﾞ(&A)...", "0 mnuAppProperty ﾌﾟﾛﾊﾟﾃｨ(&R)...", "0 mnuAppSep3 -",
        "0 mnuAppOption ｵﾌﾟｼｮﾝ(&O)...", "0 mnuAppReDraw 再表示(&W) [F5]", "0 mnuAppSearch ﾌｧｲﾙの検索(&I)...",
        "0 mnuHelp ﾍﾙﾌﾟ(&H)...", "0 mnuAppSep2 -",
        "0 mnuDeskTop ﾃﾞｽｸﾄｯﾌﾟ(&T)...", "1 mnuDeskTopCount(0) (なし)",
        "0 mnuDrive ｴｸｽﾌﾟﾛｰﾗ(&L)...", "1 mnuDriveCount(0) ﾛｰｶﾙ ﾃﾞｨｽｸ (C:)", "1 mnuDriveCount(1) DATA (D:)",
        "0 mnuAppSet 設定...", "1 mnuAppDisplay 画面(&G)...",
        "2 mnuAppDisplayCount(0) ﾃﾞｨｽﾌﾟﾚｲﾌﾟﾛﾊﾟﾃｨの設定...", "2 mnuAppDisplayCount(1) -",
        "2 mnuAppDisplayCount(2)  1024x768 (32 ﾋﾞｯﾄ)",
        "1 mnuAppControlPanel ｺﾝﾄﾛｰﾙﾊﾟﾈﾙ(&C)...", "1 mnuAppPrint ﾌﾟﾘﾝﾀ設定(&P)...", "1 mnuAppWizard ｲﾝｽﾄｰﾙ(&I)...",
        "1 mnuNetWork ﾈｯﾄﾜｰｸﾄﾞｲﾌﾞの割当て(&Z)...", "1 mnuNetWorkClose ﾈｯﾄﾜｰｸﾄﾞｲﾌﾞの切断(&W)...",
        "0 mnuFormat ﾃﾞｨｽｸﾌｫｰﾏｯﾄ(&F)...", "0 mnuMediaOpenClose CD-ROMﾄﾚｲの開閉(&M)...",
        "1 mnuMediaOut CD-ROMﾄﾚｲのﾄﾞｱを開く(&M)", "1 mnuMediaClose CD-ROMﾄﾚｲのﾄﾞｱを閉じる(&L)",
        "0 mnuMOEject MO取り出し(&B)", "0 mnuAppSep4 -", "0 mnuShutDown ｼｬｯﾄﾀﾞｳﾝ(&S)...", "0 mnuExit 終了(&X)",
    });
}

TEST_F(MenuTreeTest, ARunningEntrysMenuBeginsWithItsOwnThreeItems) {
    std::vector<std::string> usual, running;
    Flatten(BuildEntryMenu(Inputs()).items, 0, usual);
    const MenuModel menu = BuildEntryMenu(Inputs(false, true, false, true));
    Flatten(menu.items, 0, running);
    const std::vector<std::string> top = {"0 mnuAppBringForward 前面に表示(&G)", "0 mnuAppStartAnother もう一つ起動(&K)",
                                          "0 mnuAppCloseWindows ウィンドウを閉じる(&Q)", "0 mnuAppSepRunning -"};
    ASSERT_EQ(running.size(), usual.size() + top.size());
    EXPECT_EQ(std::vector<std::string>(running.begin(), running.begin() + 4), top);
    EXPECT_EQ(std::vector<std::string>(running.begin() + 4, running.end()), usual) << "the rest as ever";
    for (int i = 0; i < 3; ++i) EXPECT_TRUE(menu.items[i].enabled) << i;
    const MenuModel busy = BuildEntryMenu(Inputs(false, true, true, true));
    for (int i = 0; i < 3; ++i) EXPECT_FALSE(busy.items[i].enabled) << "a command is running: " << i;
}

TEST_F(MenuTreeTest, TrayMenuHasEveryItemInItsPlace) {
    const MenuModel menu = BuildTrayMenu(Inputs());
    EXPECT_EQ(menu.caption, "タスクトレイ用ポップアップ");
    ExpectTree(menu, {
        "0 mnuPopupOption ｵﾌﾟｼｮﾝ(&O)...", "0 mnuPopupEntrySearch ｴﾝﾄﾘｰの検索(&Q)...",
        "0 mnuPopupSearch ﾌｧｲﾙの検索(&I)...", "0 mnuPopUpHelp ﾍﾙﾌﾟ(&H)...",
        "0 mnuPopupImport ｼｮｰﾄｶｯﾄの取り込み(&J)...", "0 mnuPopupBackup ﾊﾞｯｸｱｯﾌﾟ(&K)...", "0 mnuPopupSep2 -", "0 mnuPopupFolder ﾌｫﾙﾀﾞ(&A)...",
        "0 mnuPopupDeskTop ﾃﾞｽｸﾄｯﾌﾟ(&T)...", "1 mnuPopupDeskTopCount(0) (なし)",
        "0 mnuPopupDrive ｴｸｽﾌﾟﾛｰﾗ(&L)...", "1 mnuPopupDriveCount(0) ﾛｰｶﾙ ﾃﾞｨｽｸ (C:)",
        "1 mnuPopupDriveCount(1) DATA (D:)",
        "0 mnuPopupScreenSaver ｽｸﾘｰﾝｾｲﾊﾞｰ(&V)...", "1 mnuPopupScreenSaverCount(0) (なし)",
        "1 mnuPopupScreenSaverCount(1) Mystify",
        "0 mnuPopupWallPaper 壁紙(&W)...", "1 mnuPopupWallPaperCount(0) (なし)",
        "0 mnuPopupMemorySpace ﾒﾓﾘ使用量(&E)", "0 mnuPopupAppSet 設定...", "1 mnuPopupDisplay 画面(&G)...",
        "2 mnuPopUpDisplayCount(0) ﾃﾞｨｽﾌﾟﾚｲﾌﾟﾛﾊﾟﾃｨの設定...", "2 mnuPopUpDisplayCount(1) -",
        "2 mnuPopUpDisplayCount(2)  1024x768 (32 ﾋﾞｯﾄ)",
        "1 mnuPopupControlPanel ｺﾝﾄﾛｰﾙﾊﾟﾈﾙ(&C)...", "1 mnuPopupPrint ﾌﾟﾘﾝﾀ設定(&P)...",
        "1 mnuPopupAppWizard ｲﾝｽﾄｰﾙ(&I)...", "1 mnuPopupNetWork ﾈｯﾄﾜｰｸﾄﾞｲﾌﾞの割当て(&Z)...",
        "1 mnuPopupNetWorkClose ﾈｯﾄﾜｰｸﾄﾞｲﾌﾞの切断(&W)...", "0 mnuPopupSep3 -",
        "0 mnuPopupFormat ﾃﾞｨｽｸﾌｫｰﾏｯﾄ(&F)...", "0 mnuPopupMediaOpenClose CD-ROMﾄﾚｲの開閉(&M)...",
        "1 mnuPopupMediaOut CD-ROMﾄﾚｲのﾄﾞｱを開く(&M)", "1 mnuPopupMediaClose CD-ROMﾄﾚｲのﾄﾞｱを閉じる(&L)",
        "0 mnuPopUpMOEject MO取り出し(&B)", "0 mnuPopupSep1 -", "0 mnuPopupShutDown ｼｬｯﾄﾀﾞｳﾝ(&S)...",
        "0 mnuPopupExit 終了(&X)",
    });
}

TEST_F(MenuTreeTest, IdsAreUniqueAndNameTheirCommandOrListItem) {
    for (const MenuModel& menu : {BuildEntryMenu(Inputs(false, true, false, true)), BuildTrayMenu(Inputs())}) {
        std::vector<const MenuItem*> all;
        Collect(menu.items, all);
        std::set<uint32_t> seen;
        for (const MenuItem* item : all) {
            const bool hasId = !item->separator && !item->IsSubmenu();
            ASSERT_EQ(item->id != 0, hasId) << item->name;
            if (!hasId) continue;
            EXPECT_TRUE(seen.insert(item->id).second) << "duplicate id " << item->id << " " << item->name;
            EXPECT_LT(item->id, 0x8000u) << item->name;
            const bool isList = Contains(item->name, "Count");
            EXPECT_EQ(ListItemOf(item->id).has_value(), isList) << item->name;
            EXPECT_EQ(CommandOf(item->id).has_value(), !isList) << item->name;
        }
    }
    const MenuModel tray = BuildTrayMenu(Inputs());
    const MenuItem& mystify = Find(tray, "mnuPopupScreenSaverCount", 1);
    ASSERT_TRUE(ListItemOf(mystify.id));
    EXPECT_EQ(ListItemOf(mystify.id)->list, ListKind::ScreenSavers);
    EXPECT_EQ(ListItemOf(mystify.id)->index, 1);
    EXPECT_TRUE(mystify.checked);
    EXPECT_EQ(Find(tray, "mnuPopupDeskTopCount").enabled, false) << "an empty list's (なし)";
    EXPECT_EQ(Find(BuildEntryMenu(Inputs()), "mnuDriveCount", 1).id, Find(tray, "mnuPopupDriveCount", 1).id)
        << "the trees share one drive list";
    EXPECT_EQ(CommandOf(0), std::nullopt);
    EXPECT_EQ(CommandOf(99), std::nullopt);
}

TEST_F(MenuTreeTest, EntryItemStatesFollowTheSlot) {
    const char* entryItems[] = {"mnuAppNewIn", "mnuAppin", "mnuAppDel", "mnuAppMove", "mnuAppOneTimeDelete",
                                "mnuAppProperty"};
    const struct {
        const char* what;
        int index;
        bool registered;
    } cases[] = {
        {"registered entry", 0, true},
        {"empty path", 1, false},
        {"past the array", 5, false},
    };
    for (const auto& c : cases) {
        state.page.ActOn(c.index);
        const MenuModel menu = BuildEntryMenu(Inputs());
        for (const char* name : entryItems)
            EXPECT_EQ(Find(menu, name).enabled, (std::string_view(name) == "mnuAppNewIn") != c.registered)
                << c.what << ": " << name;
    }
}

TEST_F(MenuTreeTest, PasteSearchAndMediaEjectStates) {
    const struct {
        bool cut;
        bool search;
        const char* removable;
    } cases[] = {{false, false, ""}, {true, true, "E:\\"}, {false, true, "   "}, {true, false, "F:\\"}};
    for (const auto& c : cases) {
        state.RemovableDrives = {c.removable};
        const bool eject = std::string_view(c.removable).find_first_not_of(' ') != std::string_view::npos;
        const MenuModel entry = BuildEntryMenu(Inputs(c.cut, c.search));
        const MenuModel tray = BuildTrayMenu(Inputs(c.cut, c.search));
        EXPECT_EQ(Find(entry, "mnuAppOneTimeCopy").enabled, c.cut);
        EXPECT_EQ(Find(entry, "mnuAppSearch").enabled, c.search);
        EXPECT_EQ(Find(tray, "mnuPopupSearch").enabled, c.search);
        EXPECT_EQ(Find(entry, "mnuMOEject").enabled, eject) << "'" << c.removable << "'";
        EXPECT_EQ(Find(tray, "mnuPopUpMOEject").enabled, eject) << "'" << c.removable << "'";
    }
}

TEST_F(MenuTreeTest, UndoAndRedoAreEnabledOnlyWithAStepToTake) {
    const auto states = [&] {
        const MenuModel entry = BuildEntryMenu(Inputs());
        return std::pair(Find(entry, "mnuAppUndo").enabled, Find(entry, "mnuAppRedo").enabled);
    };
    EXPECT_EQ(states(), std::pair(false, false)) << "nothing done yet";
    fakes::PutEntry(state, 1, {"Calc", "C:\\calc.exe", "", "0", "", "0"});
    EXPECT_EQ(states(), std::pair(true, false)) << "after a change";
    ASSERT_TRUE(state.entries.Undo());
    EXPECT_EQ(states(), std::pair(false, true)) << "after its undo";
    ASSERT_TRUE(state.entries.Redo());
    EXPECT_EQ(states(), std::pair(true, false)) << "after its redo";
}

TEST_F(MenuTreeTest, WhileACommandRunsEveryItemIsDisabled) {
    for (const MenuModel& menu : {BuildEntryMenu(Inputs(true, true, true)), BuildTrayMenu(Inputs(true, true, true))}) {
        std::vector<const MenuItem*> all;
        Collect(menu.items, all);
        for (const MenuItem* item : all) EXPECT_FALSE(item->enabled) << item->name;
    }
}

TEST_F(MenuTreeTest, AVeryLongListIsCutAtItsIdSpan) {
    lists.deskTop.items.assign(kListIdSpan + 5, ListItem{"x", "C:\\x"});
    const MenuModel tray = BuildTrayMenu(Inputs());
    const MenuItem& desktop = Find(tray, "mnuPopupDeskTop");
    ASSERT_EQ(desktop.children.size(), kListIdSpan);
    EXPECT_EQ(ListItemOf(desktop.children.back().id)->index, static_cast<int>(kListIdSpan) - 1);
    EXPECT_EQ(ListItemOf(desktop.children.back().id)->list, ListKind::DeskTop);
}

// On each level of either menu, in every language, no two items share an
// access key, and a name from a list (a desktop item "Tom & Jerry") shows
// its "&" instead of taking a key of its own.
TEST_F(MenuTreeTest, NoTwoItemsOfALevelShareAnAccessKey) {
    ASSERT_EQ(access_keys::Clashes({"壁紙(&W)", "Windows(&w)", "終了(&X)", "a && b"}),
              (std::vector<std::string>{"&W: \"壁紙(&W)\" \"Windows(&w)\""}))
        << "the check finds a clash";
    lists.deskTop.items = {{"Tom & Jerry", "C:\\Tom & Jerry.lnk"}, {"&Start", "C:\\&Start.lnk"}};
    for (size_t language = 0; language < LanguageTables().size(); ++language) {
        UseLanguage(language);
        SCOPED_TRACE(LanguageTables()[language].code);
        for (const MenuModel& menu :
             {BuildEntryMenu(Inputs(false, true, false, true)), BuildTrayMenu(Inputs())}) {
            std::vector<std::vector<const MenuItem*>> levels{{}};
            for (const MenuItem& item : menu.items) levels[0].push_back(&item);
            for (size_t l = 0; l < levels.size(); ++l) {
                std::vector<std::string> captions;
                for (const MenuItem* item : levels[l]) {
                    if (!item->children.empty()) {
                        levels.emplace_back();
                        for (const MenuItem& child : item->children) levels.back().push_back(&child);
                    }
                    if (ListItemOf(item->id)) EXPECT_EQ(access_keys::KeyOf(item->caption), "") << item->caption;
                    captions.push_back(item->caption);
                }
                EXPECT_EQ(access_keys::Clashes(captions), std::vector<std::string>()) << menu.caption << ", level " << l;
            }
        }
    }
    UseLanguage(0);
    EXPECT_EQ(Find(BuildTrayMenu(Inputs()), "mnuPopupDeskTopCount", 0).caption, "Tom && Jerry");
}
