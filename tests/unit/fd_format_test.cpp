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
