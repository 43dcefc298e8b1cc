// A save cut short at any point (the process killed, the power gone) leaves
// every file loadable, each as it was before or after the save in progress.
#include <gtest/gtest.h>

#include "app/entry_store.h"
#include "app/list_change.h"
#include "app/settings.h"
#include "fakes/fakes.h"
#include "app/ex_menu_store.h"
#include "platform/host_adapters.h"
#include "platform/ini_profile.h"

using namespace tavi;

namespace {

const std::string kApp = "C:\\Tavi";

// The disk as a killed process leaves it: from the n-th change on, nothing
// more reaches it. Each change itself is whole, as the real replacement is.
class DyingFileSystem final : public FileSystem {
public:
    DyingFileSystem(fakes::MemoryFileSystem& disk, int changesBeforeDeath) : disk_(disk), left_(changesBeforeDeath) {}
    FileContents Read(const std::string& path) override { return disk_.Read(path); }
    bool ReplaceAll(const std::string& path, std::string_view bytes) override {
        return Survives() && disk_.ReplaceAll(path, bytes);
    }
    bool RemoveFile(const std::string& path) override { return Survives() && disk_.RemoveFile(path); }
    bool FileExists(const std::string& path) override { return disk_.FileExists(path); }
    std::string CurrentDirectory() override { return disk_.CurrentDirectory(); }
    bool Dead() const { return left_ < 0; }

private:
    bool Survives() { return --left_ >= 0; }
    fakes::MemoryFileSystem& disk_;
    int left_;
};

// What the three files say, read as the program reads them at start.
struct Snapshot {
    std::vector<LaunchEntry> entries;
    std::string settings;
    ExMenuSlots group0, group150;
    bool operator==(const Snapshot&) const = default;
};

Snapshot Load(fakes::MemoryFileSystem& disk) {
    // As the program starts: a change cut short is settled first.
    EXPECT_TRUE(SettleListChange(disk, kApp));
    IconvCodePage codePage;
    IniProfile profile(disk, codePage, true);
    fakes::FakePlatform fake;
    Platform platform{profile, disk, codePage, fake.system, fake.shell, fake.messages};
    Snapshot s;
    EntryStore store = LoadEntries(platform.files, platform.codePage, kApp).store;
    s.entries = store.slots;
    Settings settings;
    LoadSettings(settings, profile, SettingsFilePath(kApp));
    s.settings = settings.IniBuff + "|" + settings.WaveFile + "|" + settings.Time + "|" + settings.ExMenuCount;
    s.group0 = LoadExMenu(profile, kApp, 0, 9);
    s.group150 = LoadExMenu(profile, kApp, 150, 9);
    return s;
}

// A day of changes; returns the snapshot after each step, and the step the
// process died in (or -1).
int RunDay(fakes::MemoryFileSystem& disk, int changesBeforeDeath, std::vector<Snapshot>* after) {
    DyingFileSystem files(disk, changesBeforeDeath);
    IconvCodePage codePage;
    IniProfile profile(files, codePage, true);
    fakes::FakePlatform fake;
    Platform platform{profile, files, codePage, fake.system, fake.shell, fake.messages};
    EntryStore store = LoadEntries(platform.files, platform.codePage, kApp).store;
    Settings settings;
    LoadSettings(settings, profile, SettingsFilePath(kApp));
    ExMenuSlots members = LoadExMenu(profile, kApp, 0, 9);

    // The list with its UTF-8 copy, and a list with its members, are written as one change, as the program writes them.
    const auto asOne = [&](const std::function<bool()>& write) {
        (void)WriteListChange(files, kApp, ReadListFiles(files, kApp), false, write);
    };
    const std::vector<std::function<void()>> steps = {
        [&] { store.slots.push_back({"한글 편집기", "C:\\도구\\편집기.exe", "😀", "0", "", "0"}); asOne([&] { return SaveEntries(store, platform, kApp); }); },
        [&] { settings.WaveFile = "C:\\소리\\알람.wav"; settings.Time = "0730"; (void)SaveSettings(settings, profile, SettingsFilePath(kApp)); },
        [&] { members[1] = {"café", "C:\\café\\x.exe", "", "0"}; (void)SaveExMenu(profile, kApp, 0, members, 9); },
        [&] {
            store.MoveEntry(0, 150);
            asOne([&] { return SaveEntries(store, platform, kApp) && MoveExMenu(profile, kApp, 0, 150, 9); });
        },
        [&] { store.slots[2] = {}; settings.ExMenuCount = "20"; asOne([&] { return SaveEntries(store, platform, kApp); }); (void)SaveSettings(settings, profile, SettingsFilePath(kApp)); },
    };
    for (size_t i = 0; i < steps.size(); ++i) {
        steps[i]();
        if (files.Dead()) return static_cast<int>(i);
        if (after) after->push_back(Load(disk));
    }
    return -1;
}

fakes::MemoryFileSystem FirstDisk() {
    fakes::MemoryFileSystem disk;
    IconvCodePage codePage;
    disk.files[EntryFilePath(kApp)] = codePage.FromUtf8("グループ\r\n[道具]\r\n\r\n0\r\n\r\n0\r\nﾒﾓ帳\r\nC:\\n.exe\r\n\r\n0\r\n\r\n0\r\n");
    disk.files[SettingsFilePath(kApp)] = "[IniBuff]\r\nIniBuff=100001011\r\n[Time]\r\nTime=1200\r\n";
    disk.files[ExMenuFilePath(kApp)] = codePage.FromUtf8("[ExMenu00]\r\n00ExTitle=電卓\r\n00ExPathName=calc.exe\r\n");
    return disk;
}

}  // namespace

TEST(SaveFaults, AKillAtAnyChangeLeavesEachFileAsItWasBeforeOrAfterTheSaveInProgress) {
    fakes::MemoryFileSystem whole = FirstDisk();
    std::vector<Snapshot> after{Load(whole)};
    ASSERT_EQ(RunDay(whole, 1000, &after), -1);
    const int changes = whole.replaceCalls;
    ASSERT_GT(changes, 6);
    EXPECT_EQ(after[1].entries[2].Title, "한글 편집기") << "text the code page lacks is kept";
    EXPECT_EQ(after.back().entries[150].PathName, "[道具]");
    EXPECT_EQ(after.back().group150[1].ExPathName, "C:\\café\\x.exe");

    for (int n = 0; n < changes; ++n) {
        SCOPED_TRACE("killed before change " + std::to_string(n));
        fakes::MemoryFileSystem disk = FirstDisk();
        const int step = RunDay(disk, n, nullptr);
        ASSERT_GE(step, 0);
        const Snapshot got = Load(disk);
        const Snapshot& before = after[static_cast<size_t>(step)];
        const Snapshot& done = after[static_cast<size_t>(step) + 1];
        EXPECT_TRUE(got.entries == before.entries || got.entries == done.entries);
        EXPECT_TRUE(got.settings == before.settings || got.settings == done.settings);
        EXPECT_TRUE(got.group0 == before.group0 || got.group0 == done.group0);
        EXPECT_TRUE(got.group150 == before.group150 || got.group150 == done.group150);
    }
}

TEST(SaveFaults, AFailedSaveOfEachFileKeepsItsPreviousBytes) {
    fakes::MemoryFileSystem disk = FirstDisk();
    const auto previous = disk.files;
    disk.failWrites = true;
    IconvCodePage codePage;
    IniProfile profile(disk, codePage, true);
    fakes::FakePlatform fake;
    Platform platform{profile, disk, codePage, fake.system, fake.shell, fake.messages};
    EntryStore store = ParseEntries("x\r\ny.exe\r\n\r\n0\r\n\r\n0\r\n");
    EXPECT_FALSE(SaveEntries(store, platform, kApp));
    store.slots[0].PathName = "C:\\한\\y.exe";
    EXPECT_FALSE(SaveEntries(store, platform, kApp));
    EXPECT_FALSE(SaveSettings(Settings{}, profile, SettingsFilePath(kApp)));
    EXPECT_FALSE(SaveExMenu(profile, kApp, 0, EmptyExMenu(9), 9));
    EXPECT_FALSE(MoveExMenu(profile, kApp, 0, 150, 9));
    EXPECT_EQ(disk.files, previous);
}
