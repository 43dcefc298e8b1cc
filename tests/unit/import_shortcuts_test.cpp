#include <gtest/gtest.h>

#include <optional>

#include "platform/messages.h"
#include "fakes/bar_services_fake.h"
#include "fakes/group_fakes.h"
#include "fakes/menu_fakes.h"
#include "dialogs/import_folder.h"
#include "menus/import_shortcuts.h"
#include "platform/host_adapters.h"
#include "platform/ini_profile.h"

using namespace tavi;

namespace {

constexpr const char* kFolder = "C:\\Tavi";
constexpr const char* kList = "C:\\Tavi\\Launch.ini";
constexpr const char* kUnicode = "C:\\Tavi\\Launch.ini.utf8";
constexpr const char* kAppData = "C:\\Users\\me\\AppData\\Roaming";
constexpr const char* kQuickLaunch = "C:\\Users\\me\\AppData\\Roaming\\Microsoft\\Internet Explorer\\Quick Launch";

class FakePrompt final : public ImportFolderPrompt {
public:
    std::optional<std::string> answer;
    std::vector<std::vector<std::string>> asked;
    std::optional<std::string> Choose(const std::vector<std::string>& offered) override {
        asked.push_back(offered);
        return answer;
    }
};

ShortcutTarget Target(const std::string& path, const std::string& arguments = "", const std::string& runType = "0") {
    ShortcutTarget target;
    target.targetPath = path;
    target.arguments = arguments;
    target.runType = runType;
    return target;
}

ShortcutTarget Working(ShortcutTarget target, const std::string& folder) {
    target.workingDirectory = folder;
    return target;
}

// The files in memory, members in a real INI file, so each change is bytes to compare.
struct ImportFixture {
    fakes::MemoryFileSystem files;
    IconvCodePage codePage;
    IniProfile profile{files, codePage};
    fakes::FakeSystemInfo system;
    fakes::FakeShell shell;
    fakes::FakeMessageBoxes messages;
    Platform platform{profile, files, codePage, system, shell, messages};
    fakes::FakeBarServices bar;
    fakes::FakeFolderListing folders;
    fakes::FakeShortcuts shortcuts;
    FakePrompt prompt;
    MenuMain state;
    BarListView view{state, bar};

    ImportFixture() {
        state.ApplicationPath = kFolder;
        state.entries.SetExMenuMax(9);
        fakes::GiveEntries(state, platform, {{"Memo", "C:\\memo.exe", "", "0", "C:\\memo.exe", "0"}});
        state.entries.Reserve(2);
        state.entries.AttachView(&view);
        prompt.answer = kQuickLaunch;
    }
    // A shortcut file in the Quick Launch folder.
    void Link(const std::string& name, const ShortcutTarget& target) {
        folders.folders[kQuickLaunch].push_back(name);
        shortcuts.links[std::string(kQuickLaunch) + "\\" + name] = target;
    }
    ShortcutImportOutcome Import(MessageAnswer each) {
        messages.shown.clear();
        messages.answers = {each};
        return ImportShortcuts({state, platform, folders, shortcuts, prompt, kAppData});
    }
    std::string List() { return files.files.at(kList); }
    std::string Member(int index, int slot, const std::string& field) {
        return profile.GetString(ExMenuFilePath(kFolder), ExMenuSection(index), ExMenuKey(slot, field));
    }
};

}  // namespace

TEST(ImportFolder, QuickLaunchAndThePinnedItemsAreOfferedFirstAndABrowsedFolderJoinsThem) {
    EXPECT_EQ(OfferedImportFolders(kAppData),
              (std::vector<std::string>{kQuickLaunch, std::string(kQuickLaunch) + "\\User Pinned\\TaskBar"}));
    EXPECT_EQ(
        OfferedImportFolders("C:\\AppData\\"),
        (std::vector<std::string>{"C:\\AppData\\Microsoft\\Internet Explorer\\Quick Launch",
                                  "C:\\AppData\\Microsoft\\Internet Explorer\\Quick Launch\\User Pinned\\TaskBar"}));
    EXPECT_TRUE(OfferedImportFolders("").empty());

    ImportFolderView view = ImportFolderLoad({"C:\\A", "C:\\B"});
    EXPECT_EQ(view.selected, 0);
    EXPECT_EQ(ImportFolderOk(view), "C:\\A");
    ImportFolderBrowsed(view, "c:\\b");  // already listed: selected, not added
    EXPECT_EQ(view.folders.size(), 2u);
    EXPECT_EQ(ImportFolderOk(view), "C:\\B");
    ImportFolderBrowsed(view, "D:\\Links");
    EXPECT_EQ(view.folders.back(), "D:\\Links");
    EXPECT_EQ(ImportFolderOk(view), "D:\\Links");
    ImportFolderBrowsed(view, "");  // a cancelled browse changes nothing
    EXPECT_EQ(ImportFolderOk(view), "D:\\Links");

    ImportFolderView none = ImportFolderLoad({});
    EXPECT_EQ(ImportFolderOk(none), std::nullopt);
    none.selected = 5;
    EXPECT_EQ(ImportFolderOk(none), std::nullopt);
}

TEST(ImportShortcutFiles, OnlyShortcutsInNameOrderWithoutCase) {
    const struct {
        std::vector<std::string> listed;
        std::vector<std::string> links;
    } cases[] = {
        {{".", "..", "b.lnk", "A.LNK", "c.Lnk"}, {"A.LNK", "b.lnk", "c.Lnk"}},
        {{"x.lnkx", "y.lnk.txt", "desktop.ini", ".lnk", "z.lnk"}, {"z.lnk"}},  // short-name matches, a bare suffix
        {{"ﾒﾓ.lnk", "memo.lnk"}, {"memo.lnk", "ﾒﾓ.lnk"}},
        {{}, {}},
    };
    for (const auto& c : cases) EXPECT_EQ(ShortcutFileNames(c.listed), c.links);
}

TEST(ImportShortcutFiles, AFolderOfThousandsIsSortedOnce) {
    std::vector<std::string> listed;
    for (int i = 9999; i >= 0; --i) {
        listed.push_back("link" + std::to_string(i) + ".lnk");
        listed.push_back("file" + std::to_string(i) + ".txt");
    }
    const std::vector<std::string> links = ShortcutFileNames(listed);
    ASSERT_EQ(links.size(), 10000u);
    EXPECT_EQ(links.front(), "link0.lnk");
    EXPECT_TRUE(std::is_sorted(links.begin(), links.end()));
}

TEST(ImportShortcutEntry, TitleFromTheFileNameFieldsFromTheShortcut) {
    ShortcutTarget withIcon = Target("C:\\a.exe", "-x", "2");
    withIcon.iconPath = "C:\\icons.dll";
    withIcon.iconIndex = 3;
    ShortcutTarget resourceIcon = Target("C:\\a.exe");
    resourceIcon.iconPath = "C:\\icons.dll";
    resourceIcon.iconIndex = -101;
    const struct {
        const char* name;
        bool read;
        ShortcutTarget target;
        LaunchEntry entry;
    } cases[] = {
        {"Memo.lnk", true, Target("C:\\memo.exe"), {"Memo", "C:\\memo.exe", "", "0", "C:\\memo.exe", "0"}},
        {"Help.LNK", true, withIcon, {"Help", "C:\\a.exe", "-x", "2", "C:\\icons.dll", "3"}},
        {"R.lnk", true, resourceIcon, {"R", "C:\\a.exe", "", "0", "C:\\a.exe", "0"}},
        {"Blank run.lnk", true, Target(" C:\\b.exe ", "", ""), {"Blank run", "C:\\b.exe", "", "0", "C:\\b.exe", "0"}},
        {"Broken.lnk", false, Target(""), {"Broken", "", "", "", "", ""}},
        {"Shell item.lnk", true, Target(""), {"Shell item", "", "", "", "", ""}},
        // A missing target is kept: a removable or network drive may come back.
        {"Stick.lnk", true, Target("E:\\tool.exe"), {"Stick", "E:\\tool.exe", "", "0", "E:\\tool.exe", "0"}},
        {"한국어.lnk", true, Target("C:\\k.exe"), {"한국어", "C:\\k.exe", "", "0", "C:\\k.exe", "0"}},
        // The target's own folder, however written, is where the entry starts anyway.
        {"Own.lnk", true, Working(Target("C:\\Tools\\t.exe", "-a"), "c:\\tools\\"),
         {"Own", "C:\\Tools\\t.exe", "-a", "0", "C:\\Tools\\t.exe", "0"}},
        {"Root.lnk", true, Working(Target("C:\\r.exe"), "C:\\"), {"Root", "C:\\r.exe", "", "0", "C:\\r.exe", "0"}},
        // Another working folder: the shortcut itself is started, with its own arguments.
        {"Data.lnk", true, Working(Target("C:\\Tools\\t.exe", "-a", "3"), "D:\\Data"),
         {"Data", "C:\\QL\\Data.lnk", "", "3", "C:\\Tools\\t.exe", "0"}},
    };
    for (const auto& c : cases) EXPECT_EQ(EntryFromShortcut("C:\\QL", c.name, c.read, c.target), c.entry) << c.name;
}

TEST(ImportShortcutGroup, MembersSkipOnlyEachOtherAndTheGroupNameIsUnique) {
    const LaunchEntry a{"A", "C:\\a.exe", "", "0", "C:\\a.exe", "0"};
    const LaunchEntry aUpper{"A again", "c:\\A.EXE", "", "0", "c:\\A.EXE", "0"};
    const LaunchEntry aArgs{"A args", "C:\\a.exe", "-x", "1", "C:\\a.exe", "0"};
    const LaunchEntry broken{"Broken", "", "", "", "", ""};
    EntryStore bar;
    bar.slots = {a, {"Quick Launch", "[Quick Launch]", "", "0", "", "0"}, {}};
    bar.LastEntryIndex = 3;

    const GroupImportPlan plan = PlanGroupImport(bar, "C:\\X\\Quick Launch\\", {a, aUpper, broken, aArgs}, 10);
    EXPECT_EQ(plan.group, (LaunchEntry{"Quick Launch (2)", "[Quick Launch (2)]", "", "0", "", "0"}));
    EXPECT_EQ(plan.slot, 2) << "the free slot";
    EXPECT_EQ(plan.members, (ExMenuSlots{{"A", "C:\\a.exe", "", "0"}, {"A args", "C:\\a.exe", "-x", "1"}}))
        << "an entry on the bar does not keep a member out";
    EXPECT_EQ(plan.duplicates, 1);
    EXPECT_EQ(plan.unusable, 1);
    EXPECT_EQ(plan.Placed(), 2);

    const struct {
        int memberSlots;
        int limit;
        int placed, overLimit;
    } cases[] = {
        {10, 1000, 2, 0},
        {1, 1000, 1, 1},  // past the group's member slots
        {0, 1000, 0, 2},
        {10, 2, 0, 2},  // no slot for the group below the limit
    };
    for (const auto& c : cases) {
        const GroupImportPlan p = PlanGroupImport(bar, "C:\\Quick Launch", {a, aArgs}, c.memberSlots, c.limit);
        EXPECT_EQ(p.Placed(), c.placed) << c.memberSlots << " " << c.limit;
        EXPECT_EQ(p.overLimit, c.overLimit) << c.memberSlots << " " << c.limit;
    }
    EXPECT_EQ(PlanGroupImport(bar, "D:\\", {a}, 10).group.Title, "D:");
    EXPECT_EQ(PlanGroupImport(bar, "C:\\Links", {broken}, 10).slot, -1) << "no members, no group";
}

TEST(ImportShortcutCount, TheCountNamesWhySomeWereSkipped) {
    ShortcutImportOutcome outcome;
    outcome.imported = 3;
    EXPECT_EQ(ImportCountMessage(outcome),
              "ショートカットの取り込みが終わりました。\n\n取り込んだもの: 3 個\n取り込まなかったもの: 0 個");
    outcome.duplicates = 2;
    outcome.unusable = 1;
    outcome.overLimit = 4;
    EXPECT_EQ(ImportCountMessage(outcome),
              "ショートカットの取り込みが終わりました。\n\n取り込んだもの: 3 個\n取り込まなかったもの: 7 個"
              "\n　登録済みと同じ: 2 個\n　読み取れない・対象のないもの: 1 個\n　登録できる数を超えたもの: 4 個");
}

TEST(ImportShortcutsCommand, EachShortcutBecomesAnEntryInOneSaveAndOneUndoStep) {
    ImportFixture f;
    f.Link("Notepad.lnk", Target("C:\\windows\\notepad.exe", "/a", "2"));
    f.Link("Memo.lnk", Target("C:\\MEMO.EXE"));  // on the bar already
    f.Link("Broken.lnk", Target(""));
    f.shortcuts.links.erase(std::string(kQuickLaunch) + "\\Broken.lnk");
    f.Link("Calc.lnk", Target("C:\\calc.exe"));
    const std::string before = f.List();
    const int replacesBefore = f.files.replaceCalls;

    const ShortcutImportOutcome outcome = f.Import(MessageAnswer::Yes);
    EXPECT_TRUE(outcome.ran);
    EXPECT_FALSE(outcome.asGroup);
    EXPECT_EQ(f.prompt.asked.size(), 1u);
    EXPECT_EQ(f.prompt.asked[0].front(), kQuickLaunch);
    EXPECT_EQ(f.folders.queries, (std::vector<std::string>{std::string(kQuickLaunch) + "|*.lnk"}));
    EXPECT_EQ(outcome.imported, 2);
    EXPECT_EQ(outcome.duplicates, 1);
    EXPECT_EQ(outcome.unusable, 1);
    EXPECT_EQ(f.files.replaceCalls - replacesBefore, 1) << "one save";
    EXPECT_EQ(f.state.entries.UndoCount(), 1u);

    EntryStore expected;
    expected.slots = {{"Memo", "C:\\memo.exe", "", "0", "C:\\memo.exe", "0"},
                      {"Calc", "C:\\calc.exe", "", "0", "C:\\calc.exe", "0"},
                      {"Notepad", "C:\\windows\\notepad.exe", "/a", "2", "C:\\windows\\notepad.exe", "0"}};
    EXPECT_EQ(f.List(), FormatEntries(expected)) << "the hole first, then past the end, in name order";
    EXPECT_EQ(f.bar.calls, (std::vector<std::string>{"bar rebuild"}));

    ASSERT_EQ(f.messages.shown.size(), 2u);
    EXPECT_EQ(f.messages.shown[0].text, std::string(text::kImportAskEach));
    EXPECT_EQ(f.messages.shown[0].buttons, MessageButtons::YesNo);
    EXPECT_EQ(f.messages.shown[1].text,
              "ショートカットの取り込みが終わりました。\n\n取り込んだもの: 2 個\n取り込まなかったもの: 2 個"
              "\n　登録済みと同じ: 1 個\n　読み取れない・対象のないもの: 1 個");

    ASSERT_TRUE(f.state.entries.Undo());
    EXPECT_EQ(f.List(), before) << "the undo gives back the list as it was";
}

TEST(ImportShortcutsCommand, AsAGroupTheMembersAreStoredAndASecondImportMakesAnotherGroup) {
    ImportFixture f;
    f.Link("Memo.lnk", Target("C:\\memo.exe"));
    f.Link("Notepad.lnk", Target("C:\\windows\\notepad.exe", "/a", "1"));
    const std::string before = f.List();

    ShortcutImportOutcome outcome = f.Import(MessageAnswer::No);
    EXPECT_TRUE(outcome.asGroup);
    EXPECT_EQ(outcome.imported, 2);
    EXPECT_EQ(outcome.Skipped(), 0);
    ASSERT_TRUE(f.state.entries.Has(1));
    EXPECT_EQ(f.state.entries.At(1), (LaunchEntry{"Quick Launch", "[Quick Launch]", "", "0", "", "0"}));
    EXPECT_EQ(f.Member(1, 0, "ExTitle"), "Memo");
    EXPECT_EQ(f.Member(1, 1, "ExPathName"), "C:\\windows\\notepad.exe");
    EXPECT_EQ(f.Member(1, 1, "ExCommand"), "/a");
    EXPECT_EQ(f.Member(1, 1, "ExRunType"), "1");
    EXPECT_EQ(f.state.entries.UndoCount(), 1u);

    outcome = f.Import(MessageAnswer::No);
    EXPECT_EQ(outcome.imported, 2) << "members are not duplicates of the first group's";
    EXPECT_EQ(f.state.entries.At(2).PathName, "[Quick Launch (2)]");
    EXPECT_EQ(f.Member(2, 0, "ExPathName"), "C:\\memo.exe");

    ASSERT_TRUE(f.state.entries.Undo());
    ASSERT_TRUE(f.state.entries.Undo());
    EXPECT_EQ(f.List(), before);
    EXPECT_EQ(f.files.files.at(ExMenuFilePath(kFolder)), "") << "no members, and an undo never deletes a file";
}

TEST(ImportShortcutsCommand, NothingChangesWhenCancelledEmptyOrAllSkipped) {
    ImportFixture f;
    const std::string before = f.List();
    f.prompt.answer = std::nullopt;
    EXPECT_FALSE(f.Import(MessageAnswer::Yes).ran);
    EXPECT_TRUE(f.messages.shown.empty()) << "a cancel asks nothing more";

    f.prompt.answer = kQuickLaunch;
    f.folders.folders[kQuickLaunch] = {"readme.txt"};
    EXPECT_FALSE(f.Import(MessageAnswer::Yes).ran);
    ASSERT_EQ(f.messages.shown.size(), 1u);
    EXPECT_EQ(f.messages.shown[0].text, std::string(text::kImportNoShortcuts) + kQuickLaunch);

    f.Link("Memo.lnk", Target("C:\\memo.exe"));
    for (const MessageAnswer each : {MessageAnswer::Yes, MessageAnswer::No}) {
        f.shortcuts.links[std::string(kQuickLaunch) + "\\Memo.lnk"] =
            each == MessageAnswer::Yes ? Target("C:\\memo.exe") : Target("");
        const ShortcutImportOutcome outcome = f.Import(each);
        EXPECT_EQ(outcome.imported, 0);
        EXPECT_EQ(outcome.Skipped(), 1);
        EXPECT_EQ(f.messages.shown.size(), 2u) << "the question and the count, once";
    }
    EXPECT_EQ(f.List(), before);
    EXPECT_EQ(f.state.entries.UndoCount(), 0u) << "no change, no undo step";
    EXPECT_TRUE(f.bar.calls.empty());
}

TEST(ImportShortcutsCommand, TheLimitIsToldOnceAndTitlesTheCodePageLacksAreKept) {
    ImportFixture f;
    for (int i = 0; i < 1200; ++i)
        f.Link("t" + std::to_string(1000 + i) + ".lnk", Target("C:\\p\\" + std::to_string(i) + ".exe"));
    f.Link("한국어.lnk", Target("C:\\k.exe"));  // sorted last: over the limit
    const ShortcutImportOutcome outcome = f.Import(MessageAnswer::Yes);
    EXPECT_EQ(outcome.imported, 999) << "the hole and slots 2..999";
    EXPECT_EQ(outcome.overLimit, 202);
    EXPECT_EQ(f.state.entries.UpperBound(), kEntryLimit - 1);
    ASSERT_EQ(f.messages.shown.size(), 3u);
    EXPECT_EQ(f.messages.shown[1].text, std::string(text::kPageLimit));
    EXPECT_EQ(f.state.entries.UndoCount(), 1u);

    ImportFixture g;
    g.Link("한국어.lnk", Target("C:\\k.exe"));
    EXPECT_EQ(g.Import(MessageAnswer::Yes).imported, 1);
    ASSERT_TRUE(g.files.FileExists(kUnicode)) << "the title is kept in the UTF-8 copy";
    EXPECT_NE(g.files.files.at(kUnicode).find("한국어"), std::string::npos);
}

TEST(ImportShortcutsCommand, AGroupWhoseMembersCannotBeWrittenChangesNothing) {
    ImportFixture f;
    f.Link("Calc.lnk", Target("C:\\calc.exe"));
    const std::string before = f.List();
    f.files.failWrites = true;
    const ShortcutImportOutcome outcome = f.Import(MessageAnswer::No);
    EXPECT_TRUE(outcome.notSaved);
    EXPECT_EQ(outcome.imported, 0);
    EXPECT_TRUE(f.state.entries.At(1).PathName.empty()) << "no group without its members";
    ASSERT_EQ(f.messages.shown.size(), 2u) << "the question and the failed save, no count that says otherwise";
    EXPECT_EQ(f.messages.shown[1].text.rfind(std::string(text::kListChangeNotSaved), 0), 0u) << f.messages.shown[1].text;
    f.files.failWrites = false;
    EXPECT_EQ(f.List(), before);
}
