#include <gtest/gtest.h>

#include "dialogs/new_app_ex.h"
#include "fakes/dialog_fakes.h"

using namespace tavi;

namespace {

constexpr const char* kNotepad = "C:\\WINDOWS\\notepad.exe";

class NewAppExTest : public ::testing::Test {
protected:
    fakes::FakePlatform fake;
    fakes::FakeFileChooser chooser;
    fakes::FakeIconFiles icons;

    void SetUp() override { fake.shell.associations["C:\\My Docs\\memo.txt"] = "\"" + std::string(kNotepad) + "\""; }
    bool Browse(NewAppExView& view) { return NewAppExBrowse(view, fake.platform, chooser, 0x77); }
};

}  // namespace

TEST_F(NewAppExTest, LoadingShowsTheMemberAndItsWindowSize) {
    const struct {
        ExMenuEntry member;
        int runSizeIndex;
        bool ok;
    } cases[] = {
        {{"Ed", "C:\\ed.exe", "-n", "2"}, 2, true},
        {{"Ed", "C:\\ed.exe", "", " "}, 0, true},
        {{"Ed", "C:\\ed.exe", "", "1x"}, 1, true},
        {{"Odd", "C:\\ed.exe", "", "7"}, -1, true},
        {{}, 0, false},
        {{"Blank", "   ", "", "0"}, 0, false},
    };
    for (const auto& c : cases) {
        const NewAppExView view = NewAppExLoad(c.member);
        EXPECT_EQ(view.title, c.member.ExTitle);
        EXPECT_EQ(view.program, c.member.ExPathName);
        EXPECT_EQ(view.command, c.member.ExCommand);
        EXPECT_EQ(view.runSizeIndex, c.runSizeIndex) << "[" << c.member.ExRunType << "]";
        EXPECT_EQ(view.okEnabled, c.ok) << "[" << c.member.ExPathName << "]";
    }
}

TEST_F(NewAppExTest, BrowsingStartsAtTheProgramAndAChosenProgramReplacesTheCommand) {
    NewAppExView view = NewAppExLoad({"", " C:\\Tools\\old.exe ", "-x", "0"});
    chooser.answers = {"D:\\Games\\ﾃﾄﾘｽ.exe"};
    ASSERT_TRUE(Browse(view));
    ASSERT_EQ(chooser.files.size(), 1u);
    const FileChoice& asked = chooser.files[0];
    EXPECT_EQ(asked.owner, 0x77u);
    EXPECT_EQ(asked.title, "登録ｱﾌﾟﾘｹｰｼｮﾝの指定");
    EXPECT_EQ(asked.filter, "Exe Files (*.exe)|*.exe|Com Files (*.com)|*.com|All Files (*.*)|*.*");
    EXPECT_EQ(asked.filterIndex, 1);
    EXPECT_EQ(asked.initialName, "old.exe");
    EXPECT_EQ(asked.initialFolder, "C:\\Tools");
    EXPECT_EQ(view.program, "D:\\Games\\ﾃﾄﾘｽ.exe");
    EXPECT_EQ(view.command, "");
    EXPECT_EQ(view.title, "ﾃﾄﾘｽ.exe") << "a blank title takes the file name";
    EXPECT_TRUE(view.okEnabled);

    chooser.answers = {"D:\\Games\\other.exe"};
    ASSERT_TRUE(Browse(view));
    EXPECT_EQ(view.title, "ﾃﾄﾘｽ.exe") << "a title is kept";

    NewAppExView empty;
    chooser.answers = {};
    EXPECT_FALSE(Browse(empty));
    EXPECT_EQ(chooser.files.back().initialName, "");
    EXPECT_EQ(chooser.files.back().initialFolder, "") << "no program, no place to start from";
    EXPECT_EQ(empty.program, "");
}

TEST_F(NewAppExTest, AChosenDocumentBecomesTheProgramThatOpensIt) {
    NewAppExView view = NewAppExLoad({"Memo", "", "", "0"});
    chooser.answers = {"C:\\My Docs\\memo.txt", "C:\\My Docs\\unknown.zzz"};
    ASSERT_TRUE(Browse(view));
    EXPECT_EQ(view.program, kNotepad);
    EXPECT_EQ(view.command, "\"C:\\My Docs\\memo.txt\"");
    EXPECT_EQ(view.title, "Memo");
    ASSERT_TRUE(Browse(view));
    EXPECT_EQ(view.program, "C:\\My Docs\\unknown.zzz") << "no program opens it: it stays";
    EXPECT_EQ(view.command, "");
}

TEST_F(NewAppExTest, ThePreviewIsTheFirstIconOfTheProgram) {
    icons.counts = {{"C:\\Tools\\ed.exe", 3}};
    EXPECT_EQ(NewAppExPreview(NewAppExLoad({"", " C:\\Tools\\ed.exe ", "", ""}), icons),
              (IconPreview{IconPreview::Kind::Extract, "C:\\Tools\\ed.exe", 0}));
    EXPECT_EQ(NewAppExPreview(NewAppExLoad({"", "C:\\no-icons.txt", "", ""}), icons), IconPreview{});
    EXPECT_EQ(NewAppExPreview(NewAppExLoad({"", " ", "", ""}), icons), IconPreview{});
    // A program whose icons are still being counted shows the generic picture.
    const IconCounts coming = [](const std::string&) { return std::optional<int>(); };
    EXPECT_EQ(NewAppExPreview(NewAppExLoad({"", "\\\\slow\\ed.exe", "", ""}), coming),
              (IconPreview{IconPreview::Kind::Coming, "\\\\slow\\ed.exe", 0}));
}

TEST_F(NewAppExTest, ThePickerShowsTheProgramsIconsAndChangesNothing) {
    std::vector<IconChangeInput> opened;
    const IconPicker pick = [&](const IconChangeInput& input) {
        opened.push_back(input);
        return std::optional<IconChoice>(IconChoice{"C:\\other.dll", "5"});
    };
    NewAppExView view = NewAppExLoad({"Ed", " C:\\Tools\\ed.exe", "-n", "2"});
    const NewAppExView before = view;
    EXPECT_TRUE(NewAppExShowIcons(view, pick));
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0].choice, (IconChoice{"C:\\Tools\\ed.exe", "0"}));
    EXPECT_EQ(opened[0].ownerPath, "C:\\Tools\\ed.exe");
    EXPECT_FALSE(opened[0].ownerIsGroup);
    EXPECT_EQ(NewAppExOk(view), NewAppExOk(before));
    EXPECT_FALSE(NewAppExShowIcons(NewAppExLoad({}), pick)) << "no program, no picker";
    EXPECT_EQ(opened.size(), 1u);
}

TEST_F(NewAppExTest, OkStoresTheCommandAsTypedAndATitleFromTheFileName) {
    const struct {
        NewAppExView view;
        ExMenuEntry stored;
    } cases[] = {
        {{"", " C:\\Tools\\ed.exe ", "  /p \"a b\" ", 1, true}, {"ed.exe", "C:\\Tools\\ed.exe", "  /p \"a b\" ", "1"}},
        {{"  ", "C:\\ed.exe", "", 2, true}, {"ed.exe", "C:\\ed.exe", "", "2"}},
        {{"Mine", "C:\\ed.exe", "", -1, true}, {"Mine", "C:\\ed.exe", "", "0"}},
        {{"Only a title", "", "", 0, false}, {"Only a title", "", "", "0"}},
    };
    for (const auto& c : cases) EXPECT_EQ(NewAppExOk(c.view), c.stored) << c.view.program;
}

TEST_F(NewAppExTest, OnlyAFolderMemberOffersToShowAsAMenu) {
    const NewAppExView folder = NewAppExLoad({"Docs", "D:\\Docs\\ ", "", "3"});
    EXPECT_TRUE(NewAppExOffersMenu(folder)) << "a path ending in a backslash names a folder";
    EXPECT_EQ(folder.runSizeIndex, 3);
    EXPECT_EQ(NewAppExOk(folder).ExRunType, "3");
    const NewAppExView program = NewAppExLoad({"Ed", "C:\\ed.exe", "", "3"});
    EXPECT_FALSE(NewAppExOffersMenu(program));
    EXPECT_EQ(program.runSizeIndex, -1) << "a program's list has no fourth item";

    const struct {
        const char* program;
        int after;
    } edits[] = {{"E:\\Other\\", 3}, {"D:\\Docs", 0}, {"D:\\Docs\\ed.exe", 0}, {"", 0}};
    for (const auto& c : edits) {
        NewAppExView view = folder;
        NewAppExProgramChanged(view, c.program);
        EXPECT_EQ(view.runSizeIndex, c.after) << c.program;
    }
    NewAppExView behind = program;
    behind.runSizeIndex = 3;  // a list that still had the item when the program changed
    EXPECT_EQ(NewAppExOk(behind).ExRunType, "0");
}
