// A change to the list files lands whole or not at all, whichever file
// operation fails and wherever the process is killed.
#include <gtest/gtest.h>

#include <functional>

#include "app/list_change.h"
#include "app/menu_main.h"
#include "app/startup.h"
#include "fakes/bar_services_fake.h"
#include "fakes/fakes.h"
#include "platform/host_adapters.h"
#include "platform/ini_profile.h"
#include "platform/messages.h"
#include "tools/option_set.h"

using namespace tavi;

namespace {

constexpr const char* kFolder = "C:\\Tavi";

// The disk of MemoryFileSystem, with one operation made to fail: the n-th
// read, replacement or removal from the moment it is armed (a held file, a
// full disk), or, `dying`, that one and every one after (the process killed).
class FailingFileSystem final : public FileSystem {
public:
    explicit FailingFileSystem(fakes::MemoryFileSystem& disk) : disk_(disk) {}
    void Arm(int failAt, bool dying) { left_ = failAt, dying_ = dying, count_ = 0; }
    void Disarm() { left_ = -1, dying_ = false; }
    int Count() const { return count_; }

    FileContents Read(const std::string& path) override {
        return Fails("read " + path) ? FileContents{ReadOutcome::Unreadable, {}} : disk_.Read(path);
    }
    bool ReplaceAll(const std::string& path, std::string_view bytes) override {
        return !Fails("replace " + path) && disk_.ReplaceAll(path, bytes);
    }
    bool RemoveFile(const std::string& path) override { return !Fails("remove " + path) && disk_.RemoveFile(path); }
    std::string failed;  // the operation that failed first
    bool FileExists(const std::string& path) override { return disk_.FileExists(path); }
    std::string CurrentDirectory() override { return disk_.CurrentDirectory(); }

private:
    bool Fails(const std::string& operation) {
        ++count_;
        if (left_ < 0) return false;
        if (left_ == 0) {
            if (failed.empty()) failed = operation;
            return dying_ || (left_ = -1, true);
        }
        --left_;
        return false;
    }
    fakes::MemoryFileSystem& disk_;
    int left_ = -1;
    bool dying_ = false;
    int count_ = 0;
};

// A program over the disk: a list with a title the code page lacks (so it
// has its UTF-8 copy), a group at 1 with a member, and settings.
struct Program {
    fakes::MemoryFileSystem& disk;
    FailingFileSystem files{disk};
    IconvCodePage codePage;
    IniProfile profile{files, codePage};
    fakes::FakeSystemInfo system;
    fakes::FakeShell shell;
    fakes::FakeMessageBoxes messages;
    Platform platform{profile, files, codePage, system, shell, messages};
    MenuMain state;

    explicit Program(fakes::MemoryFileSystem& d) : disk(d) {
        state.ApplicationPath = kFolder;
        state.entries.SetExMenuMax(2);
        state.entries.Open(state.ApplicationPath, state.notices, platform);
    }
    // The list as the bar holds it, and as a fresh start reads it from disk.
    std::vector<LaunchEntry> Shown() const { return Trimmed(state.entries.Slots()); }
    static std::vector<LaunchEntry> Trimmed(std::vector<LaunchEntry> slots) {
        while (!slots.empty() && slots.back() == LaunchEntry{}) slots.pop_back();
        return slots;
    }
};

fakes::MemoryFileSystem FirstDisk() {
    fakes::MemoryFileSystem disk;
    IconvCodePage codePage;
    IniProfile profile(disk, codePage);
    fakes::FakePlatform fake;
    Platform platform{profile, disk, codePage, fake.system, fake.shell, fake.messages};
    EntryStore store;
    store.slots = {{"한글 메모", "C:\\memo.exe", "", "0", "", "0"},
                   {"Games", "[Games]", "", "0", "", "0"},
                   {"Calc", "C:\\calc.exe", "", "0", "", "0"}};
    EXPECT_TRUE(SaveEntries(store, platform, kFolder));
    EXPECT_TRUE(SaveExMenu(profile, kFolder, 1, {{"Solitaire", "C:\\sol.exe", "", "0"}, {}}, 2));
    return disk;
}

using ChangeKind = std::function<bool(Program&)>;

bool Edit(Program& p, const std::function<void(ListEdit&)>& edit) { return p.state.entries.Change(edit); }

const struct {
    const char* name;
    ChangeKind change;
} kChanges[] = {
    {"add", [](Program& p) { return Edit(p, [](ListEdit& e) { e.Slot(4) = {"Paint", "C:\\paint.exe", "", "0", "", "0"}; }); }},
    {"edit", [](Program& p) { return Edit(p, [](ListEdit& e) { e.Slot(2).Title = "電卓"; }); }},
    {"delete a group", [](Program& p) { return Edit(p, [](ListEdit& e) { e.Clear(1), e.ClearMembers(1); }); }},
    {"move a group 1 -> 150", [](Program& p) { return Edit(p, [](ListEdit& e) { e.Move(1, 150); }); }},
    {"paste a group", [](Program& p) {
         return Edit(p, [](ListEdit& e) {
             e.Slot(3) = {"Tools", "[Tools]", "", "0", "", "0"};
             e.SetMembers(3, {{"Notepad", "C:\\n.exe", "", "0"}, {"한", "C:\\h.exe", "", "0"}});
         });
     }},
    {"edit a member", [](Program& p) {
         return Edit(p, [](ListEdit& e) {
             ExMenuSlots members = e.Members(1);
             members[1] = {"Mines", "C:\\mines.exe", "", "0"};
             e.SetMembers(1, members);
         });
     }},
    {"undo a move", [](Program& p) { return p.state.entries.Undo(); }},
    {"redo a move", [](Program& p) { return p.state.entries.Redo(); }},
    {"options OK", [](Program& p) {
         const Settings& s = p.state.settings.Values();
         OptionSetState controls = OptionSetLoad(s).controls;
         controls.txtExMenuCount = "20";
         controls.ChkDispToolTip = 0;
         fakes::FakeBarServices bar;
         return OptionSetOk(s, controls, fakes::KeptChoices(p.state), p.state, p.platform, bar)
                    .outcome == OptionSetOkOutcome::Applied;
     }},
};

// The settings the bar runs on, as a fresh start would read them from disk.
std::string SettingsKey(const Settings& s) { return s.IniBuff + "|" + s.ExMenuCount + "|" + s.ToolTips; }
std::string SettingsOnDisk(fakes::MemoryFileSystem& disk) {
    IconvCodePage codePage;
    IniProfile profile(disk, codePage);
    SettingsFile settings;
    EXPECT_TRUE(settings.Read(profile, SettingsFilePath(kFolder)));
    return SettingsKey(settings.Values());
}

// Before the undo and redo rows, a move of the group to undo (and undo it, for redo).
void Prepare(Program& p, const char* name) {
    const std::string kind = name;
    if (kind.starts_with("undo") || kind.starts_with("redo")) ASSERT_TRUE(Edit(p, [](ListEdit& e) { e.Move(1, 150); }));
    if (kind.starts_with("redo")) ASSERT_TRUE(p.state.entries.Undo());
    if (kind.starts_with("options")) ASSERT_TRUE(ReadSettings(p.state, p.platform));
}

}  // namespace

TEST(ListChange, EveryChangeLandsWholeOrNotAtAllWhicheverOperationFails) {
    int runs = 0;
    for (const auto& kind : kChanges) {
        SCOPED_TRACE(kind.name);
        // The change once without a fault: the files after it, and how many operations it takes.
        fakes::MemoryFileSystem reference = FirstDisk();
        Program clean(reference);
        Prepare(clean, kind.name);
        const auto before = reference.files;
        const size_t undoBefore = clean.state.entries.UndoCount();
        clean.files.Arm(-1, false);
        ASSERT_TRUE(kind.change(clean));
        const int operations = clean.files.Count();
        const auto after = reference.files;
        ASSERT_NE(after, before);
        const std::vector<LaunchEntry> shownAfter = clean.Shown();

        for (int n = 0; n < operations; ++n) {
            SCOPED_TRACE("operation " + std::to_string(n) + " of " + std::to_string(operations) + " fails");
            ++runs;
            fakes::MemoryFileSystem disk = FirstDisk();
            Program p(disk);
            Prepare(p, kind.name);
            const std::vector<LaunchEntry> shownBefore = p.Shown();
            p.files.Arm(n, false);
            const bool made = kind.change(p);
            p.files.Disarm();
            SCOPED_TRACE(p.files.failed);
            // A journal left (a file that could not be put back) is settled at the next start.
            EXPECT_TRUE(SettleListChange(disk, kFolder));
            EXPECT_TRUE(disk.files == before || disk.files == after) << "half a change on disk";
            EXPECT_EQ(made, disk.files == after);
            EXPECT_EQ(p.Shown(), made ? shownAfter : shownBefore) << "the bar shows what the disk holds";
            EXPECT_EQ(p.state.entries.UndoCount(), made ? clean.state.entries.UndoCount() : undoBefore);
            EXPECT_EQ(SettingsKey(p.state.settings.Values()), SettingsOnDisk(disk)) << "the bar runs on what the disk holds";
            EXPECT_EQ(Program::Trimmed(Program(disk).Shown()), made ? shownAfter : shownBefore) << "the next start";
        }
    }
    EXPECT_GT(runs, 60);
    std::printf("%d failing runs over %zu kinds of change\n", runs, std::size(kChanges));
}

// The process killed between any two file operations of a change over two
// files: the next start shows the whole change or none of it.
TEST(ListChange, AKillAtAnyStepOfAChangeOverTwoFilesShowsAllOrNoneAtTheNextStart) {
    for (const auto& kind : kChanges) {
        SCOPED_TRACE(kind.name);
        fakes::MemoryFileSystem reference = FirstDisk();
        Program clean(reference);
        Prepare(clean, kind.name);
        const std::vector<LaunchEntry> shownBefore = clean.Shown();
        const auto before = reference.files;
        clean.files.Arm(-1, false);
        ASSERT_TRUE(kind.change(clean));
        const int operations = clean.files.Count();
        const auto after = reference.files;
        for (int n = 0; n <= operations; ++n) {
            SCOPED_TRACE("killed at operation " + std::to_string(n));
            fakes::MemoryFileSystem disk = FirstDisk();
            {
                Program p(disk);
                Prepare(p, kind.name);
                p.files.Arm(n, true);
                (void)kind.change(p);
            }
            Program restarted(disk);
            EXPECT_FALSE(disk.FileExists(ListJournalPath(kFolder))) << "settled at the start";
            EXPECT_TRUE(disk.files == before || disk.files == after) << "every file of one moment";
            EXPECT_EQ(restarted.Shown(), disk.files == after ? clean.Shown() : shownBefore);
        }
    }
}

TEST(ListChange, AJournalCutShortOrForeignIsNoJournal) {
    const ListFiles images{{ReadOutcome::Whole, "a\r\nb"}, {}, {ReadOutcome::Unreadable, {}}};
    const std::string journal = FormatListJournal(images);
    ASSERT_EQ(ParseListJournal(journal), images);
    for (size_t cut = 0; cut < journal.size(); ++cut)
        EXPECT_EQ(ParseListJournal(journal.substr(0, cut)), std::nullopt) << "cut at " << cut;
    EXPECT_EQ(ParseListJournal(journal + "x"), std::nullopt);
    EXPECT_EQ(ParseListJournal("[ExMenu00]\r\n"), std::nullopt);
}

// A companion that belongs to no list here is kept aside before anything
// could replace it: beside a list it does not belong to, and at a first run
// (no list at all), which never deletes it.
TEST(ListChange, ACompanionThatBelongsToNoListIsKeptAside) {
    const std::string stray = "한 Z\r\nC:\\z.exe\r\n\r\n0\r\n\r\n0\r\n";
    for (const bool firstRun : {false, true}) {
        SCOPED_TRACE(firstRun ? "first run" : "beside another list");
        fakes::MemoryFileSystem disk = FirstDisk();
        if (firstRun) disk.files.erase(EntryFilePath(kFolder));
        disk.files[EntryUnicodeFilePath(kFolder)] = stray;
        Program p(disk);
        EXPECT_EQ(disk.ReadAll(StrayCompanionPath(kFolder)), stray);
        for (const LaunchEntry& shown : p.Shown()) EXPECT_NE(shown.Title, "한 Z") << "never mixed in";
    }
}

// Another program (a sync tool, an editor, a bar on another PC) changed the
// files since the bar read them: nothing is written over what was not seen.
// Each row changes one file outside, then tries one change.
// The list as another bar (another PC, a sync tool) writes it: the first
// disk's entries with `change` made to them.
void WriteOutside(fakes::MemoryFileSystem& disk, const std::function<void(EntryStore&)>& change) {
    IconvCodePage codePage;
    IniProfile profile(disk, codePage);
    fakes::FakePlatform fake;
    Platform platform{profile, disk, codePage, fake.system, fake.shell, fake.messages};
    EntryStore store = LoadEntries(disk, codePage, kFolder).store;
    change(store);
    ASSERT_TRUE(SaveEntries(store, platform, kFolder));
}

// Another program's change and the user's, in either order: both stay, or
// the user's is refused and told; nothing is ever lost without a word.
TEST(ListChange, NothingIsWrittenOverAChangeMadeByAnotherProgram) {
    const auto addOutside = [](EntryStore& s) { s.slots.resize(6), s.slots[5] = {"Outside", "C:\\o.exe", "", "0", "", "0"}; };
    const auto deleteUser = [](Program& p) { return Edit(p, [](ListEdit& e) { e.Clear(2); }); };
    const auto undo = [](Program& p) { return p.state.entries.Undo(); };
    const auto members = "[ExMenu01]\r\n00ExTitle=Outside\r\n00ExPathName=C:\\o.exe\r\n";
    const struct {
        const char* what;
        std::function<void(EntryStore&)> outsideList;  // else the members are rewritten
        bool followed;                                 // the folder watch read it first
        ChangeKind change;
        const UiText* told;  // nullptr: both changes made, nothing said
    } cases[] = {
        {"outside add, then a delete", addOutside, false, deleteUser, nullptr},
        {"outside add followed, then a delete", addOutside, true, deleteUser, nullptr},
        {"both edit one entry", [](EntryStore& s) { s.slots[2].Title = "Calc 2"; }, false, kChanges[1].change,
         &text::kListChangedOutside},
        {"outside delete of the entry edited", [](EntryStore& s) { s.ClearEntry(2); }, false, kChanges[1].change,
         &text::kListChangedOutside},
        {"the list changed, undo", addOutside, false, undo, &text::kListChangedOutside},
        {"the list changed and followed, undo", addOutside, true, undo, &text::kUndoLostToOutside},
        {"the members changed, a member edited", nullptr, false, kChanges[5].change, &text::kListChangedOutside},
        {"the members changed, an entry edited", nullptr, false, kChanges[1].change, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        fakes::MemoryFileSystem disk = FirstDisk();
        Program p(disk);
        ASSERT_TRUE(Edit(p, [](ListEdit& e) { e.Slot(0).Title = "Renamed"; }));
        if (c.outsideList)
            WriteOutside(disk, c.outsideList);
        else
            disk.files[ExMenuFilePath(kFolder)] = members;
        const auto outside = disk.files;
        if (c.followed) {
            EXPECT_TRUE(p.state.entries.FollowOutside());
            EXPECT_EQ(p.Shown(), Program::Trimmed(Program(disk).Shown())) << "shown as the files have it";
        }
        p.messages.shown.clear();
        EXPECT_EQ(c.change(p), c.told == nullptr);
        Program restarted(disk);
        if (c.told == nullptr) {
            EXPECT_TRUE(p.messages.shown.empty());
            EXPECT_EQ(p.Shown(), Program::Trimmed(restarted.Shown())) << "the bar shows what the disk holds";
            if (c.outsideList) {
                EXPECT_EQ(restarted.Shown().at(5).Title, "Outside") << "the other program's entry stays";
                EXPECT_EQ(restarted.Shown().at(2), LaunchEntry{}) << "the user's delete is made";
            } else {
                EXPECT_EQ(disk.files[ExMenuFilePath(kFolder)], members) << "members untouched";
            }
            continue;
        }
        EXPECT_EQ(disk.files, outside) << "the other program's change stands";
        ASSERT_EQ(p.messages.shown.size(), 1u);
        EXPECT_EQ(p.messages.shown[0].text, *c.told);
        EXPECT_FALSE(p.state.entries.CanUndo()) << "no step of before applies";
        EXPECT_EQ(p.Shown(), Program::Trimmed(restarted.Shown())) << "shown as the files have it";
        EXPECT_TRUE(kChanges[0].change(p)) << "the next change is made over what is there now";
    }
}
