#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "app/backup_names.h"
#include "app/backup_copies.h"
#include "platform/messages.h"
#include "app/menu_main.h"
#include "app/save_notice.h"
#include "fakes/fakes.h"
#include "fakes/menu_fakes.h"
#include "platform/folder_listing_host.h"
#include "platform/host_adapters.h"

using namespace tavi;

namespace {

LocalTime At(int day, int hour, int minute = 0) { return LocalTime{2026, 12, day, hour, minute, 0}; }

}  // namespace

TEST(BackupNames, NamesCarryTheFileAndTheMinuteAndOnlyTheirOwnStampsAreRead) {
    EXPECT_EQ(BackupName("Launch.ini", At(8, 20, 42)), "Launch_20261208_2042.ini");
    EXPECT_EQ(BackupName("TaviMenu2.INI", LocalTime{2027, 1, 2, 3, 4, 5}), "TaviMenu2_20270102_0304.INI");
    EXPECT_EQ(BackupName("Launch.ini.utf8", At(8, 20, 42)), "Launch_20261208_2042.ini.utf8");
    EXPECT_EQ(BackupFolderPath("C:\\Tavi"), "C:\\Tavi\\backup");
    const struct {
        const char* file;
        const char* name;
        const char* stamp;  // nullptr: not a copy of this file
    } cases[] = {
        {"Launch.ini", "Launch_20261208_2042.ini", "20261208_2042"},
        {"Launch.ini", "LAUNCH_20261208_2042.INI", "20261208_2042"},  // names compare without case
        {"TaviMenu2.INI", "TaviMenu2_20261208_0900.ini", "20261208_0900"},
        {"Launch.ini", "TaviMenu2_20261208_2042.INI", nullptr},
        {"TaviMenu2.INI", "Launch_20261208_2042.ini", nullptr},
        {"Launch.ini", "Launch_20261208_2042.ini.new", nullptr},  // a copy half written
        {"Launch.ini", "Launch_2026120_82042.ini", nullptr},
        {"Launch.ini", "Launch_20261208_204.ini", nullptr},
        {"Launch.ini", "Launch_2026120x_2042.ini", nullptr},
        {"Launch.ini", "Launch.ini", nullptr},
        {"Launch.ini", "Launch_20261208_2042.txt", nullptr},
        {"Launch.ini", "XLaunch_20261208_2042.ini", nullptr},
        {"Launch.ini", "", nullptr},
        {"Launch.ini.utf8", "Launch_20261208_2042.ini.utf8", "20261208_2042"},
        {"Launch.ini.utf8", "Launch_20261208_2042.ini", nullptr},  // the list and its companion stay apart
        {"Launch.ini", "Launch_20261208_2042.ini.utf8", nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.file) + " / " + c.name);
        const std::optional<std::string> stamp = BackupStamp(c.file, c.name);
        if (c.stamp)
            EXPECT_EQ(stamp, std::optional<std::string>(c.stamp));
        else
            EXPECT_EQ(stamp, std::nullopt);
    }
}

TEST(BackupNames, OneCopyPerClockHourOfEachFile) {
    const std::vector<std::string> names = {"Launch_20261208_2042.ini", "TaviMenu2_20261208_1905.INI", "notes.txt"};
    const struct {
        const char* file;
        LocalTime now;
        bool has;
    } cases[] = {
        {"Launch.ini", At(8, 20, 0), true},    // the same hour, earlier minute
        {"Launch.ini", At(8, 20, 59), true},
        {"Launch.ini", At(8, 21, 0), false},   // the next hour
        {"Launch.ini", At(8, 19, 30), false},  // the hour before (a clock set back)
        {"Launch.ini", At(9, 20, 42), false},  // the same hour of the next day
        {"TaviMenu2.INI", At(8, 19, 59), true},
        {"TaviMenu2.INI", At(8, 20, 42), false},  // the other file's hour is not this one's
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.file) + " at " + std::to_string(c.now.day) + " " + std::to_string(c.now.hour) +
                     ":" + std::to_string(c.now.minute));
        EXPECT_EQ(HourHasBackup(names, c.file, c.now), c.has);
    }
    EXPECT_FALSE(HourHasBackup({}, "Launch.ini", At(8, 20)));
}

TEST(BackupNames, PruningKeepsTheNewestByTimeAndTouchesNothingElse) {
    // Listed out of order, as a folder may list them; the year boundary sorts by time.
    std::vector<std::string> names = {"Launch_20270101_0000.ini", "readme.txt", "Launch_20261231_2300.ini",
                                      "TaviMenu2_20200101_0000.INI", "Launch_20261231_2200.ini"};
    const LocalTime now{2027, 1, 1, 9, 0, 0};
    EXPECT_EQ(BackupsToPrune(names, "Launch.ini", 3, now), std::vector<std::string>{});
    EXPECT_EQ(BackupsToPrune(names, "Launch.ini", 2, now), std::vector<std::string>{"Launch_20261231_2200.ini"});
    EXPECT_EQ(BackupsToPrune(names, "Launch.ini", 1, now),
              (std::vector<std::string>{"Launch_20261231_2200.ini", "Launch_20261231_2300.ini"}));
    EXPECT_EQ(BackupsToPrune(names, "TaviMenu2.INI", 0, now), std::vector<std::string>{"TaviMenu2_20200101_0000.INI"});
    EXPECT_EQ(BackupsToPrune({}, "Launch.ini", 0, now), std::vector<std::string>{});
    // The clock set back a year: the copies it calls future go first, never the one just made.
    const LocalTime setBack{2026, 1, 1, 9, 0, 0};
    names.push_back("Launch_20260101_0900.ini");
    EXPECT_EQ(BackupsToPrune(names, "Launch.ini", 3, setBack, "Launch_20260101_0900.ini"),
              std::vector<std::string>{"Launch_20261231_2200.ini"});
    EXPECT_EQ(BackupsToPrune(names, "Launch.ini", 0, setBack, "Launch_20260101_0900.ini"),
              (std::vector<std::string>{"Launch_20261231_2200.ini", "Launch_20261231_2300.ini",
                                        "Launch_20270101_0000.ini"}));
}

// The keeper over real files in a temporary program folder, with a clock the test sets.
class BackupCopiesTest : public ::testing::Test {
protected:
    fakes::TempFolder folder;
    HostFileSystem host;
    HostFolderListing listing;
    fakes::FakeClock clock;
    LocalTime& now = clock.now;
    bool copyFailed = false;
    BackupKeepingFiles files{host, listing, folder.Path(), clock, copyFailed};

    std::string Path(const std::string& name) const { return folder.Path() + "\\" + name; }
    void Save(const std::string& name, const std::string& bytes) { ASSERT_TRUE(files.ReplaceAll(Path(name), bytes)); }
    // The backup folder's files, name -> content, in name order.
    std::vector<std::pair<std::string, std::string>> Kept() const {
        std::vector<std::pair<std::string, std::string>> kept;
        std::error_code error;
        for (const auto& entry : std::filesystem::directory_iterator(folder.Path() + "/backup", error)) {
            std::ifstream in(entry.path(), std::ios::binary);
            kept.emplace_back(entry.path().filename().string(),
                              std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()));
        }
        std::sort(kept.begin(), kept.end());
        return kept;
    }
};

TEST_F(BackupCopiesTest, EachHourKeepsTheListAsItWasBeforeItsFirstChange) {
    using Files = std::vector<std::pair<std::string, std::string>>;
    Save("Launch.ini", "one");  // a first save has nothing before it
    EXPECT_EQ(Kept(), Files{});
    EXPECT_FALSE(std::filesystem::exists(folder.Path() + "/backup"));
    Save("Launch.ini", "one");  // the same content again keeps nothing
    EXPECT_EQ(Kept(), Files{});
    Save("Launch.ini", "two\r\n\x93\xFA");
    EXPECT_EQ(Kept(), (Files{{"Launch_20261208_2042.ini", "one"}}));
    now = At(8, 20, 59);
    Save("Launch.ini", "three");  // the hour has its copy
    EXPECT_EQ(Kept(), (Files{{"Launch_20261208_2042.ini", "one"}}));
    now = At(8, 21, 1);
    Save("Launch.ini", "four");
    Save("TaviMenu2.INI", "[ExMenu00]\r\n");
    Save("TaviMenu2.INI", "[ExMenu01]\r\n");
    Save("TaviLaunch.ini", "a");  // the settings are kept as well
    Save("TaviLaunch.ini", "b");
    EXPECT_EQ(Kept(), (Files{{"Launch_20261208_2042.ini", "one"},
                            {"Launch_20261208_2101.ini", "three"},
                            {"TaviLaunch_20261208_2101.ini", "a"},
                            {"TaviMenu2_20261208_2101.INI", "[ExMenu00]\r\n"}}));
    EXPECT_EQ(host.ReadAll(Path("Launch.ini")), std::optional<std::string>("four"));
    EXPECT_FALSE(copyFailed);
}

TEST_F(BackupCopiesTest, OnlyTheNewestThirtyOfEachFileStay) {
    Save("Launch.ini", "start");
    // Something else the user put there is never removed.
    ASSERT_TRUE(listing.MakeFolder(folder.Path() + "\\backup"));
    Save("backup\\mine.txt", "mine");
    for (int hour = 0; hour < 40; ++hour) {
        now = At(1 + hour / 24, hour % 24, 5);
        Save("Launch.ini", "list " + std::to_string(hour));
    }
    const auto kept = Kept();
    ASSERT_EQ(kept.size(), kKeptBackups + 1);
    // The first ten hours' copies ("start", "list 0".."list 8") are gone.
    EXPECT_EQ(kept.front(), (std::pair<std::string, std::string>{"Launch_20261201_1005.ini", "list 9"}));
    EXPECT_EQ(kept[kKeptBackups - 1], (std::pair<std::string, std::string>{"Launch_20261202_1505.ini", "list 38"}));
    EXPECT_EQ(kept.back(), (std::pair<std::string, std::string>{"mine.txt", "mine"}));
}

TEST_F(BackupCopiesTest, AClockSetBackKeepsTheNewCopyAndTheFailureFlagTellsTheTruth) {
    for (int hour = 0; hour < 31; ++hour) {
        now = At(1 + hour / 24, hour % 24, 5);
        Save("Launch.ini", "list " + std::to_string(hour));
    }
    ASSERT_EQ(Kept().size(), kKeptBackups);
    now = LocalTime{2025, 12, 8, 20, 42, 0};  // a year back
    for (int change = 0; change < 3; ++change) {
        Save("Launch.ini", "after " + std::to_string(change));
        EXPECT_EQ(Kept().size(), kKeptBackups);
        now.hour += 1;
    }
    const auto kept = Kept();
    const auto has = [&](const std::string& name) {
        return std::any_of(kept.begin(), kept.end(), [&](const auto& k) { return k.first == name; });
    };
    EXPECT_TRUE(has("Launch_20251208_2042.ini")) << "the copy just written stays";
    EXPECT_TRUE(has("Launch_20251208_2242.ini"));
    EXPECT_FALSE(copyFailed);
}

TEST_F(BackupCopiesTest, ACopyThatCannotBeMadeNeverStopsTheSave) {
    Save("Launch.ini", "one");
    // A file where the folder should be: no copy can be kept.
    ASSERT_TRUE(host.ReplaceAll(Path("backup"), "in the way"));
    Save("Launch.ini", "two");
    EXPECT_EQ(host.ReadAll(Path("Launch.ini")), std::optional<std::string>("two"));
    EXPECT_TRUE(copyFailed);
    // A save with nothing to keep leaves the failure as it was.
    Save("Launch.ini", "two");
    EXPECT_TRUE(copyFailed);
    ASSERT_TRUE(host.RemoveFile(Path("backup")));
    Save("Launch.ini", "three");
    EXPECT_FALSE(copyFailed);
    using Files = std::vector<std::pair<std::string, std::string>>;
    EXPECT_EQ(Kept(), (Files{{"Launch_20261208_2042.ini", "two"}}));
}

TEST(BackupCopies, OnlyTheListsDirectlyInTheProgramsFolderAreKept) {
    fakes::MemoryFileSystem inner;
    fakes::FakeFolderListing listing;
    bool copyFailed = false;
    fakes::FakeClock clock;
    BackupKeepingFiles files(inner, listing, "C:\\Tavi", clock, copyFailed);
    const struct {
        const char* path;
        const char* copy;  // nullptr: nothing kept
    } cases[] = {
        {"C:\\Tavi\\Launch.ini", "C:\\Tavi\\backup\\Launch_20261208_2042.ini"},
        {"c:/tavi/LAUNCH.INI", "C:\\Tavi\\backup\\Launch_20261208_2042.ini"},
        {"C:\\Tavi\\TaviMenu2.INI", "C:\\Tavi\\backup\\TaviMenu2_20261208_2042.INI"},
        {"C:\\Tavi\\Launch.ini.utf8", "C:\\Tavi\\backup\\Launch_20261208_2042.ini.utf8"},
        {"C:\\Tavi\\Launch.ini.new", nullptr},
        {"C:\\Tavi\\TaviLaunch.ini", "C:\\Tavi\\backup\\TaviLaunch_20261208_2042.ini"},
        {"C:\\Tavi\\sub\\Launch.ini", nullptr},
        {"C:\\Tavi2\\Launch.ini", nullptr},
        {"C:\\Tavi\\backup\\Launch.ini", nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        inner.files.clear();
        inner.files[c.path] = "old";
        ASSERT_TRUE(files.ReplaceAll(c.path, "new"));
        EXPECT_EQ(inner.files[c.path], "new");
        std::vector<std::string> copies;
        for (const auto& [path, bytes] : inner.files)
            if (path != c.path) copies.push_back(path + "=" + bytes);
        EXPECT_EQ(copies, c.copy ? std::vector<std::string>{std::string(c.copy) + "=old"} : std::vector<std::string>{});
    }
    EXPECT_FALSE(copyFailed);
    // A list that is there but cannot be read cannot be kept; it is still replaced.
    inner.files.clear();
    inner.files["C:\\Tavi\\Launch.ini"] = "old";
    inner.unreadable = {"C:\\Tavi\\Launch.ini"};
    ASSERT_TRUE(files.ReplaceAll("C:\\Tavi\\Launch.ini", "new"));
    EXPECT_TRUE(copyFailed);
    EXPECT_EQ(inner.files.size(), 1u);
    // Held by another program, it can be neither read nor replaced: the
    // failed save is told, not the copy as well.
    copyFailed = false;
    inner.failWrites = true;
    EXPECT_FALSE(files.ReplaceAll("C:\\Tavi\\Launch.ini", "newer"));
    EXPECT_FALSE(copyFailed);
    EXPECT_EQ(inner.files["C:\\Tavi\\Launch.ini"], "new");
}

TEST(SaveNotices, AFailedCopyIsToldOnceUntilACopyIsKeptAgain) {
    fakes::FakeMessageBoxes messages;
    MenuMain state;
    state.ApplicationPath = "C:\\Tavi";
    const struct {
        bool copyFailed;
        size_t told;
    } steps[] = {{false, 0}, {true, 1}, {true, 1}, {false, 1}, {true, 2}};
    for (const auto& step : steps) {
        state.notices.BackupFailure() = step.copyFailed;
        EXPECT_TRUE(state.notices.Note(messages, state.ApplicationPath, true));
        EXPECT_EQ(messages.shown.size(), step.told);
    }
    EXPECT_EQ(messages.shown[0].text, std::string(text::kBackupFailed) + "C:\\Tavi\\backup");
    EXPECT_EQ(messages.shown[0].icon, MessageIcon::Warning);
    // A failed save is still told beside it.
    state.notices.BackupFailure() = false;
    EXPECT_FALSE(state.notices.Note(messages, state.ApplicationPath, false));
    EXPECT_EQ(messages.shown.size(), 3u);
    EXPECT_EQ(messages.shown[2].text, std::string(text::kSaveFailed) + "C:\\Tavi");
}
