#include <gtest/gtest.h>

#include "fakes/fakes.h"
#include "app/ex_menu_store.h"
#include "platform/ini_profile.h"

using namespace tavi;

namespace {
const std::string kFile = "C:\\Tavi\\TaviMenu2.INI";

// The members file through the portable twin of the system's profile
// functions, which strips quotes and blanks the way the system does.
struct IniFixture {
    fakes::MemoryFileSystem files;
    fakes::IdentityCodePage codePage;
    IniProfile profile{files, codePage};
    std::string& Text() { return files.files[kFile]; }
};

EntryStore GroupsAt(std::initializer_list<int> groups, int size) {
    EntryStore store;
    store.ResizeEntryArrays(size - 1);
    for (int i : groups) store.slots[static_cast<size_t>(i)] = {"G", "[G" + std::to_string(i) + "]", "", "0", "", "0"};
    return store;
}

}  // namespace

TEST(ExMenuStore, SectionAndKeyNames) {
    const std::pair<int, const char*> sections[] = {
        {0, "ExMenu00"},   {3, "ExMenu03"},   {5, "ExMenu05"},     {42, "ExMenu42"},
        {99, "ExMenu99"},  {100, "ExMenu100"}, {105, "ExMenu105"}, {999, "ExMenu999"},
    };
    for (const auto& [index, section] : sections) EXPECT_EQ(ExMenuSection(index), section) << index;
    const std::pair<int, const char*> shared[] = {{5, "ExMenu05"}, {105, "ExMenu05"}, {205, "ExMenu05"}, {1000, "ExMenu00"}};
    for (const auto& [index, section] : shared) EXPECT_EQ(SharedExMenuSection(index), section) << index;
    EXPECT_EQ(ExMenuKey(3, "ExTitle"), "03ExTitle");
    EXPECT_EQ(ExMenuKey(0, "ExRunType"), "00ExRunType");
    EXPECT_EQ(ExMenuFilePath("C:\\Tavi"), kFile);
    EXPECT_EQ(ExMenuFilePath("C:\\"), "C:\\TaviMenu2.INI");
}

TEST(ExMenuStore, LoadsSlotsUpToExMenuMaxWhole) {
    fakes::RecordingProfile profile;
    const std::string longPath = "C:\\" + std::string(300, 'p') + "\\ﾂｰﾙ.exe";
    profile.Set(kFile, "ExMenu03", "00ExTitle", "ﾒﾓ帳");
    profile.Set(kFile, "ExMenu03", "00ExPathName", longPath);
    profile.Set(kFile, "ExMenu03", "04ExCommand", "/x");
    profile.Set(kFile, "ExMenu03", "05ExTitle", "beyond the count");
    const ExMenuSlots members = LoadExMenu(profile, "C:\\Tavi", 3, 4);
    ASSERT_EQ(members.size(), 5u);
    EXPECT_EQ(members[0], (ExMenuEntry{"ﾒﾓ帳", longPath, "", ""}));
    EXPECT_EQ(members[4], (ExMenuEntry{"", "", "/x", ""}));
    EXPECT_EQ(profile.calls.size(), 20u) << "four keys for each of five slots";
    EXPECT_TRUE(LoadExMenu(profile, "C:\\Tavi", 3, -1).empty()) << "ExMenuCount 0";
}

TEST(ExMenuStore, SavesEverySlotInFieldOrderAndLeavesHigherKeys) {
    fakes::RecordingProfile profile;
    profile.Set(kFile, "ExMenu07", "02ExTitle", "kept");
    ExMenuSlots members = EmptyExMenu(1);
    members[1] = {"Game", "D:\\game.exe", "-w", "2"};
    EXPECT_TRUE(SaveExMenu(profile, "C:\\Tavi", 7, members, 1));
    std::vector<std::string> writes;
    for (const auto& w : profile.Writes()) writes.push_back(w.section + " " + w.key + "=" + w.value);
    EXPECT_EQ(writes, (std::vector<std::string>{
                          "ExMenu07 00ExTitle=", "ExMenu07 00ExPathName=", "ExMenu07 00ExCommand=",
                          "ExMenu07 00ExRunType=", "ExMenu07 01ExTitle=Game", "ExMenu07 01ExPathName=D:\\game.exe",
                          "ExMenu07 01ExCommand=-w", "ExMenu07 01ExRunType=2"}));
    EXPECT_EQ(profile.GetString(kFile, "ExMenu07", "02ExTitle"), "kept");
    EXPECT_TRUE(SaveExMenu(profile, "C:\\Tavi", 7, {}, 0));
    EXPECT_EQ(profile.Writes().size(), 12u) << "a slot the members lack is written empty";
    EXPECT_EQ(LoadExMenu(profile, "C:\\Tavi", 7, 1), (ExMenuSlots{{}, members[1]})) << "slot 1 was not written again";
}

TEST(ExMenuStore, NoMoreThanAHundredSlotsSoNoSlotOverwritesAnother) {
    fakes::RecordingProfile profile;
    ExMenuSlots members = EmptyExMenu(149);
    ASSERT_EQ(members.size(), 100u);
    members[0] = {"First", "C:\\first.exe", "", "0"};
    EXPECT_TRUE(SaveExMenu(profile, "C:\\Tavi", 4, members, 149));
    EXPECT_EQ(profile.Writes().size(), 400u);
    EXPECT_EQ(LoadExMenu(profile, "C:\\Tavi", 4, 149)[0], members[0]) << "slot 100 would have written 00ExTitle";
    for (const auto& [given, usable] : std::vector<std::pair<int, int>>{{-5, -1}, {-1, -1}, {0, 0}, {98, 98},
                                                                       {99, 99}, {100, 99}, {32766, 99}})
        EXPECT_EQ(UsableExMenuMax(given), usable) << given;
}

TEST(ExMenuStore, FreeTextReadsBackExactlyThroughTheProfileFunctions) {
    const char* values[] = {
        "\"C:\\My Documents\\a b.txt\"", "'single'", "\"\"", "\"", "a\"", "\"a\" \"b\"", " leading", "trailing ",
        "  both  ", "plain /p", "",
    };
    for (const char* value : values) {
        IniFixture ini;
        ExMenuSlots members = EmptyExMenu(0);
        members[0] = {value, "C:\\x.exe", value, "0"};
        EXPECT_TRUE(SaveExMenu(ini.profile, "C:\\Tavi", 2, members, 0));
        EXPECT_EQ(LoadExMenu(ini.profile, "C:\\Tavi", 2, 0)[0], members[0]) << '[' << value << ']';
    }
    IniFixture ini;
    ExMenuSlots members = EmptyExMenu(0);
    members[0] = {"two\r\nlines", "C:\\x.exe", "-a\n05ExPathName=C:\\evil.exe", "0"};
    EXPECT_TRUE(SaveExMenu(ini.profile, "C:\\Tavi", 2, members, 0));
    EXPECT_EQ(LoadExMenu(ini.profile, "C:\\Tavi", 2, 0)[0],
              (ExMenuEntry{"two lines", "C:\\x.exe", "-a 05ExPathName=C:\\evil.exe", "0"}));
    EXPECT_EQ(ini.profile.GetString(kFile, "ExMenu02", "05ExPathName"), "") << "a line break never makes a key";
}

TEST(ExMenuStore, FilesOfOlderVersionsReadAsBefore) {
    IniFixture ini;
    ini.Text() =
        "[ExMenu02]\r\n00ExTitle=Doc\r\n00ExPathName=\"C:\\Program Files\\ed.exe\"\r\n"
        "00ExCommand=\"C:\\My Documents\\a b.txt\"\r\n00ExRunType=1\r\n";
    EXPECT_EQ(LoadExMenu(ini.profile, "C:\\Tavi", 2, 0)[0],
              (ExMenuEntry{"Doc", "C:\\Program Files\\ed.exe", "C:\\My Documents\\a b.txt", "1"}));
    // Plain values are still written the old way, so older versions read them too.
    EXPECT_TRUE(SaveExMenu(ini.profile, "C:\\Tavi", 2, {{"Doc", "C:\\ed.exe", "/p", "1"}}, 0));
    EXPECT_NE(ini.Text().find("00ExCommand=/p\r\n"), std::string::npos) << ini.Text();
}

TEST(ExMenuStore, GroupsAHundredApartKeepTheirOwnMembers) {
    fakes::RecordingProfile profile;
    const ExMenuSlots near{{"Near", "C:\\near.exe", "", "0"}};
    const ExMenuSlots far{{"Far", "C:\\far.exe", "", "0"}};
    EXPECT_TRUE(SaveExMenu(profile, "C:\\Tavi", 5, near, 0));
    EXPECT_TRUE(SaveExMenu(profile, "C:\\Tavi", 105, far, 0));
    EXPECT_EQ(LoadExMenu(profile, "C:\\Tavi", 5, 0), near);
    EXPECT_EQ(LoadExMenu(profile, "C:\\Tavi", 105, 0), far);
    EXPECT_EQ(profile.GetString(kFile, "ExMenu105", "EntryIndex"), "105") << "the section says it is its own";
    EXPECT_EQ(LoadExMenu(profile, "C:\\Tavi", 205, 0), EmptyExMenu(0)) << "a new group starts empty";
}

TEST(ExMenuStore, AnOlderFilesSharedSectionIsCopiedOnceToEachGroupFromAHundredOn) {
    IniFixture ini;
    ini.Text() =
        "[ExMenu05]\r\n00ExTitle=Shared\r\n00ExPathName=\"C:\\Program Files\\a.exe\"\r\n"
        "00ExCommand=\"\"quoted\"\"\r\n00ExRunType=2\r\n12ExTitle=beyond the count\r\n12ExPathName=C:\\z.exe\r\n";
    const ExMenuSlots before = LoadExMenu(ini.profile, "C:\\Tavi", 5, 12);
    ASSERT_EQ(before[0], (ExMenuEntry{"Shared", "C:\\Program Files\\a.exe", "\"quoted\"", "2"}));

    // Groups at 5, 105 and 305; 205 is an ordinary entry.
    EntryStore entries = GroupsAt({5, 105, 305}, 306);
    entries.slots[205] = {"Memo", "C:\\memo.exe", "", "0", "", "0"};
    EXPECT_EQ(SeparateSharedGroupSections(entries, ini.profile, "C:\\Tavi"), (std::vector<int>{105, 305}));
    for (int index : {5, 105, 305}) EXPECT_EQ(LoadExMenu(ini.profile, "C:\\Tavi", index, 12), before) << index;
    EXPECT_EQ(LoadExMenu(ini.profile, "C:\\Tavi", 205, 0), EmptyExMenu(0));

    // From now on they change apart, and an emptied group is not filled again.
    EXPECT_TRUE(SaveExMenu(ini.profile, "C:\\Tavi", 105, EmptyExMenu(12), 12));
    EXPECT_TRUE(SeparateSharedGroupSections(entries, ini.profile, "C:\\Tavi").empty());
    EXPECT_EQ(LoadExMenu(ini.profile, "C:\\Tavi", 105, 12), EmptyExMenu(12));
    EXPECT_EQ(LoadExMenu(ini.profile, "C:\\Tavi", 5, 12), before);
    EXPECT_EQ(LoadExMenu(ini.profile, "C:\\Tavi", 305, 12), before);
}

TEST(ExMenuStore, MovingAnEntryTakesItsMembersAndEmptiesTheSource) {
    fakes::RecordingProfile profile;
    const ExMenuSlots games{{"Sol", "C:\\sol.exe", "", "0"}, {"Mine", "C:\\mine.exe", "", "1"}};
    for (const auto& [from, to] : std::vector<std::pair<int, int>>{{3, 7}, {7, 107}, {107, 2}}) {
        EXPECT_TRUE(SaveExMenu(profile, "C:\\Tavi", from, games, 1));
        EXPECT_TRUE(MoveExMenu(profile, "C:\\Tavi", from, to, 1));
        EXPECT_EQ(LoadExMenu(profile, "C:\\Tavi", to, 1), games) << from << " to " << to;
        EXPECT_EQ(LoadExMenu(profile, "C:\\Tavi", from, 1), EmptyExMenu(1)) << from << " to " << to;
    }
    EXPECT_TRUE(SaveExMenu(profile, "C:\\Tavi", 4, games, 1));
    profile.calls.clear();
    EXPECT_TRUE(MoveExMenu(profile, "C:\\Tavi", 4, 4, 1));
    EXPECT_TRUE(profile.calls.empty()) << "a move onto itself touches nothing";
}
