#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "fakes/menu_fakes.h"
#include "menus/run_time_lists.h"
#include "platform/folder_listing_host.h"

using namespace tavi;
using fakes::FakeFolderListing;
using fakes::FakeSystemInfo;

namespace {

const ListItem kEmpty{"(なし)", "", false, false};

}  // namespace

TEST(DrivePopUpMake, ListsTheFourDriveTypesWithNamesLongerThanTwoCharacters) {
    FakeSystemInfo system;
    system.drives = {
        {"A:\\", DriveType::Removable, "3.5 ｲﾝﾁ FD (A:)"},
        {"C:\\", DriveType::Fixed, "ﾛｰｶﾙ ﾃﾞｨｽｸ (C:)"},
        {"D:\\", DriveType::CdRom, "CD (D:)"},
        {"E:\\", DriveType::RamDisk, "RAM (E:)"},     // RAM disks are left out
        {"F:\\", DriveType::Unknown, "??? (F:)"},
        {"G:\\", DriveType::Remote, " G: "},          // two characters once trimmed
        {"H:\\", DriveType::Fixed, "ﾃﾞｨｽｸ"},          // three characters, all double-byte in the file
        {"I:\\", DriveType::NoRootDir, "gone (I:)"},
    };
    const RunTimeList list = DrivePopUpMake(system);
    EXPECT_EQ(list.items, (std::vector<ListItem>{{"3.5 ｲﾝﾁ FD (A:)", "A:\\"},
                                                 {"ﾛｰｶﾙ ﾃﾞｨｽｸ (C:)", "C:\\"},
                                                 {"CD (D:)", "D:\\"},
                                                 {"ﾃﾞｨｽｸ", "H:\\"}}));
    EXPECT_EQ(system.nameAsks, (std::vector<std::vector<std::string>>{{"A:\\", "C:\\", "D:\\", "G:\\", "H:\\"}}))
        << "the listed drives' names asked at once, so that slow drives are waited for together";
}

TEST(DrivePopUpMake, ManyDrivesAllFitAndNoneGivesADisabledItem) {
    FakeSystemInfo system;
    for (char letter = 'A'; letter <= 'Z'; ++letter)
        system.drives.push_back({std::string(1, letter) + ":\\", DriveType::Fixed, "Disk (" + std::string(1, letter) + ":)"});
    EXPECT_EQ(DrivePopUpMake(system).items.size(), 26u) << "26 roots are more than 90 characters";
    system.drives = {{"E:\\", DriveType::RamDisk, "RAM (E:)"}};
    EXPECT_EQ(DrivePopUpMake(system).items, std::vector<ListItem>{kEmpty});
}

TEST(DeskTopPopUpMake, ListsFilesAndFoldersInOrderWithFullPaths) {
    FakeFolderListing folders;
    folders.folders[folders.desktop] = {".", "..", "Mail.lnk", "Work", "notes.txt", "desktop.ini", " 余白.txt"};
    const RunTimeList list = DeskTopPopUpMake(folders);
    const std::string d = folders.desktop + "\\";
    EXPECT_EQ(list.items, (std::vector<ListItem>{{"Mail", d + "Mail.lnk"},
                                                 {"Work", d + "Work"},
                                                 {"notes.txt", d + "notes.txt"},
                                                 {"desktop.ini", d + "desktop.ini"},
                                                 {" 余白.txt", d + " 余白.txt"}}));
    EXPECT_EQ(folders.queries, std::vector<std::string>{folders.desktop + "|*.*"});
}

TEST(DeskTopPopUpMake, CaptionsHideShortcutEndings) {
    const std::pair<const char*, const char*> cases[] = {
        {"Mail.lnk", "Mail"}, {"MAIL.LNK", "MAIL"}, {"Old DOS.pif", "Old DOS"}, {"a.lnk.pif", "a"},
        {"b.pif.lnk", "b"}, {"x.lnkfile", "x"}, {"ﾒﾓ帳.Lnk", "ﾒﾓ帳"}, {"report.doc", "report.doc"},
    };
    for (const auto& [name, caption] : cases) EXPECT_EQ(DeskTopCaption(name), caption) << name;
}

TEST(DeskTopPopUpMake, AnEmptyOrMissingDesktopGivesADisabledItem) {
    FakeFolderListing folders;
    folders.folders[folders.desktop] = {".", ".."};
    EXPECT_EQ(DeskTopPopUpMake(folders).items, std::vector<ListItem>{kEmpty});
    folders.desktop = "";
    EXPECT_EQ(DeskTopPopUpMake(folders).items, std::vector<ListItem>{kEmpty});
    EXPECT_EQ(folders.queries.size(), 1u) << "no folder to list without a desktop";
}

TEST(ScreenSaverPopUpMake, ListsWindowsThenSystemFolderAndChecksTheConfiguredOne) {
    fakes::FakePlatform fake;
    FakeFolderListing folders;
    folders.folders["C:\\WINDOWS"] = {"Mystify.scr", "Long Name.SCR"};
    folders.folders["C:\\WINDOWS\\system32"] = {"ssText3d.scr"};
    folders.shortNames["C:\\WINDOWS\\Long Name.SCR"] = "C:\\WINDOWS\\LONGNA~1.SCR";
    const struct {
        const char* configured;
        std::vector<bool> checks;
    } cases[] = {
        {"", {true, false, false, false}},
        {" c:\\windows\\longna~1.scr ", {false, false, true, false}},  // short path, any case, trimmed
        {"C:\\WINDOWS\\Long Name.SCR", {false, false, false, false}},  // the long path matches nothing
        {"C:\\WINDOWS\\system32\\SSTEXT3D.SCR", {false, false, false, true}},
    };
    for (const auto& c : cases) {
        fake.profile.Set("C:\\WINDOWS\\system.ini", "boot", "SCRNSAVE.EXE", c.configured);
        const RunTimeList list = ScreenSaverPopUpMake(fake.system, fake.profile, folders);
        ASSERT_EQ(list.items.size(), 4u);
        EXPECT_EQ(list.items[0], (ListItem{"(なし)", "(なし)", true, c.checks[0]})) << c.configured;
        EXPECT_EQ(list.items[1], (ListItem{"Mystify", "C:\\WINDOWS\\Mystify.scr", true, c.checks[1]}));
        EXPECT_EQ(list.items[2], (ListItem{"Long Name", "C:\\WINDOWS\\LONGNA~1.SCR", true, c.checks[2]}));
        EXPECT_EQ(list.items[3], (ListItem{"ssText3d", "C:\\WINDOWS\\system32\\ssText3d.scr", true, c.checks[3]}));
    }
    EXPECT_EQ(folders.queries[0], "C:\\WINDOWS|*.scr");
    EXPECT_EQ(folders.queries[1], "C:\\WINDOWS\\system32|*.scr");

    fake.system.windowsDirectory = "";
    EXPECT_EQ(ScreenSaverPopUpMake(fake.system, fake.profile, folders).items,
              (std::vector<ListItem>{{"(なし)", "(なし)", true, false}}))
        << "no Windows folder: only (なし), unchecked";
}

TEST(HostFolderListing, MatchesWildcardsAsTheSystemDoes) {
    const struct {
        const char* name;
        const char* pattern;
        bool matches;
    } cases[] = {
        {"a.scr", "*.scr", true},   {"A.SCR", "*.scr", true},    {"a.scrx", "*.scr", false},
        {"noext", "*.*", true},     {".hidden", "*.*", true},    {"a.b.c", "*.*", true},
        {"a.b", "?.b", true},       {"ab.b", "?.b", false},      {"ﾒﾓ.scr", "*.SCR", true},
        {"abc", "a*c", true},       {"abcc", "a*c", true},       {"abd", "a*c", false},
    };
    for (const auto& c : cases) EXPECT_EQ(MatchesWildcard(c.name, c.pattern), c.matches) << c.name << " " << c.pattern;
}

TEST(HostFolderListing, ListsARealFolder) {
    fakes::TempFolder folder;
    std::filesystem::create_directory(folder.File("サブ"));
    for (const char* name : {"一.scr", "two.SCR", "three.txt"}) std::ofstream(folder.File(name)) << "x";
    HostFolderListing listing("D:\\Desk");
    std::vector<std::string> all = listing.FindFiles(folder.Path(), "*.*");
    std::sort(all.begin(), all.end());
    EXPECT_EQ(all, (std::vector<std::string>{"three.txt", "two.SCR", "サブ", "一.scr"}));
    std::vector<std::string> savers = listing.FindFiles(folder.Path(), "*.scr");
    std::sort(savers.begin(), savers.end());
    EXPECT_EQ(savers, (std::vector<std::string>{"two.SCR", "一.scr"}));
    EXPECT_TRUE(listing.FindFiles(folder.File("missing"), "*.*").empty());
    EXPECT_EQ(listing.DesktopDirectory(), "D:\\Desk");
}
