#include <gtest/gtest.h>

#include <set>

#include "platform/messages.h"
#include "dialogs/icon_change.h"
#include "fakes/dialog_fakes.h"

using namespace tavi;

namespace {

constexpr const char* kLibrary = "C:\\WINDOWS\\system32\\SHELL32.DLL";

class IconChangeTest : public ::testing::Test {
protected:
    fakes::FakePlatform fake;
    fakes::FakeIconFiles icons;
    fakes::FakeFileChooser chooser;

    void SetUp() override { icons.counts[kLibrary] = 300; }
    IconChangeView Load(const IconChangeInput& input) { return IconChangeLoad(input, fake.platform, icons); }
};

}  // namespace

TEST_F(IconChangeTest, TheStripHoldsAtMost120CellsAndScrollsFromTheNinth) {
    const struct {
        int icons;
        int cells;
        int scrollMax;
        bool scrollEnabled;
    } cases[] = {
        {1, 1, 0, false}, {8, 8, 0, false}, {9, 9, 1, true}, {120, 120, 112, true}, {121, 120, 112, true},
        {300, 120, 112, true},
    };
    for (const auto& c : cases) {
        icons.counts["C:\\icons\\set.dll"] = c.icons;
        const IconChangeView view = Load({{"C:\\icons\\set.dll", "0"}, "C:\\app.exe", false});
        EXPECT_EQ(view.stripFile, "C:\\icons\\set.dll") << c.icons << " icons";
        EXPECT_EQ(view.cellCount, c.cells) << c.icons << " icons";
        EXPECT_EQ(view.scrollMax, c.scrollMax) << c.icons << " icons";
        EXPECT_EQ(view.scrollEnabled, c.scrollEnabled) << c.icons << " icons";
        EXPECT_EQ(view.scrollValue, 0) << c.icons << " icons";
    }
}

TEST_F(IconChangeTest, LoadingStartsFromTheStoredIconTheOwnersPathOrTheSystemLibrary) {
    icons.counts["C:\\icons\\set.dll"] = 10;
    icons.counts["C:\\Tools\\app.exe"] = 3;
    icons.counts["C:\\big.dll"] = 300;
    const struct {
        const char* what;
        IconChangeInput input;
        const char* fileText;
        int selected;
        int marked;
    } cases[] = {
        {"stored icon, trimmed", {{"  C:\\icons\\set.dll ", "5"}, "C:\\Tools\\app.exe", false}, "C:\\icons\\set.dll", 5, 5},
        {"stored number beyond the strip is kept", {{"C:\\big.dll", "200"}, "", false}, "C:\\big.dll", 200, -1},
        {"stored number past the file's icons", {{"C:\\icons\\set.dll", "12"}, "", false}, "C:\\icons\\set.dll", 12, -1},
        {"no icon yet: the owner's path", {{"", "0"}, " C:\\Tools\\app.exe", false}, "C:\\Tools\\app.exe", 0, 0},
        {"a group without icon", {{"", "0"}, "ﾂｰﾙ", true}, kLibrary, 0, 0},
        {"a group with its own icon", {{"C:\\icons\\set.dll", "2"}, "ﾂｰﾙ", true}, "C:\\icons\\set.dll", 2, 2},
        {"stored file without icons", {{"C:\\readme.txt", "4"}, "C:\\Tools\\app.exe", false}, kLibrary, 0, 0},
        {"owner path without icons", {{"", "0"}, "C:\\Docs\\", false}, kLibrary, 0, 0},
        {"a bare name is not looked up", {{"", "0"}, "app.exe", false}, kLibrary, 0, 0},
        {"number that is text", {{"C:\\icons\\set.dll", "abc"}, "", false}, "C:\\icons\\set.dll", 0, 0},
        {"negative number", {{"C:\\icons\\set.dll", "-3"}, "", false}, "C:\\icons\\set.dll", 0, 0},
        {"number beyond 16 bits", {{"C:\\icons\\set.dll", "40000"}, "", false}, "C:\\icons\\set.dll", 0, 0},
    };
    for (const auto& c : cases) {
        icons.asked.clear();
        const IconChangeView view = Load(c.input);
        EXPECT_EQ(view.fileText, c.fileText) << c.what;
        EXPECT_EQ(view.stripFile, c.fileText) << c.what;
        EXPECT_EQ(view.selectedIcon, c.selected) << c.what;
        EXPECT_EQ(view.MarkedCell(), c.marked) << c.what;
        for (const std::string& asked : icons.asked) EXPECT_NE(asked, "app.exe") << c.what;
        if (c.input.ownerIsGroup)
            for (const std::string& asked : icons.asked) EXPECT_NE(asked, "ﾂｰﾙ") << c.what;
    }
}

TEST_F(IconChangeTest, AFileStillCountedLeavesTheStripEmptyUntilItsCountComes) {
    icons.counts["C:\\icons\\set.dll"] = 10;
    icons.counts["\\\\slow\\share\\three.dll"] = 3;
    const struct {
        const char* what;
        IconChangeInput input;
        const char* browseTo;  // null: no browse after loading
        std::set<std::string> coming;
        const char* fileText;
        int cells;
        int selected;
    } cases[] = {
        {"stored file", {{"C:\\icons\\set.dll", "5"}, "", false}, nullptr, {"C:\\icons\\set.dll"}, "C:\\icons\\set.dll", 10, 5},
        {"owner path without icons", {{"", "0"}, "C:\\Docs\\a.txt", false}, nullptr, {"C:\\Docs\\a.txt"}, kLibrary, 120, 0},
        {"and the library counted late too", {{"", "0"}, "C:\\Docs\\a.txt", false}, nullptr,
         {"C:\\Docs\\a.txt", kLibrary}, kLibrary, 120, 0},
        {"browsed to a share", {{"C:\\icons\\set.dll", "7"}, "", false}, "\\\\slow\\share\\three.dll",
         {"\\\\slow\\share\\three.dll"}, "\\\\slow\\share\\three.dll", 3, 2},
    };
    for (const auto& c : cases) {
        std::set<std::string> coming = c.coming;
        const IconCounts counts = [&](const std::string& path) -> std::optional<int> {
            if (coming.contains(path)) return std::nullopt;
            return icons.IconCount(path);
        };
        IconChangeView view = IconChangeLoad(c.input, fake.platform, counts);
        if (c.browseTo) {
            chooser.answers = {c.browseTo};
            IconChangeBrowse(view, fake.platform, counts, chooser, 0);
        }
        EXPECT_TRUE(view.countComing) << c.what;
        EXPECT_EQ(view.cellCount, 0) << c.what;
        EXPECT_FALSE(IconChangeCountCame(view, fake.platform, counts)) << c.what << ": nothing came yet";
        // Until it comes (if ever) OK hands back the file as opened, not the library.
        EXPECT_EQ(IconChangeOk(view).iconPath, c.browseTo ? c.browseTo : *c.coming.begin()) << c.what;
        for (int step = 0; view.countComing && step < 3; ++step) {
            coming.erase(view.stripFile);
            EXPECT_TRUE(IconChangeCountCame(view, fake.platform, counts)) << c.what;
        }
        EXPECT_FALSE(view.countComing) << c.what;
        EXPECT_EQ(view.fileText, c.fileText) << c.what;
        EXPECT_EQ(view.stripFile, c.fileText) << c.what;
        EXPECT_EQ(view.cellCount, c.cells) << c.what;
        EXPECT_EQ(view.selectedIcon, c.selected) << c.what;
    }
}

TEST_F(IconChangeTest, TheLibraryFollowsTheSystemDirectory) {
    fake.system.systemDirectory = "D:\\WinNT\\System32\\";
    icons.counts["D:\\WinNT\\System32\\SHELL32.DLL"] = 40;
    const IconChangeView view = Load({{"", ""}, "", true});
    EXPECT_EQ(view.fileText, "D:\\WinNT\\System32\\SHELL32.DLL");
    EXPECT_EQ(view.cellCount, 40);
}

TEST_F(IconChangeTest, ClickingACellChoosesItAndScrollingStaysInRange) {
    icons.counts["C:\\icons\\set.dll"] = 9;
    IconChangeView view = Load({{"C:\\icons\\set.dll", "1"}, "", false});
    IconChangeCellClicked(view, 8);
    EXPECT_EQ(view.selectedIcon, 8);
    EXPECT_EQ(view.MarkedCell(), 8);
    for (int outside : {-1, 9, 120}) {
        IconChangeCellClicked(view, outside);
        EXPECT_EQ(view.selectedIcon, 8) << "cell " << outside;
    }
    const struct {
        int value;
        int expected;
    } scrolls[] = {{1, 1}, {0, 0}, {-4, 0}, {7, 1}};
    for (const auto& s : scrolls) {
        IconChangeScroll(view, s.value);
        EXPECT_EQ(view.scrollValue, s.expected) << "scroll to " << s.value;
    }

    icons.counts["C:\\icons\\set.dll"] = 8;
    view = Load({{"C:\\icons\\set.dll", "1"}, "", false});
    IconChangeScroll(view, 3);
    EXPECT_EQ(view.scrollValue, 0) << "eight cells do not scroll";
}

TEST_F(IconChangeTest, BrowsingAsksForAProgramAndReloadsTheStrip) {
    icons.counts["C:\\icons\\set.dll"] = 10;
    icons.counts["C:\\ｱｲｺﾝ\\three.dll"] = 3;
    IconChangeView view = Load({{"C:\\icons\\set.dll", "7"}, "", false});
    chooser.answers = {"C:\\ｱｲｺﾝ\\three.dll"};
    IconChangeBrowse(view, fake.platform, icons, chooser, 0x99);

    ASSERT_EQ(chooser.files.size(), 1u);
    const FileChoice& asked = chooser.files[0];
    EXPECT_EQ(asked.owner, 0x99u);
    EXPECT_EQ(asked.title, "変更ﾌｧｲﾙ名の指定");
    EXPECT_EQ(asked.filter, "Exe Files (*.exe)|*.exe|Com Files (*.com)|*.com|All Files (*.*)|*.*");
    EXPECT_EQ(asked.filterIndex, 1);
    EXPECT_EQ(asked.initialName, "set.dll");
    EXPECT_EQ(asked.initialFolder, "C:\\icons");

    EXPECT_EQ(view.fileText, "C:\\ｱｲｺﾝ\\three.dll");
    EXPECT_EQ(view.cellCount, 3);
    EXPECT_EQ(view.selectedIcon, 2) << "icon 7 does not exist in a file of three";
    EXPECT_EQ(view.MarkedCell(), 2);
}

TEST_F(IconChangeTest, TheChosenNumberIsKeptOrClampedByTheNewFile) {
    icons.counts["C:\\icons\\set.dll"] = 10;
    icons.counts["C:\\many.dll"] = 20;
    const struct {
        const char* chosen;
        int expected;
    } cases[] = {{"C:\\many.dll", 7}, {"C:\\none.dll", 0}, {"", 7}};
    for (const auto& c : cases) {
        IconChangeView view = Load({{"C:\\icons\\set.dll", "7"}, "", false});
        chooser.answers = {c.chosen};
        IconChangeBrowse(view, fake.platform, icons, chooser, 0);
        EXPECT_EQ(view.selectedIcon, c.expected) << "after choosing '" << c.chosen << "'";
    }
}

TEST_F(IconChangeTest, ACancelledBrowseReloadsFromTheNameAsTyped) {
    icons.counts["C:\\icons\\set.dll"] = 10;
    icons.counts["C:\\typed.dll"] = 12;
    IconChangeView view = Load({{"C:\\icons\\set.dll", "3"}, "", false});
    IconChangeScroll(view, 2);
    view.fileText = "C:\\typed.dll";
    icons.asked.clear();
    IconChangeBrowse(view, fake.platform, icons, chooser, 0);  // no answer queued: cancelled
    EXPECT_EQ(view.fileText, "C:\\typed.dll");
    EXPECT_EQ(view.stripFile, "C:\\typed.dll");
    EXPECT_EQ(view.cellCount, 12);
    EXPECT_EQ(view.scrollValue, 0);
    EXPECT_EQ(view.selectedIcon, 3);
    EXPECT_EQ(icons.asked, std::vector<std::string>{"C:\\typed.dll"});

    view.fileText = "typed.dll";  // no folder: the dialog starts in the current one
    IconChangeBrowse(view, fake.platform, icons, chooser, 0);
    EXPECT_EQ(chooser.files.back().initialFolder, fake.files.currentDirectory);
    EXPECT_EQ(view.cellCount, 0);
}

TEST_F(IconChangeTest, OkHandsBackTheNameAsTypedAndTheChosenNumber) {
    icons.counts["C:\\icons\\set.dll"] = 10;
    IconChangeView view = Load({{"C:\\icons\\set.dll", "0"}, "", false});
    IconChangeCellClicked(view, 5);
    view.fileText = " C:\\icons\\set.dll";
    EXPECT_EQ(IconChangeOk(view), (IconChoice{" C:\\icons\\set.dll", "5"}));

    // The library shown for a group is the choice only when OK confirms it.
    const IconChangeView library = Load({{"", ""}, "ﾂｰﾙ", true});
    EXPECT_EQ(IconChangeOk(library), (IconChoice{kLibrary, "0"}));
}
