#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes/fakes.h"
#include "fakes/tool_fakes.h"
#include "tools/fd_format.h"

using namespace tavi;

namespace {

std::vector<std::string> Captions(const FDFormatView& view) {
    std::vector<std::string> captions;
    for (const FormatDrive& drive : view.drives) captions.push_back(drive.caption);
    return captions;
}

}  // namespace

TEST(FDFormatTest, ListsRemovableDrivesWithTheFormatDialogsNumbers) {
    fakes::FakeSystemInfo system;
    system.drives = {{"A:\\", DriveType::Removable, ""}, {"C:\\", DriveType::Fixed, ""},
                     {"D:\\", DriveType::CdRom, ""},     {"E:\\", DriveType::Removable, ""},
                     {"M:\\", DriveType::Remote, ""},    {"R:\\", DriveType::RamDisk, ""},
                     {"U:\\", DriveType::Unknown, ""},   {"Z:\\", DriveType::Removable, ""}};
    const FDFormatView view = FDFormatLoad(system);
    EXPECT_EQ(Captions(view), (std::vector<std::string>{"(0)A:\\ ドライブ", "(4)E:\\ ドライブ", "(25)Z:\\ ドライブ"}));
    EXPECT_EQ(view.selected, 0);
    EXPECT_TRUE(view.listEnabled);
    EXPECT_TRUE(view.okEnabled);

    // Choosing the second line hands drive 4 to the shell, owned by the dialog.
    fakes::RecordingDiskFormatter formatter;
    formatter.answer = 0xFFFFFFFEu;
    EXPECT_EQ(FDFormatOk(view, 1, formatter, 0x5678), 0xFFFFFFFEu);
    ASSERT_EQ(formatter.calls.size(), 1u);
    EXPECT_EQ(formatter.calls[0].drive, 4);
    EXPECT_EQ(formatter.calls[0].owner, NativeWindow{0x5678});
}

TEST(FDFormatTest, NothingIsFormattedWithoutADriveSelected) {
    fakes::FakeSystemInfo system;
    system.drives = {{"C:\\", DriveType::Fixed, ""}, {"D:\\", DriveType::CdRom, ""}};
    const FDFormatView none = FDFormatLoad(system);
    EXPECT_TRUE(none.drives.empty());
    EXPECT_EQ(none.selected, -1);
    EXPECT_FALSE(none.listEnabled);
    EXPECT_FALSE(none.okEnabled);

    system.drives.push_back({"a:\\", DriveType::Removable, ""});
    const FDFormatView one = FDFormatLoad(system);
    EXPECT_EQ(Captions(one), std::vector<std::string>{"(0)a:\\ ドライブ"});
    fakes::RecordingDiskFormatter formatter;
    for (int selected : {-1, 0}) EXPECT_EQ(FDFormatOk(none, selected, formatter, 1), std::nullopt) << selected;
    for (int selected : {-1, 1, 7}) EXPECT_EQ(FDFormatOk(one, selected, formatter, 1), std::nullopt) << selected;
    EXPECT_TRUE(formatter.calls.empty());
}

// A drive that goes while the dialog is open: the list follows, the selected
// drive keeps its selection while it is there, and a vanished one is never formatted.
TEST(FDFormatTest, ADriveThatGoesLeavesTheListAndIsNotFormatted) {
    fakes::FakeSystemInfo system;
    system.drives = {{"A:\\", DriveType::Removable, ""}, {"C:\\", DriveType::Fixed, ""},
                     {"E:\\", DriveType::Removable, ""}, {"F:\\", DriveType::Removable, ""}};
    const FDFormatView shown = FDFormatLoad(system);
    ASSERT_EQ(shown.drives.size(), 3u);
    for (int selected : {0, 1, 2}) EXPECT_TRUE(FDFormatDrivePresent(system, shown, selected)) << selected;

    system.drives = {{"A:\\", DriveType::Removable, ""}, {"C:\\", DriveType::Fixed, ""},
                     {"F:\\", DriveType::Removable, ""}};
    EXPECT_FALSE(FDFormatDrivePresent(system, shown, 1)) << "E: has gone";
    EXPECT_TRUE(FDFormatDrivePresent(system, shown, 2)) << "F: is still there";
    EXPECT_FALSE(FDFormatDrivePresent(system, shown, -1));
    EXPECT_FALSE(FDFormatDrivePresent(system, shown, 3));

    const struct {
        int selectedBefore;
        int selectedAfter;
    } cases[] = {{2, 1}, {0, 0}, {1, 0}, {-1, 0}};  // F: moves up; A: stays; E: gone: the first
    for (const auto& c : cases) {
        const FDFormatView reloaded = FDFormatReload(system, shown, c.selectedBefore);
        EXPECT_EQ(Captions(reloaded), (std::vector<std::string>{"(0)A:\\ ドライブ", "(5)F:\\ ドライブ"}));
        EXPECT_EQ(reloaded.selected, c.selectedAfter) << c.selectedBefore;
    }

    system.drives = {{"C:\\", DriveType::Fixed, ""}};
    const FDFormatView empty = FDFormatReload(system, shown, 0);
    EXPECT_TRUE(empty.drives.empty());
    EXPECT_EQ(empty.selected, -1);
    EXPECT_FALSE(empty.okEnabled);
    EXPECT_FALSE(empty.listEnabled);
}
