#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>

#include "platform/text.h"
#include "platform/wide_win.h"
#include "platform/win32_adapters_win.h"

using namespace tavi;

TEST(Win32SystemInfo, FoldersAndDrivesAsTheSystemGivesThem) {
    Win32SystemInfo system;
    const std::string windows = system.WindowsDirectory();
    ASSERT_GE(windows.size(), 3u);
    EXPECT_EQ(windows.substr(1, 2), ":\\");
    EXPECT_NE(windows.back(), '\\');
    EXPECT_EQ(system.SystemDirectory().substr(0, windows.size()), windows);
    EXPECT_TRUE(system.IsWindowsNT());

    const std::vector<std::string> roots = system.LogicalDriveRoots();
    ASSERT_FALSE(roots.empty());
    for (const std::string& root : roots) EXPECT_EQ(root.substr(1), ":\\") << root;
    EXPECT_NE(std::find(roots.begin(), roots.end(), windows.substr(0, 3)), roots.end());
    EXPECT_EQ(system.DriveTypeOf(windows.substr(0, 3)), DriveType::Fixed);
    EXPECT_FALSE(system.DriveDisplayName(windows.substr(0, 3)).empty());
    EXPECT_FALSE(system.ComputerName().empty());
    EXPECT_EQ(system.DriveTypeOf("Q:\\no\\such\\root\\"), DriveType::NoRootDir);
}

TEST(Win32Shell, ResultCodesAndAssociations) {
    Win32Shell shell;
    ShellOpenRequest missing;
    missing.verb = "open";
    missing.file = "C:\\no\\such\\program-ﾃｽﾄ.exe";
    const int result = shell.Open(missing);
    EXPECT_GE(result, 1);
    EXPECT_LE(result, 32) << "a missing file is an error the shell reports";

    Win32SystemInfo system;
    const std::string windows = system.WindowsDirectory();
    const Shell::Association program = shell.AssociatedProgram(windows + "\\notepad.exe");
    EXPECT_GT(program.result, 32);
    EXPECT_NE(ToUpperAscii(program.program).find("NOTEPAD.EXE"), std::string::npos) << program.program;
    EXPECT_LE(shell.AssociatedProgram("C:\\no\\such\\file.unknownext").result, 32);
}
