#include <gtest/gtest.h>

#include "fakes/fakes.h"
#include "platform/host_adapters.h"

using namespace tavi;

TEST(HostDriveSpaces, GivesTheWholeSizesOfAFolderAndNothingForAMissingOne) {
    fakes::TempFolder folder;
    HostDriveSpaces spaces;
    const auto space = spaces.SpaceOf(folder.Path());
    ASSERT_TRUE(space.has_value());
    EXPECT_GT(space->totalBytes, 0u);
    EXPECT_LE(space->freeBytes, space->totalBytes);
    // Windows-style separators reach the same file system.
    std::string windowsStyle = folder.Path() + "\\";
    for (char& c : windowsStyle)
        if (c == '/') c = '\\';
    const auto again = spaces.SpaceOf(windowsStyle);
    ASSERT_TRUE(again.has_value());
    EXPECT_EQ(again->totalBytes, space->totalBytes);

    EXPECT_EQ(spaces.SpaceOf(folder.File("missing/below")), std::nullopt);
}
