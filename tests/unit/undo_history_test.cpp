#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "platform/messages.h"
#include "bar/entry_drag.h"
#include "bar/file_drop.h"
#include "dialogs/group_box.h"
#include "dialogs/new_app.h"
#include "fakes/group_fakes.h"
#include "fakes/menu_fakes.h"
#include "platform/host_adapters.h"
#include "platform/ini_profile.h"

using namespace tavi;

namespace {

constexpr const char* kFolder = "C:\\Tavi";
constexpr const char* kList = "C:\\Tavi\\Launch.ini";
constexpr const char* kUnicode = "C:\\Tavi\\Launch.ini.utf8";
constexpr const char* kMembers = "C:\\Tavi\\TaviMenu2.INI";

// Members live in a real INI file, so every file a change writes is bytes to compare.
struct UndoFixture {
    fakes::CallLog log;
    fakes::MemoryFileSystem files;
    IconvCodePage codePage;
    IniProfile profile{files, codePage};
    fakes::FakeSystemInfo system;
    fakes::FakeShell shell;
    fakes::FakeMessageBoxes messages;
    Platform platform{profile, files, codePage, system, shell, messages};
    fakes::FakeBarServices bar{log};
    fakes::FakeCommandWindows windows{log};
    fakes::FakeSystemCommands systemCommands{log};
    fakes::FakeFolderListing folders;
    fakes::FakeMediaTools media{log};
    fakes::FakeListHandlers listHandlers{log};
    fakes::FakeShortcuts shortcuts;
    MenuMain state;
    BarListView view{state, bar};
    MenuCommands commands{
        MenuCommandPorts{state, platform, bar, windows, systemCommands, folders, media, listHandlers}};

    UndoFixture() {
        state.ApplicationPath = kFolder;
        state.entries.SetExMenuMax(1);
        EXPECT_TRUE(SaveExMenu(profile, kFolder, 1, {{"Solitaire", "C:\\sol.exe", "", "0"}, {}}, 1));
        fakes::GiveEntries(state, platform,
                           {{"Memo", "C:\\memo.exe", "", "0", "C:\\memo.exe", "0"},
                            {"Games", "[Games]", "", "0", "", "0"},
                            {"Calc", "C:\\calc.exe", "", "0", "C:\\calc.exe", "0"}});
        state.entries.Reserve(4);
        state.entries.AttachView(&view);
    }
    // A command of the entry menu opened on entry `index`.
    void Run(MenuCommand command, int index) {
        const size_t logged = log.size();
        (void)commands.PrepareEntryMenu(index);
        log.resize(logged);  // the menu's lists read afresh are no part of the command
        EXPECT_EQ(commands.Dispatch(static_cast<uint32_t>(command)), DispatchResult::Done);
    }
    ListFiles Files() { return ReadListFiles(files, kFolder); }
};

using Action = std::function<void(UndoFixture&)>;

Action Del(int i) { return [i](UndoFixture& f) { f.Run(MenuCommand::mnuAppDel, i); }; }
Action Cut(int i) { return [i](UndoFixture& f) { f.Run(MenuCommand::mnuAppOneTimeDelete, i); }; }
Action Paste(int i) { return [i](UndoFixture& f) { f.Run(MenuCommand::mnuAppOneTimeCopy, i); }; }
Action Move(int from, int to) {
    return [=](UndoFixture& f) { MoveEntryTo(f.state, from, to); };
}
Action Drop(int position, std::vector<std::string> dropped) {
    return [=](UndoFixture& f) { DropFiles({f.state, f.platform, f.shortcuts}, position, dropped); };
}
Action Register(int i, std::string path, std::string title) {
    return [=](UndoFixture& f) {
        NewAppView view;
        view.path = path;
        view.title = title;
        EXPECT_TRUE(NewAppOk(view, f.state, i));
    };
}
Action DeleteMember(int group, int slot) {
    return [=](UndoFixture& f) {
        GroupBox box(f.state, f.platform, group);
        fakes::FakeGroupBoxView view;
        view.menuChoices = {GroupMenuCommand::Delete};
        box.MemberMenu(view, slot);
    };
}
std::vector<LaunchEntry> LoadEntriesFrom(UndoFixture& f) { return LoadEntries(f.files, f.codePage, kFolder).store.slots; }

bool ToldSaveFailed(const UndoFixture& f) {
    for (const MessageRequest& box : f.messages.shown)
        if (box.text.starts_with(std::string(text::kListChangeNotSaved))) return true;
    return false;
}

// A title the code page lacks: the list gets its UTF-8 copy.
Action Unicode(int i) { return Register(i, "C:\\x.exe", "\xF0\x9F\x98\x80"); }

}  // namespace

// Each sequence is undone to the start and redone to its end; after every
// step the files are byte for byte what they were at that point.
TEST(UndoHistory, EveryKindOfChangeIsUndoneAndRedoneToTheExactFiles) {
    const struct {
        const char* what;
        std::vector<Action> actions;
        bool unicodeCopy = false;  // some step has the UTF-8 copy
    } cases[] = {
        {"delete", {Del(0)}},
        {"delete a group with its members", {Del(1)}},
        {"cut and paste a group", {Cut(1), Paste(3)}},
        {"paste over a registered entry", {Cut(0), Paste(2)}},
        {"a second cut writes the first back", {Cut(0), Cut(2), Paste(5)}},
        {"drag moves", {Move(0, 3), Move(1, 0), Move(2, 7)}},
        {"drop of two files", {Drop(3, {"C:\\a.txt", "C:\\b.txt"})}},
        {"registration and edit", {Register(3, "C:\\new.exe", "New"), Register(0, "C:\\memo2.exe", "Memo 2")}},
        {"member delete", {DeleteMember(1, 0)}},
        {"the UTF-8 copy comes and goes", {Unicode(3), Del(3), Unicode(0)}, true},
        {"mixed", {Del(2), Move(1, 2), DeleteMember(2, 0), Cut(0), Paste(1)}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        UndoFixture f;
        std::vector<ListFiles> at{f.Files()};
        for (const Action& action : c.actions) {
            action(f);
            at.push_back(f.Files());
            ASSERT_NE(at.back(), at[at.size() - 2]) << "the change wrote nothing";
        }
        ASSERT_EQ(f.state.entries.UndoCount(), c.actions.size());
        EXPECT_EQ(std::any_of(at.begin(), at.end(), [](const ListFiles& l) { return l.unicode.outcome == ReadOutcome::Whole; }),
                  c.unicodeCopy);
        for (size_t n = c.actions.size(); n-- > 0;) {
            f.Run(MenuCommand::mnuAppUndo, 0);
            EXPECT_EQ(f.Files(), at[n]) << "undo to step " << n;
            std::vector<LaunchEntry> shown = f.state.entries.Slots();
            const std::vector<LaunchEntry> listed = LoadEntriesFrom(f);
            ASSERT_GE(shown.size(), listed.size());
            EXPECT_TRUE(std::all_of(shown.begin() + static_cast<long>(listed.size()), shown.end(),
                                    [](const LaunchEntry& e) { return e == LaunchEntry{}; }))
                << "slots past the list are empty";
            shown.resize(listed.size());
            EXPECT_EQ(shown, listed) << "the bar shows what the list says";
        }
        EXPECT_FALSE(f.state.entries.CanUndo());
        EXPECT_FALSE(f.commands.Clipboard().CutPending) << "the start had nothing cut";
        for (size_t n = 1; n <= c.actions.size(); ++n) {
            f.Run(MenuCommand::mnuAppRedo, 0);
            EXPECT_EQ(f.Files(), at[n]) << "redo to step " << n;
        }
        EXPECT_FALSE(f.state.entries.CanRedo());
        EXPECT_FALSE(ToldSaveFailed(f));
    }
}

TEST(UndoHistory, AnUndoneCutIsNoLongerPendingAndItsRedoCutsAgain) {
    UndoFixture f;
    const ListFiles before = f.Files();
    Cut(1)(f);
    f.Run(MenuCommand::mnuAppUndo, 0);
    EXPECT_EQ(f.Files(), before);
    EXPECT_FALSE(f.commands.Clipboard().CutPending) << "a paste now would make a second copy";
    f.Run(MenuCommand::mnuAppRedo, 0);
    ASSERT_TRUE(f.commands.Clipboard().CutPending) << "the redone cut is not lost";
    EXPECT_EQ(f.commands.Clipboard().entry.Title, "Games");
    EXPECT_EQ(f.commands.Clipboard().members[0].ExTitle, "Solitaire");
    Paste(3)(f);
    EXPECT_EQ(f.state.entries.At(3).Title, "Games");
    EXPECT_EQ(LoadExMenu(f.profile, kFolder, 3, 1)[0].ExTitle, "Solitaire");
    // Undoing the paste gives the cut back, pending as it was.
    f.Run(MenuCommand::mnuAppUndo, 0);
    EXPECT_TRUE(f.commands.Clipboard().CutPending);
    EXPECT_TRUE(f.state.entries.At(1).PathName.empty());
}

TEST(UndoHistory, KeepsTheLastTwentyStepsAndANewChangeForgetsRedo) {
    UndoFixture f;
    std::vector<ListFiles> at{f.Files()};
    for (int n = 0; n < 25; ++n) {
        Move(n % 2 == 0 ? 0 : 1, n % 2 == 0 ? 1 : 0)(f);
        Register(3, "C:\\p" + std::to_string(n) + ".exe", "p")(f);
        at.push_back(f.Files());
    }
    // 50 changes: only the last 20 come back.
    EXPECT_EQ(f.state.entries.UndoCount(), kUndoDepth);
    int undone = 0;
    while (f.state.entries.Undo()) ++undone;
    EXPECT_EQ(undone, 20);
    EXPECT_EQ(f.Files(), at[15]) << "twenty changes back is the state after change 30 of 50";

    ASSERT_TRUE(f.state.entries.Redo());
    EXPECT_TRUE(f.state.entries.CanRedo());
    Del(2)(f);
    EXPECT_FALSE(f.state.entries.CanRedo()) << "a new change forgets what was undone";
    EXPECT_FALSE(f.state.entries.Redo());
}

TEST(UndoHistory, AFailedWriteIsToldAndKeepsTheStep) {
    UndoFixture f;
    const ListFiles before = f.Files();
    Del(1)(f);
    const ListFiles after = f.Files();
    f.files.failWrites = true;
    f.messages.shown.clear();
    f.log.clear();
    f.Run(MenuCommand::mnuAppUndo, 0);
    EXPECT_TRUE(ToldSaveFailed(f));
    EXPECT_EQ(f.Files(), after) << "nothing half written";
    EXPECT_TRUE(f.log.empty()) << "no rebuild for an undo that did not happen";
    EXPECT_EQ(f.state.entries.At(1), LaunchEntry{});
    EXPECT_TRUE(f.state.entries.CanUndo());
    EXPECT_FALSE(f.state.entries.CanRedo());
    f.files.failWrites = false;
    f.Run(MenuCommand::mnuAppUndo, 0);
    EXPECT_EQ(f.Files(), before);
    EXPECT_EQ(f.state.entries.At(1).Title, "Games");
}

TEST(UndoHistory, AChangeThatWroteNothingIsSkipped) {
    UndoFixture f;
    const ListFiles before = f.Files();
    Del(0)(f);
    // A drag released on its own slot, a cancelled question: no step.
    Move(2, 2)(f);
    f.messages.answers = {MessageAnswer::Cancel};
    Del(2)(f);
    EXPECT_EQ(f.state.entries.UndoCount(), 1u);
    // A change whose save failed left the files as they were.
    f.files.failWrites = true;
    Del(2)(f);
    f.files.failWrites = false;
    ASSERT_TRUE(f.state.entries.Undo());
    EXPECT_EQ(f.Files(), before) << "one undo takes back the delete that was saved";
}

FileContents Whole(std::string bytes) { return {ReadOutcome::Whole, std::move(bytes)}; }

TEST(WriteListFiles, AFileThatCannotBeWrittenPutsBackThoseWrittenBeforeIt) {
    const ListFiles before{Whole("list"), Whole("copy"), Whole("members")};
    const ListFiles images{Whole("old list"), {}, Whole("old members")};
    const struct {
        const char* failing;
        bool written;
    } cases[] = {{kUnicode, false}, {kList, false}, {kMembers, false}, {"C:\\Tavi\\other", true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.failing);
        fakes::MemoryFileSystem files;
        files.files = {{kList, "list"}, {kUnicode, "copy"}, {kMembers, "members"}};
        files.unwritable = {c.failing};
        EXPECT_EQ(WriteListFiles(files, kFolder, images, before), c.written);
        EXPECT_EQ(ReadListFiles(files, kFolder), c.written ? images : before);
    }
}

TEST(WriteListFiles, GoingBackNeverDeletesTheListOrTouchesWhatWasNeverRead) {
    fakes::MemoryFileSystem files;
    files.files = {{kList, "list"}, {kUnicode, "copy"}, {kMembers, "members"}};
    const ListFiles now = ReadListFiles(files, kFolder);
    // A list that was absent comes back empty; one never read stays as it is.
    ASSERT_TRUE(WriteListFiles(files, kFolder, {{}, {}, {ReadOutcome::Unreadable, {}}}, now));
    EXPECT_EQ(files.files, (std::map<std::string, std::string>{{kList, ""}, {kMembers, "members"}}));
}
