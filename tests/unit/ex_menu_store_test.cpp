#include <gtest/gtest.h>

#include "fakes/fakes.h"
#include "menus/ex_menu_store.h"

using namespace tavi;

namespace {
const std::string kFile = "C:\\Tavi\\TaviMenu2.INI";
}

TEST(ExMenuStore, SectionsAndKeysUseTheLastTwoDigits) {
    const std::pair<int, const char*> sections[] = {
        {0, "ExMenu00"}, {3, "ExMenu03"}, {5, "ExMenu05"}, {42, "ExMenu42"}, {99, "ExMenu99"}, {105, "ExMenu05"},
        {1000, "ExMenu00"},
    };
    for (const auto& [index, section] : sections) EXPECT_EQ(ExMenuSection(index), section) << index;
    EXPECT_EQ(ExMenuKey(3, "ExTitle"), "03ExTitle");
    EXPECT_EQ(ExMenuKey(0, "ExRunType"), "00ExRunType");
    EXPECT_EQ(ExMenuKey(123, "ExCommand"), "23ExCommand");
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
    const ExMenuSlots members = LoadExMenu(profile, "C:\\Tavi", 103, 4);
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
    SaveExMenu(profile, "C:\\Tavi", 7, members, 1);
    std::vector<std::string> writes;
    for (const auto& w : profile.Writes()) writes.push_back(w.section + " " + w.key + "=" + w.value);
    EXPECT_EQ(writes, (std::vector<std::string>{
                          "ExMenu07 00ExTitle=", "ExMenu07 00ExPathName=", "ExMenu07 00ExCommand=",
                          "ExMenu07 00ExRunType=", "ExMenu07 01ExTitle=Game", "ExMenu07 01ExPathName=D:\\game.exe",
                          "ExMenu07 01ExCommand=-w", "ExMenu07 01ExRunType=2"}));
    EXPECT_EQ(profile.GetString(kFile, "ExMenu07", "02ExTitle"), "kept");
    SaveExMenu(profile, "C:\\Tavi", 7, {}, 0);
    EXPECT_EQ(profile.Writes().size(), 12u) << "a slot the members lack is written empty";
    EXPECT_EQ(LoadExMenu(profile, "C:\\Tavi", 7, 1), (ExMenuSlots{{}, members[1]})) << "slot 1 was not written again";
}
