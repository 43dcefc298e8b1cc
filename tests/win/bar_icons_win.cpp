#include <windows.h>

#include <shellapi.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "bar/bar_icons_win.h"
#include "bar/stock_icons_win.h"
#include "platform/pixel_canvas_win.h"
#include "platform/wide_win.h"
#include "platform/win32_adapters_win.h"

using namespace tavi;

namespace {

// Counts the pixels one picture of a list paints over a white background.
int OpaquePixels(const PictureList* list, int index) {
    if (!list || !list->Pixels(index)) return -1;
    PixelCanvas canvas(list->Size(), list->Size());
    canvas.Fill(0x00FFFFFF);
    list->Draw(canvas.Dc(), index, 0, 0);
    canvas.Finish();
    return static_cast<int>(std::count_if(canvas.Pixels(), canvas.Pixels() + canvas.Width() * canvas.Height(),
                                          [](uint32_t p) { return (p & 0x00FFFFFF) != 0x00FFFFFF; }));
}

std::string WindowsFile(const char* name) {
    wchar_t folder[MAX_PATH];
    GetWindowsDirectoryW(folder, MAX_PATH);
    return Narrow(folder) + "\\" + name;
}

}  // namespace

TEST(StockIcons, EveryPictureIsDrawnAtEverySize) {
    for (int size : {16, 24, 32}) {
        for (StockIcon icon : {StockIcon::Dos, StockIcon::Nothing, StockIcon::Folder, StockIcon::Main2, StockIcon::Drag}) {
            HICON handle = CreateStockIcon(icon, size);
            ASSERT_NE(handle, nullptr) << "icon " << static_cast<int>(icon) << " at " << size;
            ICONINFO info{};
            ASSERT_TRUE(GetIconInfo(handle, &info));
            BITMAP bitmap{};
            GetObjectW(info.hbmColor, sizeof bitmap, &bitmap);
            EXPECT_EQ(bitmap.bmWidth, size);
            DeleteObject(info.hbmColor);
            DeleteObject(info.hbmMask);
            DestroyIcon(handle);
        }
    }
}

TEST(BarIcons, StockPicturesComeFirstAndKeysAreExtractedOnce) {
    Win32Shell shell;
    BarIcons icons;
    // Sizes of the three rows at 96 and at 144 dpi.
    const struct {
        int sizeIndex, icon, small;
    } rows[] = {{0, 32, 16}, {1, 16, 16}, {2, 24, 16}, {0, 48, 24}, {1, 24, 24}, {2, 36, 24}};
    for (const auto& row : rows) {
        const PictureList& list = icons.Reset(row.sizeIndex, row.icon, row.small);
        ASSERT_EQ(list.Count(), 3) << "size index " << row.sizeIndex;
        EXPECT_EQ(list.Size(), row.sizeIndex == 1 ? row.small : row.icon) << "size index " << row.sizeIndex;
        for (int stock = 0; stock < 3; ++stock) EXPECT_GT(OpaquePixels(&list, stock), 10) << "stock " << stock;
    }

    icons.Reset(0, 32, 16);
    const std::string notepad = WindowsFile("notepad.exe");
    const LaunchEntry program{"Notepad", notepad, "", "0", notepad, "0"};
    const int first = icons.ImageFor(program, 3, true, shell);
    EXPECT_EQ(first, 3) << "the first extracted picture follows the three stock ones";
    EXPECT_TRUE(icons.HasKey("k.exe7"));
    EXPECT_GT(OpaquePixels(icons.Active(), first), 50) << "notepad's own icon is drawn";
    EXPECT_EQ(icons.ImageFor(program, 3, true, shell), first) << "a stored key is reused";
    EXPECT_EQ(icons.Active()->Count(), 4);
    // Another entry has a key of its own; the same icon of the same file is
    // not extracted and stored a second time.
    EXPECT_EQ(icons.ImageFor(program, 4, true, shell), first);
    EXPECT_TRUE(icons.HasKey("k.exe8"));
    EXPECT_EQ(icons.Active()->Count(), 4);
}

TEST(BarIcons, AMissingIconFileStoresAnEmptyPicture) {
    Win32Shell shell;
    BarIcons icons;
    icons.Reset(2, 24, 16);
    const LaunchEntry entry{"Gone", "C:\\nowhere\\gone.exe", "", "0", "C:\\nowhere\\gone.ico", "0"};
    const int index = icons.ImageFor(entry, 0, true, shell);
    ASSERT_EQ(index, 3);
    EXPECT_EQ(OpaquePixels(icons.Active(), index), 0);
    // A document type nobody opens shows the "Nothing" picture.
    const LaunchEntry unknown{"U", "C:\\x.unknownext", "", "0", "C:\\x.unknownext", "0"};
    EXPECT_EQ(icons.ImageFor(unknown, 1, true, shell), 1);
}

TEST(BarIcons, AProgramWithoutIconsGetsAnEmptyPictureNotAStrayOne) {
    // Wine's explorer.exe carries no icon resources at all.
    Win32Shell shell;
    BarIcons icons;
    icons.Reset(0, 32, 16);
    const std::string explorer = WindowsFile("explorer.exe");
    const int index = icons.ImageFor({"Ex", explorer, "", "0", explorer, "0"}, 1, true, shell);
    ASSERT_EQ(index, 3);
    const int opaque = OpaquePixels(icons.Active(), index);
    const UINT count = ExtractIconExW(Widen(explorer).c_str(), -1, nullptr, nullptr, 0);
    EXPECT_EQ(count == 0, opaque == 0) << "icons in the file: " << count << ", opaque pixels: " << opaque;
}

TEST(BarIcons, TheShellIsAskedOncePerPathUntilTheListsAreReset) {
    // Counts the questions that reach the shell.
    struct CountingShell final : Shell {
        Win32Shell system;
        std::vector<std::string> asked;
        int Open(const ShellOpenRequest& request) override { return system.Open(request); }
        Association AssociatedProgram(const std::string& document) override {
            asked.push_back(document);
            return system.AssociatedProgram(document);
        }
    } shell;
    BarIcons icons;
    icons.Reset(0, 32, 16);
    const std::string notepad = WindowsFile("notepad.exe");
    const std::string regedit = WindowsFile("regedit.exe");
    // A page turn: other entries (other keys) of the same programs.
    for (int index : {0, 1, 25, 26})
        icons.ImageFor({"P", index % 2 ? regedit : notepad, "", "0", index % 2 ? regedit : notepad, "0"}, index, true,
                       shell);
    EXPECT_EQ(shell.asked, (std::vector<std::string>{notepad, regedit}));
    EXPECT_TRUE(icons.HasKey("k.exe29")) << "the entry of the second page still has its own key";
    EXPECT_EQ(icons.Active()->Count(), 5) << "one picture per program";

    // A document type nobody opens keeps its "Nothing" picture, asked once too.
    const LaunchEntry unknown{"U", "C:\\x.unknownext", "", "0", "C:\\x.unknownext", "0"};
    EXPECT_EQ(icons.ImageFor(unknown, 2, false, shell), 1);
    EXPECT_EQ(icons.ImageFor(unknown, 2, false, shell), 1);
    EXPECT_EQ(shell.asked.size(), 3u);

    icons.Reset(0, 32, 16);
    icons.ImageFor({"P", notepad, "", "0", notepad, "0"}, 0, true, shell);
    EXPECT_EQ(shell.asked.size(), 4u) << "the redraw asks the shell afresh";
}
