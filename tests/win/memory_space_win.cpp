#include <windows.h>

#include <gtest/gtest.h>

#include "dialog_driver_win.h"
#include "platform/memory_status_win.h"
#include "platform/win32_adapters_win.h"
#include "tool_doubles_win.h"
#include "tools/memory_space.h"
#include "tools/memory_space_ids.h"
#include "tools/memory_space_win.h"

using namespace tavi;
using namespace dialog_driver;
using tavi::PixelCanvas;

namespace {

// Runs the test thread's messages through the window, as the program's
// message loop does, until `done` or the time limit.
bool PumpUntil(HWND dialog, const std::function<bool()>& done) {
    return WaitUntil([&] {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (dialog && IsWindow(dialog) && IsDialogMessageW(dialog, &message)) continue;
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        return done();
    });
}

struct BarPixels {
    int blue = 0;   // 0x000080
    int white = 0;
};

BarPixels Count(const PixelCanvas& canvas) {
    BarPixels count;
    for (int y = 0; y < canvas.Height(); ++y)
        for (int x = 0; x < canvas.Width(); ++x) {
            const uint32_t p = Pixel(canvas, x, y);
            if (p == 0x000080) ++count.blue;
            if (p == 0xFFFFFF) ++count.white;
        }
    return count;
}

BarPixels Count(HWND bar) { return Count(*Render(bar)); }

// The bar painted twice over the same pixels, as a window is painted again.
BarPixels CountPaintedTwice(HWND bar) {
    RECT client{};
    GetClientRect(bar, &client);
    PixelCanvas canvas(client.right, client.bottom);
    canvas.Fill(0xFF00FF00);
    for (int i = 0; i < 2; ++i) SendMessageW(bar, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.Dc()), PRF_CLIENT);
    GdiFlush();
    return Count(canvas);
}

class MemorySpaceWin : public ::testing::Test {
protected:
    Win32Profile profile;
    Win32FileSystem files;
    Win32CodePage codePage;
    Win32SystemInfo system;
    Win32Shell shell;
    Win32MessageBoxes messages;
    Platform platform{profile, files, codePage, system, shell, messages};
    Win32SystemResources resources;
};

}  // namespace

TEST_F(MemorySpaceWin, ShowsThisSystemsMemoryAndClosesWithEscape) {
    Win32MemoryStatus memory;
    MemorySpaceDialog meter(platform, memory, resources);
    ASSERT_TRUE(meter.Show(0));
    HWND window = meter.Handle();
    ASSERT_NE(window, nullptr);
    MEMORYSTATUSEX status{};
    status.dwLength = sizeof status;
    ASSERT_TRUE(GlobalMemoryStatusEx(&status));

    EXPECT_EQ(Text(window), "ﾒﾓﾘ使用量");
    EXPECT_EQ(ItemText(window, IDC_MEMORY_LABEL0), "ﾒﾓﾘ使用率");
    EXPECT_EQ(ItemText(window, IDC_MEMORY_LABEL0 + 1), "ｼｽﾃﾑﾘｿｰｽ");
    EXPECT_EQ(ItemText(window, IDC_MEMORY_LABEL0 + 2), "Userﾘｿｰｽ");
    EXPECT_EQ(ItemText(window, IDC_MEMORY_LABEL0 + 3), "GDIﾘｿｰｽ");
    EXPECT_EQ(ItemText(window, IDC_MEMORY_TOTAL_LABEL), "全物理ﾒﾓﾘ");
    EXPECT_EQ(ItemText(window, IDC_MEMORY_AVAIL_LABEL), "空き物理ﾒﾓﾘ");
    EXPECT_EQ(ItemText(window, IDOK), "&OK");
    EXPECT_EQ(ItemText(window, IDC_MEMORY_TOTAL), FormatKilobytes(status.ullTotalPhys));
    const std::string available = ItemText(window, IDC_MEMORY_AVAIL);
    EXPECT_TRUE(available.size() > 3 && available.substr(available.size() - 3) == " KB") << available;
    // No resource library on this system: the three resource bars say so and fill nothing.
    for (int i = 1; i < 4; ++i) {
        const BarPixels pixels = Count(GetDlgItem(window, IDC_MEMORY_BAR0 + i));
        EXPECT_GT(pixels.blue, 0) << "bar " << i << " shows its message";
        EXPECT_GT(pixels.white, pixels.blue * 4) << "bar " << i << " is not filled";
    }

    // Escape reaches the window through IsDialogMessage, as in the program's loop.
    SetFocus(GetDlgItem(window, IDOK));
    PostMessageW(GetDlgItem(window, IDOK), WM_KEYDOWN, VK_ESCAPE, 0x00010001);
    EXPECT_TRUE(PumpUntil(window, [&] { return meter.Handle() == nullptr; }));
    EXPECT_FALSE(IsWindow(window));
}

TEST_F(MemorySpaceWin, BarsFollowEachRefreshAndShowTheirTextInverted) {
    tool_doubles::FixedMemory memory;
    memory.figures = MemoryFigures{100, 4294967296ull + 1024, 2147483648ull};
    MemorySpaceDialog meter(platform, memory, resources);
    ASSERT_TRUE(meter.Show(0));
    HWND window = meter.Handle();
    HWND load = GetDlgItem(window, IDC_MEMORY_BAR0);
    EXPECT_EQ(ItemText(window, IDC_MEMORY_TOTAL), "4,194,305 KB");
    EXPECT_EQ(ItemText(window, IDC_MEMORY_AVAIL), "2,097,152 KB");
    const BarPixels full = Count(load);
    EXPECT_GT(full.blue, 0);
    EXPECT_GT(full.white, 0) << "the text shows white on the full bar";
    EXPECT_GT(full.blue, full.white * 4);

    // Painted again over itself, the bar must not turn into its own inverse.
    const BarPixels twice = CountPaintedTwice(load);
    EXPECT_EQ(twice.blue, full.blue);
    EXPECT_EQ(twice.white, full.white);

    memory.figures = MemoryFigures{0, 1048576, 0};
    SendMessageW(window, WM_TIMER, 1, 0);
    EXPECT_EQ(ItemText(window, IDC_MEMORY_TOTAL), "1,024 KB");
    EXPECT_EQ(ItemText(window, IDC_MEMORY_AVAIL), "0 KB");
    const BarPixels empty = Count(load);
    EXPECT_GT(empty.white, empty.blue * 4) << "a load of 0 fills nothing";
    EXPECT_GT(empty.blue, 0) << "and shows 0%";

    Click(window, IDOK);
    EXPECT_EQ(meter.Handle(), nullptr);
    EXPECT_FALSE(IsWindow(window));
}

TEST_F(MemorySpaceWin, ShowingItAgainKeepsOneWindow) {
    Win32MemoryStatus memory;
    MemorySpaceDialog meter(platform, memory, resources);
    ASSERT_TRUE(meter.Show(0));
    HWND first = meter.Handle();
    ASSERT_TRUE(meter.Show(0));
    EXPECT_EQ(meter.Handle(), first);
    meter.Close();
    EXPECT_FALSE(IsWindow(first));
}
