// Files another program holds, read errors and huge files: what could not be
// read is never written over, and nothing already on disk is lost.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>

#include "app/menu_main.h"
#include "app/startup.h"
#include "fakes/bar_services_fake.h"
#include "fakes/fakes.h"
#include "fakes/set_setting.h"
#include "fakes/group_fakes.h"
#include "dialogs/group_box.h"
#include "platform/host_adapters.h"
#include "platform/ini_profile.h"
#include "platform/messages.h"
#include "tools/option_set.h"

using namespace tavi;

namespace {

constexpr const char* kFolder = "C:\\Tavi";
constexpr const char* kList = "C:\\Tavi\\Launch.ini";
constexpr const char* kMembers = "C:\\Tavi\\TaviMenu2.INI";
constexpr const char* kSettings = "C:\\Tavi\\TaviLaunch.ini";

// A disk with a list of three entries (a group at 1 with one member) and
// settings, read through the real INI rules.
struct Disk {
    fakes::MemoryFileSystem files;
    fakes::IdentityCodePage codePage;
    IniProfile profile{files, codePage};
    fakes::FakeSystemInfo system;
    fakes::FakeShell shell;
    fakes::FakeMessageBoxes messages;
    Platform platform{profile, files, codePage, system, shell, messages};
    MenuMain state;

    Disk() {
        state.ApplicationPath = kFolder;
        state.entries.SetExMenuMax(1);
        EntryStore store;
        store.slots = {{"A", "C:\\a.exe", "", "0", "", "0"}, {"G", "[G]", "", "0", "", "0"}, {"C", "C:\\c.exe", "", "0", "", "0"}};
        EXPECT_TRUE(SaveEntries(store, platform, kFolder));
        EXPECT_TRUE(SaveExMenu(profile, kFolder, 1, {{"M", "C:\\m.exe", "", "0"}, {}}, 1));
        files.files[kSettings] = "[IniBuff]\r\nIniBuff=100001011\r\n[Option]\r\nExMenuCount=2\r\nHotKey=1620\r\n";
    }
    // Another program opens the file without sharing: no read, no write.
    void Hold(const std::string& path) {
        files.unreadable.push_back(path);
        files.unwritable.push_back(path);
    }
    void Release(const std::string& path) {
        std::erase(files.unreadable, path);
        std::erase(files.unwritable, path);
    }
    // The titles the list on disk holds, "" for an empty slot.
    std::string OnDisk() {
        std::string titles;
        for (const LaunchEntry& e : ParseEntries(files.files[kList]).slots) titles += (titles.empty() ? "" : ",") + e.Title;
        return titles;
    }
    std::string Member() { return LoadExMenu(profile, kFolder, 1, 1)[0].ExTitle; }
    bool Told(std::string_view text) {
        return std::any_of(messages.shown.begin(), messages.shown.end(),
                           [&](const MessageRequest& m) { return m.text.starts_with(text); });
    }
};

using Step = std::function<bool(Disk&)>;
Step Hold(const char* path) { return [=](Disk& d) { return d.Hold(path), true; }; }
Step Release(const char* path) { return [=](Disk& d) { return d.Release(path), true; }; }
Step Delete(int index) {
    return [=](Disk& d) {
        return d.state.entries.Change([&](ListEdit& e) {
            e.Clear(index);
            e.ClearMembers(index);
        });
    };
}
Step Rename(int index, const char* title) {
    return [=](Disk& d) { return d.state.entries.Change([&](ListEdit& e) { e.Slot(index).Title = title; }); };
}
Step Undo() { return [](Disk& d) { return d.state.entries.Undo(); }; }
Step ReadAgain() { return [](Disk& d) { return d.state.entries.ReadAgain(); }; }

}  // namespace

// Each row is a day of changes with a file held or released in the middle;
// after every step the list and the group's member on disk are as given.
TEST(UnreadFiles, AFileThatCouldNotBeReadIsNeverWrittenOverAndUndoNeverLosesIt) {
    struct Expect {
        Step step;
        bool done;
        const char* list;    // titles on disk
        const char* member;  // the group's first member on disk
    };
    const struct {
        const char* what;
        std::vector<const char*> heldAtStart;
        std::vector<Expect> steps;
    } cases[] = {
        {"the list held while the bar starts, released later",
         {kList},
         {{Rename(0, "X"), false, "A,G,C", "M"},  // held: refused, nothing written
          {Release(kList), true, "A,G,C", "M"},
          {Rename(0, "X"), false, "A,G,C", "M"},  // read again first: the user acted on an empty bar
          {Delete(2), true, "A,G", "M"},          // from now on as usual: 3 entries became 2, not 1
          {Undo(), true, "A,G,C", "M"}}},
        {"the list held in the middle of a day",
         {},
         {{Delete(2), true, "A,G", "M"},
          {Hold(kList), true, "A,G", "M"},
          {Delete(0), false, "A,G", "M"},  // held since the start: refused, told, nothing changed
          {Undo(), false, "A,G", "M"},     // no undo while it is held
          {Release(kList), true, "A,G", "M"},
          {Undo(), true, "A,G,C", "M"}}},
        {"the members held at start",
         {kMembers},
         {{Rename(0, "X"), true, "X,G,C", "M"},  // the list alone may change
          {Delete(1), false, "X,G,C", "M"},      // the group's members may not
          {Release(kMembers), true, "X,G,C", "M"},
          {ReadAgain(), true, "X,G,C", "M"},  // 再表示
          {Delete(1), true, "X,,C", ""},
          {Undo(), true, "X,G,C", "M"}}},
        {"a step taken while the list could not be read leaves the list alone when undone, so undo never deletes it",
         {},
         {{Rename(2, "Y"), true, "A,G,Y", "M"},
          {Hold(kList), true, "A,G,Y", "M"},
          {[](Disk& d) { return d.state.entries.Change([](ListEdit& e) { e.ClearMembers(1); }); }, true, "A,G,Y", ""},
          {Release(kList), true, "A,G,Y", ""},
          {Undo(), true, "A,G,Y", "M"},  // the member back, the list as it was
          {Undo(), true, "A,G,C", "M"},
          {Undo(), false, "A,G,C", "M"}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Disk d;
        for (const char* path : c.heldAtStart) d.Hold(path);
        d.state.entries.Open(d.state.ApplicationPath, d.state.notices, d.platform);
        for (size_t i = 0; i < c.steps.size(); ++i) {
            SCOPED_TRACE("step " + std::to_string(i));
            const std::string before = d.OnDisk();
            EXPECT_EQ(c.steps[i].step(d), c.steps[i].done);
            const bool held = std::count(d.files.unreadable.begin(), d.files.unreadable.end(), kList) > 0;
            if (!held) EXPECT_EQ(d.OnDisk(), c.steps[i].list);
            if (held) EXPECT_EQ(d.OnDisk(), before) << "a held list is never written";
            if (std::count(d.files.unreadable.begin(), d.files.unreadable.end(), kMembers) == 0)
                EXPECT_EQ(d.Member(), c.steps[i].member);
            EXPECT_TRUE(d.files.files.count(kList)) << "the list is never deleted";
        }
    }
}

TEST(UnreadFiles, EachCauseIsToldOnceAndAListReadAgainIsSaidSo) {
    Disk d;
    d.Hold(kList);
    d.state.entries.Open(d.state.ApplicationPath, d.state.notices, d.platform);
    EXPECT_TRUE(d.messages.shown.empty()) << "nothing is told while the bar starts";
    d.state.entries.TellUnread();
    d.state.entries.TellUnread();
    ASSERT_EQ(d.messages.shown.size(), 1u);
    EXPECT_EQ(d.messages.shown[0].text,
              std::string(text::kFileUnreadableBefore) + kList + std::string(text::kFileUnreadableAfter));
    EXPECT_FALSE(Rename(0, "X")(d));
    EXPECT_FALSE(Rename(0, "Y")(d));
    ASSERT_EQ(d.messages.shown.size(), 2u) << "a refused change is told once";
    EXPECT_TRUE(d.Told(text::kSaveRefusedUnread));
    d.Release(kList);
    EXPECT_FALSE(Rename(0, "X")(d));
    EXPECT_TRUE(d.Told(text::kListReadAgain));
    EXPECT_EQ(d.state.entries.Slots().size(), 3u);
}

// The separation of old shared sections waits for an unread member file,
// and runs once it reads again.
TEST(UnreadFiles, GroupsAt100AndAboveAreSeparatedOnlyOnceTheMembersFileReads) {
    Disk d;
    EntryStore store;
    store.slots.resize(106);
    store.slots[105] = {"Far", "[Far]", "", "0", "", "0"};
    ASSERT_TRUE(SaveEntries(store, d.platform, kFolder));
    ASSERT_TRUE(SaveExMenu(d.profile, kFolder, 5, {{"Faraway", "C:\\far.exe", "", "0"}, {}}, 1));
    const std::string members = d.files.files[kMembers];
    d.Hold(kMembers);
    d.state.entries.Open(d.state.ApplicationPath, d.state.notices, d.platform);
    d.state.entries.SeparateSharedGroups();
    d.Release(kMembers);
    EXPECT_EQ(d.files.files[kMembers], members);
    EXPECT_TRUE(d.state.entries.ReadAgain());
    EXPECT_NE(d.files.files[kMembers], members) << "separated now";
    EXPECT_EQ(LoadExMenu(d.profile, kFolder, 105, 1)[0].ExTitle, "Faraway");
}

// "TaviLaunch.ini" held while the bar starts: the bar runs on the defaults
// and writes none of them over the user's file, at a re-dock or at exit.
TEST(UnreadFiles, SettingsThatCouldNotBeReadAreKeptThroughReDocksAndTheExit) {
    Disk d;
    const std::string settings = d.files.files[kSettings];
    d.Hold(kSettings);
    EXPECT_FALSE(ReadSettings(d.state, d.platform));
    EXPECT_TRUE(d.state.settings.Unread());
    EXPECT_EQ(d.state.settings.Values().HotKey, "") << "the defaults";
    d.Release(kSettings);
    EXPECT_TRUE(SaveSettingsIfRead(d.state, d.platform)) << "a re-dock";
    EXPECT_EQ(d.files.files[kSettings], settings);
    EXPECT_TRUE(ReadSettings(d.state, d.platform)) << "再表示";
    EXPECT_EQ(d.state.settings.Values().HotKey, "1620");
    EXPECT_EQ(d.state.entries.ExMenuMax(), 1);
    fakes::SetSetting(d.state, &Settings::SaveX, "15");
    EXPECT_TRUE(SaveSettingsIfRead(d.state, d.platform));
    EXPECT_NE(d.files.files[kSettings].find("HotKey=1620"), std::string::npos) << "every value kept";
    EXPECT_NE(d.files.files[kSettings].find("SaveX=15"), std::string::npos);
}

// The options opened over settings that could not be read show defaults: OK
// saves none of them over the file, and once the file reads the dialog shows
// it to be confirmed again.
TEST(UnreadFiles, TheOptionsOkNeverWritesDefaultsOverSettingsThatCouldNotBeRead) {
    Disk d;
    const std::string settings = d.files.files[kSettings];
    d.Hold(kSettings);
    EXPECT_FALSE(ReadSettings(d.state, d.platform));
    fakes::FakeBarServices bar;
    OptionSetState controls = OptionSetLoad(d.state.settings.Values()).controls;
    controls.ChkDispToolTip = 0;  // the one change the user made
    EXPECT_EQ(OptionSetOk(d.state.settings.Values(), controls, fakes::KeptChoices(d.state), d.state, d.platform, bar).outcome, OptionSetOkOutcome::SettingsUnread);
    ASSERT_EQ(d.messages.shown.size(), 1u);
    EXPECT_EQ(d.messages.shown[0].text, text::kOptionsSettingsUnread);
    EXPECT_TRUE(d.state.settings.Unread()) << "the file is still not written";
    EXPECT_EQ(d.state.settings.Values().ToolTips, "1") << "nothing applied";
    EXPECT_TRUE(SaveSettingsIfRead(d.state, d.platform));
    EXPECT_EQ(d.files.files[kSettings], settings);

    d.Release(kSettings);
    EXPECT_EQ(OptionSetOk(d.state.settings.Values(), controls, fakes::KeptChoices(d.state), d.state, d.platform, bar).outcome, OptionSetOkOutcome::SettingsReadAgain);
    ASSERT_EQ(d.messages.shown.size(), 2u);
    EXPECT_EQ(d.messages.shown[1].text, text::kOptionsSettingsReadAgain);
    EXPECT_EQ(d.state.settings.Values().HotKey, "1620");
    EXPECT_EQ(d.state.settings.Values().ExMenuCount, "2");
    EXPECT_EQ(d.state.settings.Values().ToolTips, "0") << "the file's own value, the dialog to show it";

    controls = OptionSetLoad(d.state.settings.Values()).controls;
    controls.ChkDispToolTip = 1;
    EXPECT_EQ(OptionSetOk(d.state.settings.Values(), controls, fakes::KeptChoices(d.state), d.state, d.platform, bar).outcome, OptionSetOkOutcome::Applied);
    EXPECT_TRUE(SaveSettingsIfRead(d.state, d.platform)) << "the re-dock after OK";
    Settings saved;
    ASSERT_EQ(LoadSettings(saved, d.profile, kSettings), ReadOutcome::Whole);
    EXPECT_EQ(saved.HotKey, "1620");
    EXPECT_EQ(saved.ExMenuCount, "2");
    EXPECT_EQ(saved.ToolTips, "1") << "the user's change";
}

// "TaviLaunch.ini" changed by another program: followed as 再表示 follows
// it (never for the bar's own writes), and an OK of the options opened
// before keeps the other program's keys the user did not touch.
TEST(FollowingSettings, AnOutsideChangeIsFollowedAndTheOptionsKeepItsKeys) {
    const std::string outside = "[IniBuff]\r\nIniBuff=100001011\r\n[Option]\r\nExMenuCount=5\r\nHotKey=1621\r\n"
                                "[Time]\r\nWaveFile=C:\\x.wav\r\n";
    for (const bool followedFirst : {true, false}) {
        SCOPED_TRACE(followedFirst ? "followed before OK" : "found at OK");
        Disk d;
        ASSERT_TRUE(ReadSettings(d.state, d.platform));
        std::vector<std::string> log;
        fakes::FakeBarServices bar(log);
        FollowOutsideChanges(d.state, d.platform, bar);
        EXPECT_TRUE(log.empty()) << "nothing changed";
        const Settings shown = d.state.settings.Values();
        OptionSetState controls = OptionSetLoad(shown).controls;
        controls.ChkDispToolTip = 1;  // the user's changes
        controls.chkBringToFront = 1;
        d.files.files[kSettings] = outside;
        if (followedFirst) {
            FollowOutsideChanges(d.state, d.platform, bar);
            EXPECT_EQ(d.state.settings.Values().ExMenuCount, "5");
            EXPECT_NE(std::find(log.begin(), log.end(), "bar redock force"), log.end()) << "the bar follows it";
        }
        EXPECT_EQ(OptionSetOk(shown, controls, fakes::KeptChoices(d.state), d.state, d.platform, bar).outcome,
                  OptionSetOkOutcome::Applied);
        Settings saved;
        ASSERT_EQ(LoadSettings(saved, d.profile, kSettings), ReadOutcome::Whole);
        EXPECT_EQ(saved.ExMenuCount, "5");
        EXPECT_EQ(saved.HotKey, "1621");
        EXPECT_EQ(saved.WaveFile, "C:\\x.wav");
        EXPECT_EQ(saved.ToolTips, "1") << "the user's change";
        EXPECT_EQ(saved.BringToFront, "1") << "the user's change";
        log.clear();
        FollowOutsideChanges(d.state, d.platform, bar);
        EXPECT_TRUE(log.empty()) << "the bar's own write is not followed";
    }
}

// Members that cannot be read are no empty group: the box does not open on
// them (and so cannot write them back), and opens once they read.
TEST(UnreadFiles, AGroupWhoseMembersCannotBeReadOpensOnlyOnceTheyRead) {
    Disk d;
    const std::string members = d.files.files[kMembers];
    d.Hold(kMembers);
    d.state.entries.Open(d.state.ApplicationPath, d.state.notices, d.platform);
    fakes::FakeBarServices bar;
    std::vector<std::string> log;
    fakes::FakeGroupBoxWindow window(log);
    std::string shown;
    window.script = [&](GroupBox& box, fakes::FakeGroupBoxView&) { shown = box.Members()[0].ExTitle; };
    OpenGroupBox(bar, d.state, d.platform, window, 1);
    EXPECT_FALSE(window.shownAt) << "no box on members that could not be read";
    EXPECT_TRUE(d.Told(text::kGroupMembersUnread));
    d.Release(kMembers);
    EXPECT_EQ(d.files.files[kMembers], members);
    OpenGroupBox(bar, d.state, d.platform, window, 1);
    EXPECT_TRUE(window.shownAt);
    EXPECT_EQ(shown, "M");
}

TEST(UnreadFiles, AFileLargerThanTheLimitIsUnreadableWithoutBeingRead) {
    fakes::TempFolder folder;
    const std::string path = folder.File("Launch.ini");
    {
        std::ofstream sparse(path, std::ios::binary);
        sparse.seekp(static_cast<std::streamoff>(kReadLimitBytes));
        sparse.put('x');
    }
    HostFileSystem files;
    EXPECT_EQ(files.Read(path).outcome, ReadOutcome::Unreadable);
    std::filesystem::resize_file(path, kReadLimitBytes);
    EXPECT_EQ(files.Read(path).outcome, ReadOutcome::Whole) << "the limit itself is still read";
    EXPECT_EQ(files.Read(folder.File("none.ini")).outcome, ReadOutcome::Absent);
    EXPECT_EQ(files.Read(folder.Path()).outcome, ReadOutcome::Unreadable) << "a folder of that name";
}
