#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "platform/loop_waits_win.h"
#include "platform/text.h"
#include "platform/wide_win.h"
#include "platform/win32_adapters_win.h"
#include "pump_win.h"

using namespace tavi;
using namespace std::chrono_literals;

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
    // A worker's first call into the shell may take longer than the wait:
    // the plain name meanwhile, the shell's once it has answered.
    const std::string drive = windows.substr(0, 3);
    std::vector<std::string> names;
    const auto deadline = std::chrono::steady_clock::now() + 10s;
    do {
        names = system.DriveDisplayNames({drive, drive});
        ASSERT_EQ(names.size(), 2u);
    } while (names[0] == PlainDriveName(drive) && std::chrono::steady_clock::now() < deadline);
    EXPECT_FALSE(names[0].empty());
    EXPECT_NE(names[0], PlainDriveName(drive)) << "a drive that answers is named by the shell";
    EXPECT_EQ(names[1], names[0]);
    EXPECT_FALSE(system.ComputerName().empty());
    EXPECT_EQ(system.DriveTypeOf("Q:\\no\\such\\root\\"), DriveType::NoRootDir);

    // A drive that does not answer (its worker held before it asks the
    // shell): the plain name at once, and no second worker while the first
    // is stuck; other drives are named as ever; the shell's name once the
    // worker returns.
    const HANDLE release = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    auto asked = std::make_shared<std::atomic<int>>(0);
    Win32SystemInfo held([release, asked](const std::string& root) {
        if (root != "C:\\") return;
        ++*asked;
        WaitForSingleObject(release, 30'000);
    });
    const auto waitedFor = [&](const std::vector<std::string>& roots) {
        const auto start = std::chrono::steady_clock::now();
        names = held.DriveDisplayNames(roots);
        return std::chrono::steady_clock::now() - start;
    };
    EXPECT_LT(waitedFor({"C:\\", "Z:\\"}), kAnswerBudget / 2);
    ASSERT_EQ(names.size(), 2u);
    EXPECT_EQ(names[0], "(C:)") << "not named in time";
    const auto named = std::chrono::steady_clock::now() + 10s;
    while (held.DriveDisplayNames({"Z:\\"}) == std::vector<std::string>{"(Z:)"} &&
           std::chrono::steady_clock::now() < named)
        SwitchToThread();
    EXPECT_NE(held.DriveDisplayNames({"Z:\\"}), std::vector<std::string>{"(Z:)"})
        << "another drive is named by the shell meanwhile";
    for (int i = 0; i < 3; ++i) {
        EXPECT_LT(waitedFor({"C:\\"}), kAnswerBudget / 2);
        EXPECT_EQ(names, std::vector<std::string>{"(C:)"});
    }
    EXPECT_EQ(*asked, 1) << "one worker per drive, however often it is asked";

    SetEvent(release);
    const auto ended = std::chrono::steady_clock::now() + 10s;
    while (DriveNames::WorkersAlive() > 0 && std::chrono::steady_clock::now() < ended) SwitchToThread();
    ASSERT_EQ(DriveNames::WorkersAlive(), 0) << "every worker ends";
    names = held.DriveDisplayNames({"C:\\"});
    ASSERT_EQ(names.size(), 1u);
    EXPECT_NE(names[0], "(C:)") << "named by the shell once it answered";
    EXPECT_EQ(*asked, 2);
    CloseHandle(release);
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

    // Away from this thread: told later, through this thread's messages.
    std::vector<int> told;
    shell.OpenThen(missing, [&](int later) { told.push_back(later); });
    EXPECT_TRUE(told.empty()) << "not told from within the call";
    ASSERT_TRUE(PumpUntil([&] { return !told.empty(); }));
    EXPECT_EQ(told, std::vector<int>{result}) << "the same result as on this thread";
}

// The message loop's own waits: an object signalled has its action run once
// and is gone; one taken away first never runs; past the most the loop can
// wait on, the caller is told to wait another way.
TEST(LoopWaits, ASignalledObjectRunsItsActionOnceAndTheLoopHasRoomForSixtyThree) {
    std::vector<HANDLE> events;
    for (int i = 0; i < 64; ++i) events.push_back(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    std::vector<int> ran;
    for (int i = 0; i < 63; ++i) ASSERT_TRUE(loop_waits::Add(events[i], [&ran, i] { ran.push_back(i); }));
    EXPECT_FALSE(loop_waits::Add(events[63], [] {})) << "no room for a 64th";

    loop_waits::Remove(events[2]);
    SetEvent(events[2]);
    SetEvent(events[5]);
    PostMessageW(nullptr, WM_NULL, 0, 0);  // input, so that the wait ends once the actions ran
    WaitForInput();
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    }
    EXPECT_EQ(ran, std::vector<int>{5}) << "the one removed never runs";
    EXPECT_EQ(loop_waits::Count(), 61u) << "the signalled one is gone, the others wait on";

    for (int i = 0; i < 63; ++i) loop_waits::Remove(events[i]);
    EXPECT_EQ(loop_waits::Count(), 0u);
    for (HANDLE event : events) CloseHandle(event);
}
