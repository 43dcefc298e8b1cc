#include <gtest/gtest.h>

#include "app/entry_store.h"
#include "dialogs/new_app.h"
#include "fakes/dialog_fakes.h"

using namespace tavi;

namespace {

constexpr const char* kList = "C:\\Tavi\\Launch.ini";
constexpr const char* kNotepad = "C:\\WINDOWS\\notepad.exe";

// A shell whose association answer carries a chosen result code.
class AssociationShell final : public Shell {
public:
    Association answer;
    std::vector<std::string> lookedUp;
    int Open(const ShellOpenRequest&) override { return 42; }
    Association AssociatedProgram(const std::string& document) override {
        lookedUp.push_back(document);
        return answer;
    }
};

class NewAppTest : public ::testing::Test {
protected:
    fakes::FakePlatform fake;
    fakes::FakeFileChooser chooser;
    fakes::FakeIconFiles icons;
    fakes::FakeBarServices bar;
    MenuMain state;
    BarListView listView{state, bar};
    int current = 0;  // the entry the dialog was opened on

    void SetUp() override {
        state.ApplicationPath = "C:\\Tavi";
        fakes::SetSetting(state, &Settings::ToolTips, "1");
        fakes::GiveEntries(state, fake.platform,
                           {
                               {"Memo", "C:\\Tools\\memo.exe", "/a", "1", "C:\\Tools\\memo.exe", "0"},
                               {"Docs", "C:\\Docs\\", "", "0", "C:\\Docs\\", "0"},
                               {"ﾂｰﾙ", "[ﾂｰﾙ]", "", "2", "", "0"},
                               {"Odd", "C:\\odd.exe", "", "7", "C:\\icons.dll", "3"},
                           });
        state.entries.AttachView(&listView);
        fake.files.replaceCalls = 0;
        fake.shell.associations["C:\\My Docs\\memo.txt"] = kNotepad;
    }
    NewAppView LoadAt(int index) {
        current = index;
        return NewAppLoad(state, index);
    }
    bool Browse(NewAppView& view) { return NewAppBrowse(view, fake.platform, chooser, 0x55, state.ApplicationPath); }
    std::vector<LaunchEntry> Stored() { return ParseEntries(fake.files.files[kList]).slots; }
};

}  // namespace

TEST_F(NewAppTest, LoadingShowsTheEntryOrANewOne) {
    const struct {
        int index;
        EntryKind kind;
        const char* path;
        const char* title;
        const char* command;
        int runSize;
        bool browse;
        bool ok;
    } cases[] = {
        {0, EntryKind::File, "C:\\Tools\\memo.exe", "Memo", "/a", 1, true, true},
        {1, EntryKind::Folder, "C:\\Docs\\", "Docs", "", 0, true, true},
        {2, EntryKind::Group, "ﾂｰﾙ", "ﾂｰﾙ", "", 2, false, true},  // the name without its brackets
        {3, EntryKind::File, "C:\\odd.exe", "Odd", "", -1, true, true},  // a size the list does not have
        {4, EntryKind::File, "", "", "", 0, true, false},  // just past the end: a new entry
        {40, EntryKind::File, "", "", "", 0, true, false},
    };
    for (const auto& c : cases) {
        const NewAppView view = LoadAt(c.index);
        EXPECT_EQ(view.kind, c.kind) << "entry " << c.index;
        EXPECT_EQ(view.path, c.path) << "entry " << c.index;
        EXPECT_EQ(view.title, c.title) << "entry " << c.index;
        EXPECT_EQ(view.command, c.command) << "entry " << c.index;
        EXPECT_EQ(view.runSizeIndex, c.runSize) << "entry " << c.index;
        EXPECT_EQ(view.browseEnabled, c.browse) << "entry " << c.index;
        EXPECT_EQ(view.okEnabled, c.ok) << "entry " << c.index;
    }
    EXPECT_EQ(LoadAt(3).icon, (IconChoice{"C:\\icons.dll", "3"}));
    EXPECT_EQ(LoadAt(40).icon, IconChoice{});
    EXPECT_EQ(state.entries.Slots().size(), 4u) << "loading grows nothing";
}

TEST_F(NewAppTest, KindAndPathDecideWhichButtonsWork) {
    NewAppView view = LoadAt(4);
    NewAppKindChanged(view, EntryKind::Group);
    EXPECT_FALSE(view.browseEnabled);
    NewAppKindChanged(view, EntryKind::Folder);
    EXPECT_TRUE(view.browseEnabled);
    const struct {
        const char* path;
        bool ok;
    } paths[] = {{"C:\\a.exe", true}, {"", false}, {" ", true}};
    for (const auto& p : paths) {
        NewAppPathChanged(view, p.path);
        EXPECT_EQ(view.okEnabled, p.ok) << "'" << p.path << "'";
    }
}

TEST_F(NewAppTest, BrowsingForAFileStartsWhereThePathPoints) {
    NewAppView view = LoadAt(4);
    Browse(view);
    view = LoadAt(0);
    Browse(view);
    ASSERT_EQ(chooser.files.size(), 2u);
    for (const FileChoice& asked : chooser.files) {
        EXPECT_EQ(asked.owner, 0x55u);
        EXPECT_EQ(asked.title, "登録ｱﾌﾟﾘｹｰｼｮﾝの指定");
        EXPECT_EQ(asked.filter, "Exe Files (*.exe)|*.exe|Com Files (*.com)|*.com|All Files (*.*)|*.*");
        EXPECT_EQ(asked.filterIndex, 1);
    }
    EXPECT_EQ(chooser.files[0].initialName, "") << "a new entry starts in the program's folder";
    EXPECT_EQ(chooser.files[0].initialFolder, "C:\\Tavi");
    EXPECT_EQ(chooser.files[1].initialName, "memo.exe");
    EXPECT_EQ(chooser.files[1].initialFolder, "C:\\Tools");
    EXPECT_TRUE(chooser.folders.empty());
}

TEST_F(NewAppTest, AChosenFileReplacesPathAndCommandAndGivesADefaultTitle) {
    const struct {
        const char* what;
        int index;
        const char* chosen;
        const char* path;
        const char* title;
        const char* command;
    } cases[] = {
        {"new entry", 4, "C:\\ﾂｰﾙ\\ｴﾃﾞｨﾀ.exe", "C:\\ﾂｰﾙ\\ｴﾃﾞｨﾀ.exe", "ｴﾃﾞｨﾀ.exe", ""},
        {"same file again clears the command", 0, "C:\\Tools\\memo.exe", "C:\\Tools\\memo.exe", "Memo", ""},
        {"a title is kept", 0, "C:\\bin\\other.COM", "C:\\bin\\other.COM", "Memo", ""},
        {"document to program", 4, "C:\\My Docs\\memo.txt", kNotepad, "memo.txt", "\"C:\\My Docs\\memo.txt\""},
        {"no association", 4, "C:\\Docs\\data.xyz", "C:\\Docs\\data.xyz", "data.xyz", ""},
    };
    for (const auto& c : cases) {
        NewAppView view = LoadAt(c.index);
        chooser.answers = {c.chosen};
        EXPECT_TRUE(Browse(view)) << c.what;
        EXPECT_EQ(view.path, c.path) << c.what;
        EXPECT_EQ(view.title, c.title) << c.what;
        EXPECT_EQ(view.command, c.command) << c.what;
        EXPECT_TRUE(view.okEnabled) << c.what;
    }
}

// An association that comes after the dialog went on never overwrites what
// the user did meanwhile.
TEST(NewAppLateAssociation, AppliesOnlyToTheUntouchedDocument) {
    const Shell::Association found{42, kNotepad};
    const struct {
        const char* what;
        const char* document;  // asked for
        const char* path;      // in the dialog when the answer comes
        const char* command;
        Shell::Association answer;
        bool resolved;
        const char* pathAfter;
        const char* commandAfter;
    } cases[] = {
        {"untouched", "C:\\My Docs\\a.txt", "C:\\My Docs\\a.txt", "", found, true, kNotepad, "\"C:\\My Docs\\a.txt\""},
        {"path edited", "C:\\My Docs\\a.txt", "C:\\My Docs\\b.txt", "", found, false, "C:\\My Docs\\b.txt", ""},
        {"command typed", "C:\\My Docs\\a.txt", "C:\\My Docs\\a.txt", "/p", found, false, "C:\\My Docs\\a.txt", "/p"},
        {"a program chosen", kNotepad, kNotepad, "", found, false, kNotepad, ""},
        {"no program found", "C:\\My Docs\\a.txt", "C:\\My Docs\\a.txt", "", {31, ""}, false, "C:\\My Docs\\a.txt", ""},
    };
    for (const auto& c : cases) {
        std::string path = c.path;
        std::string command = c.command;
        EXPECT_EQ(ResolveLateDocument(path, command, c.document, c.answer), c.resolved) << c.what;
        EXPECT_EQ(path, c.pathAfter) << c.what;
        EXPECT_EQ(command, c.commandAfter) << c.what;
    }
}

TEST_F(NewAppTest, OnlyAFoundProgramOtherThanTheFileTurnsADocumentIntoIt) {
    AssociationShell shell;
    Platform platform{fake.profile, fake.files, fake.codePage, fake.system, shell, fake.messages};
    const struct {
        const char* what;
        const char* chosen;
        Shell::Association answer;
        bool asked;
        const char* path;
        const char* command;
    } cases[] = {
        {"found", "C:\\a.txt", {33, kNotepad}, true, kNotepad, "C:\\a.txt"},
        {"a spaced document is quoted", "C:\\My Docs\\a.txt", {42, kNotepad}, true, kNotepad,
         "\"C:\\My Docs\\a.txt\""},
        {"32 is an error code", "C:\\a.txt", {32, kNotepad}, true, "C:\\a.txt", ""},
        {"not found", "C:\\a.txt", {31, ""}, true, "C:\\a.txt", ""},
        {"quoted program", "C:\\a.txt", {42, "\"C:\\Program Files\\ed.exe\"  "}, true, "C:\\Program Files\\ed.exe",
         "C:\\a.txt"},
        {"the file opens itself", "C:\\a.bat", {42, "c:\\A.BAT"}, true, "C:\\a.bat", ""},
        {"an empty answer", "C:\\a.txt", {42, ""}, true, "C:\\a.txt", ""},
        {"a program", "C:\\Tools\\Tool.Exe", {42, kNotepad}, false, "C:\\Tools\\Tool.Exe", ""},
        {".COM anywhere", "C:\\x.comics\\a.txt", {42, kNotepad}, false, "C:\\x.comics\\a.txt", ""},
    };
    for (const auto& c : cases) {
        shell.answer = c.answer;
        shell.lookedUp.clear();
        NewAppView view = LoadAt(4);
        chooser.answers = {c.chosen};
        ASSERT_TRUE(NewAppBrowse(view, platform, chooser, 0, state.ApplicationPath)) << c.what;
        EXPECT_EQ(!shell.lookedUp.empty(), c.asked) << c.what;
        EXPECT_EQ(view.path, c.path) << c.what;
        EXPECT_EQ(view.command, c.command) << c.what;
    }
}

TEST_F(NewAppTest, AChosenFolderEndsInABackslashAndIsItsOwnTitle) {
    NewAppView view = LoadAt(4);
    NewAppKindChanged(view, EntryKind::Folder);
    chooser.answers = {"C:\\ﾃﾞｰﾀ"};
    ASSERT_TRUE(Browse(view));
    ASSERT_EQ(chooser.folders.size(), 1u);
    EXPECT_EQ(chooser.folders[0].owner, 0x55u);
    EXPECT_EQ(chooser.folders[0].prompt, "ﾌｫﾙﾀﾞを選択して下さい");
    EXPECT_TRUE(chooser.files.empty());
    EXPECT_EQ(view.path, "C:\\ﾃﾞｰﾀ\\");
    EXPECT_EQ(view.title, "C:\\ﾃﾞｰﾀ\\");
    EXPECT_TRUE(fake.shell.lookedUp.empty()) << "a folder is no document";

    chooser.answers = {"D:\\"};
    view.title = " ";
    ASSERT_TRUE(Browse(view));
    EXPECT_EQ(view.path, "D:\\");
    EXPECT_EQ(view.title, "D:\\");
}

TEST_F(NewAppTest, ACancelledOrImpossibleBrowseChangesNothing) {
    NewAppView view = LoadAt(0);
    const NewAppView before = view;
    EXPECT_FALSE(Browse(view));  // cancelled
    EXPECT_EQ(view.path, before.path);
    EXPECT_EQ(view.command, before.command);

    view = LoadAt(2);  // a group has nothing to browse for
    EXPECT_FALSE(Browse(view));
    EXPECT_EQ(chooser.files.size(), 1u);
    EXPECT_TRUE(chooser.folders.empty());
}

TEST_F(NewAppTest, ThePickerIsOpenedOnTheDialogsChoiceAndOnlyOKChangesIt) {
    NewAppView view = LoadAt(2);
    std::vector<IconChangeInput> asked;
    std::optional<IconChoice> answer;
    const IconPicker pick = [&](const IconChangeInput& input) {
        asked.push_back(input);
        return answer;
    };
    EXPECT_FALSE(NewAppChangeIcon(view, pick)) << "cancelled";
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].choice, (IconChoice{"", "0"}));
    EXPECT_EQ(asked[0].ownerPath, "ﾂｰﾙ");
    EXPECT_TRUE(asked[0].ownerIsGroup);
    EXPECT_EQ(view.icon, (IconChoice{"", "0"}));

    answer = IconChoice{"C:\\i.dll", "4"};
    EXPECT_TRUE(NewAppChangeIcon(view, pick));
    EXPECT_EQ(view.icon, *answer);

    for (const char* blank : {"", "  "}) {
        NewAppPathChanged(view, blank);
        EXPECT_FALSE(NewAppChangeIcon(view, pick)) << "'" << blank << "'";
    }
    EXPECT_EQ(asked.size(), 2u) << "no path, no picker";
}

TEST_F(NewAppTest, ThePreviewShowsWhatTheEntryWillShow) {
    icons.counts["C:\\Tools\\memo.exe"] = 1;
    icons.counts["C:\\icons.dll"] = 5;
    using K = IconPreview::Kind;
    const struct {
        const char* what;
        EntryKind kind;
        const char* path;
        IconChoice icon;
        IconPreview expected;
    } cases[] = {
        {"no path", EntryKind::File, " ", {"C:\\icons.dll", "1"}, {}},
        {"a new program", EntryKind::File, "C:\\Tools\\memo.exe", {"", ""}, {K::Extract, "C:\\Tools\\memo.exe", 0}},
        {"its own icon", EntryKind::File, "C:\\Tools\\memo.exe", {"C:\\Tools\\memo.exe", "0"},
         {K::Extract, "C:\\Tools\\memo.exe", 0}},
        {"a chosen icon", EntryKind::File, "C:\\Tools\\memo.exe", {"C:\\icons.dll", "4"}, {K::Extract, "C:\\icons.dll", 4}},
        {"a number the file lacks", EntryKind::File, "C:\\Tools\\memo.exe", {"C:\\icons.dll", "5"}, {}},
        {"a file without icons", EntryKind::File, "C:\\a.txt", {"", ""}, {}},
        {"a new folder", EntryKind::Folder, "C:\\Docs\\", {"", ""}, {K::Folder, "", 0}},
        {"a stored folder", EntryKind::Folder, "C:\\Docs\\", {"C:\\Docs\\", "0"}, {K::Folder, "", 0}},
        {"a folder with a chosen icon", EntryKind::Folder, "C:\\Docs\\", {"C:\\icons.dll", "2"},
         {K::Extract, "C:\\icons.dll", 2}},
        {"a group", EntryKind::Group, "ﾂｰﾙ", {"", "0"}, {K::Folder, "", 0}},
        {"a group with an icon", EntryKind::Group, "ﾂｰﾙ", {"C:\\icons.dll", "1"}, {K::Extract, "C:\\icons.dll", 1}},
        {"a program still counted", EntryKind::File, "\\\\slow\\memo.exe", {"", ""},
         {K::Coming, "\\\\slow\\memo.exe", 0}},
        {"a chosen icon still counted", EntryKind::File, "C:\\Tools\\memo.exe", {"\\\\slow\\icons.dll", "3"},
         {K::Coming, "\\\\slow\\icons.dll", 3}},
        {"a folder there is not counted", EntryKind::Folder, "\\\\slow\\Docs\\", {"", ""}, {K::Folder, "", 0}},
    };
    // Files on the share \\slow are still being counted.
    const IconCounts counts = [&](const std::string& path) -> std::optional<int> {
        if (path.starts_with("\\\\slow\\")) return std::nullopt;
        return icons.IconCount(path);
    };
    for (const auto& c : cases) {
        NewAppView view = LoadAt(4);
        view.kind = c.kind;
        view.path = c.path;
        view.icon = c.icon;
        EXPECT_EQ(NewAppPreview(view, counts), c.expected) << c.what;
    }
    EXPECT_EQ(state.entries.Slots().size(), 4u) << "a preview writes no entry";
}

TEST_F(NewAppTest, OkOnASlotPastTheEndGrowsTheListFirst) {
    for (const int index : {4, 9}) {
        NewAppView view = LoadAt(index);
        NewAppPathChanged(view, " C:\\ﾂｰﾙ\\ｴﾃﾞｨﾀ.exe ");
        view.title = " ｴﾃﾞｨﾀ ";
        view.runSizeIndex = 2;
        ASSERT_TRUE(NewAppOk(view, state, current)) << index;
        ASSERT_EQ(state.entries.UpperBound(), index);
        EXPECT_EQ(state.entries.At(index),
                  (LaunchEntry{"ｴﾃﾞｨﾀ", "C:\\ﾂｰﾙ\\ｴﾃﾞｨﾀ.exe", "", "2", "C:\\ﾂｰﾙ\\ｴﾃﾞｨﾀ.exe", "0"}))
            << index;
        EXPECT_EQ(Stored(), state.entries.Slots()) << "the list is saved, entry " << index;
    }
    EXPECT_EQ(state.entries.At(5), LaunchEntry{}) << "the slots between stay empty";
    EXPECT_EQ(bar.buttons.calls,
              (std::vector<std::string>{"tip 4 ｴﾃﾞｨﾀ", "icon 4 cached", "tip 9 ｴﾃﾞｨﾀ", "icon 9 cached"}));
    EXPECT_TRUE(bar.calls.empty()) << "the path's own icon needs no rebuild";
}

TEST_F(NewAppTest, OkStoresKindsAndIconsAndRebuildsWhenTheIconIsNotThePaths) {
    const struct {
        const char* what;
        int index;
        EntryKind kind;
        const char* path;
        IconChoice icon;
        int runSize;
        LaunchEntry stored;
        bool rebuild;
    } cases[] = {
        {"a group keeps its brackets", 2, EntryKind::Group, "ﾂｰﾙ", {"", "0"}, 2, {"T", "[ﾂｰﾙ]", "c", "2", "", "0"}, true},
        {"a chosen icon", 0, EntryKind::File, "C:\\Tools\\memo.exe", {"C:\\icons.dll", "5"}, 1,
         {"T", "C:\\Tools\\memo.exe", "c", "1", "C:\\icons.dll", "5"}, true},
        {"icon 3 of the program itself", 0, EntryKind::File, "C:\\Tools\\memo.exe", {"C:\\Tools\\memo.exe", "3"}, 0,
         {"T", "C:\\Tools\\memo.exe", "c", "0", "C:\\Tools\\memo.exe", "3"}, true},
        {"a new folder", 4, EntryKind::Folder, "C:\\Docs\\", {"", ""}, -1, {"T", "C:\\Docs\\", "c", "0", "C:\\Docs\\", "0"},
         false},
        {"a new path keeps an icon chosen before", 0, EntryKind::File, "C:\\new.exe", {"C:\\Tools\\memo.exe", "0"}, 0,
         {"T", "C:\\new.exe", "c", "0", "C:\\Tools\\memo.exe", "0"}, true},
        {"a new group", 5, EntryKind::Group, "新ｸﾞﾙｰﾌﾟ", {"", ""}, 0, {"T", "[新ｸﾞﾙｰﾌﾟ]", "c", "0", "", "0"}, true},
    };
    for (const auto& c : cases) {
        SetUp();
        bar.calls.clear();
        NewAppView view = LoadAt(c.index);
        view.kind = c.kind;
        view.path = c.path;
        view.title = "T";
        view.command = "c";
        view.icon = c.icon;
        view.runSizeIndex = c.runSize;
        ASSERT_TRUE(NewAppOk(view, state, current)) << c.what;
        EXPECT_EQ(state.entries.At(c.index), c.stored) << c.what;
        EXPECT_EQ(Stored()[c.index], c.stored) << c.what;
        EXPECT_EQ(bar.calls, c.rebuild ? std::vector<std::string>{"bar rebuild"} : std::vector<std::string>{})
            << c.what;
    }
}

TEST_F(NewAppTest, OnlyAFolderOffersToShowAsAMenu) {
    using Items = std::vector<std::string_view>;
    EXPECT_EQ(RunSizeItems(false), (Items{"通常のｳｨﾝﾄﾞｳ", "最小化", "最大化"}));
    EXPECT_EQ(RunSizeItems(true), (Items{"通常のｳｨﾝﾄﾞｳ", "最小化", "最大化", "ﾒﾆｭｰで表示"}));

    fakes::GiveEntries(state, fake.platform,
                       {{"Docs", "C:\\Docs\\", "", "3", "C:\\Docs\\", "0"},
                        {"Odd", "C:\\odd.exe", "", "3", "C:\\odd.exe", "0"},
                        {"Set", "[Set]", "", "3", "", "0"}});
    EXPECT_EQ(LoadAt(0).runSizeIndex, 3) << "a folder shown as a menu";
    EXPECT_EQ(LoadAt(1).runSizeIndex, -1) << "a file's list has no fourth item";
    EXPECT_EQ(LoadAt(2).runSizeIndex, -1) << "nor has a group's";

    const struct {
        EntryKind to;
        int before;
        int after;
    } switches[] = {
        {EntryKind::File, 3, 0}, {EntryKind::Group, 3, 0}, {EntryKind::Folder, 3, 3}, {EntryKind::File, 2, 2},
    };
    for (const auto& c : switches) {
        NewAppView view = LoadAt(0);
        view.runSizeIndex = c.before;
        NewAppKindChanged(view, c.to);
        EXPECT_EQ(view.runSizeIndex, c.after) << static_cast<int>(c.to) << " from " << c.before;
    }

    const struct {
        const char* what;
        EntryKind kind;
        const char* path;
        int runSize;
        LaunchEntry stored;
    } oks[] = {
        {"a folder as a menu gets its closing backslash", EntryKind::Folder, " C:\\Docs ", 3,
         {"T", "C:\\Docs\\", "", "3", "C:\\Docs\\", "0"}},
        {"and keeps the one it has", EntryKind::Folder, "C:\\Docs\\", 3,
         {"T", "C:\\Docs\\", "", "3", "C:\\Docs\\", "0"}},
        {"a folder opened in the explorer stays as typed", EntryKind::Folder, "C:\\Docs", 0,
         {"T", "C:\\Docs", "", "0", "C:\\Docs", "0"}},
        {"a file never stores the menu's run type", EntryKind::File, "C:\\odd.exe", 3,
         {"T", "C:\\odd.exe", "", "0", "C:\\odd.exe", "0"}},
    };
    int index = 5;  // each a new entry
    for (const auto& c : oks) {
        NewAppView view = LoadAt(index);
        view.kind = c.kind;
        NewAppPathChanged(view, c.path);
        view.title = "T";
        view.runSizeIndex = c.runSize;
        ASSERT_TRUE(NewAppOk(view, state, current)) << c.what;
        EXPECT_EQ(state.entries.At(index), c.stored) << c.what;
        EXPECT_EQ(Stored()[static_cast<size_t>(index)], c.stored) << c.what;
        ++index;
    }
}

TEST_F(NewAppTest, OkWithoutAPathStoresNothing) {
    for (const char* blank : {"", "   "}) {
        NewAppView view = LoadAt(4);
        NewAppPathChanged(view, blank);
        view.title = "T";
        EXPECT_FALSE(NewAppOk(view, state, current)) << "'" << blank << "'";
    }
    NewAppView view = LoadAt(-1);
    view.path = "C:\\a.exe";
    EXPECT_FALSE(NewAppOk(view, state, current)) << "no slot";
    EXPECT_EQ(state.entries.Slots().size(), 4u);
    EXPECT_EQ(fake.files.replaceCalls, 0);
    EXPECT_TRUE(bar.buttons.calls.empty());
    EXPECT_TRUE(bar.calls.empty());
}

TEST_F(NewAppTest, ACancelledPickerLeavesTheEntrysIconToItsPath) {
    // A group opens the picker on the system library; cancelling it must not
    // leave that library as the new entry's icon.
    icons.counts["C:\\WINDOWS\\system32\\SHELL32.DLL"] = 200;
    NewAppView view = LoadAt(4);
    NewAppPathChanged(view, "C:\\Tools\\tool.exe");
    IconChangeView shown;
    const IconPicker cancel = [&](const IconChangeInput& input) -> std::optional<IconChoice> {
        shown = IconChangeLoad(input, fake.platform, icons);
        return std::nullopt;
    };
    EXPECT_FALSE(NewAppChangeIcon(view, cancel));
    EXPECT_EQ(shown.fileText, "C:\\WINDOWS\\system32\\SHELL32.DLL") << "the tool has no icons: the library is shown";
    ASSERT_TRUE(NewAppOk(view, state, current));
    EXPECT_EQ(state.entries.At(4).IconPath, "C:\\Tools\\tool.exe");

    const IconPicker confirm = [&](const IconChangeInput& input) -> std::optional<IconChoice> {
        return IconChangeOk(IconChangeLoad(input, fake.platform, icons));
    };
    view = LoadAt(5);
    NewAppPathChanged(view, "ｸﾞﾙｰﾌﾟ");
    NewAppKindChanged(view, EntryKind::Group);
    EXPECT_TRUE(NewAppChangeIcon(view, confirm));
    ASSERT_TRUE(NewAppOk(view, state, current));
    EXPECT_EQ(state.entries.At(5).IconPath, "C:\\WINDOWS\\system32\\SHELL32.DLL");
    EXPECT_EQ(state.entries.At(5).PathName, "[ｸﾞﾙｰﾌﾟ]");
}
