#include <windows.h>

#include <gtest/gtest.h>

#include "dialog_driver_win.h"
#include "dialogs/icon_change_ids.h"
#include "dialogs/icon_change_win.h"
#include "icon_library_win.h"
#include "held_icon_files_win.h"
#include "platform/icon_files_win.h"
#include "platform/win32_adapters_win.h"
#include "temp_folder_win.h"

using namespace tavi;
using namespace dialog_driver;

namespace {

const std::wstring kCaption = L"ｱｲｺﾝの変更";

// What the strip showed: the icon drawn in each visible cell (-1 for none)
// and which visible cells were marked.
struct StripPicture {
    std::vector<int> icons;
    std::vector<int> marked;
};

StripPicture Look(HWND dialog, int iconCount) {
    HWND strip = GetDlgItem(dialog, IDC_ICONCHANGE_STRIP);
    const auto canvas = Render(strip);
    const int cell = canvas->Width() / kVisibleIconCells;
    StripPicture picture;
    for (int k = 0; k < kVisibleIconCells; ++k) {
        const uint32_t centre = Pixel(*canvas, k * cell + cell / 2, cell / 2);
        int icon = -1;
        for (int i = 0; i < iconCount; ++i)
            if (centre == icon_library::ColourOf(i)) icon = i;
        picture.icons.push_back(icon);
        // Between the frame and the icon.
        if (Pixel(*canvas, k * cell + 1, 1) == SystemColour(COLOR_HIGHLIGHT)) picture.marked.push_back(k);
    }
    return picture;
}

int ReachableScrollMax(HWND dialog) {
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_PAGE;
    GetScrollInfo(GetDlgItem(dialog, IDC_ICONCHANGE_SCROLL), SB_CTL, &info);
    return info.nMax - static_cast<int>(info.nPage > 0 ? info.nPage - 1 : 0);
}

class IconChangeWin : public ::testing::Test {
protected:
    TempFolder folder;
    Win32Profile profile;
    Win32FileSystem files;
    Win32CodePage codePage;
    Win32SystemInfo system;
    Win32Shell shell;
    Win32MessageBoxes messages;
    Platform platform{profile, files, codePage, system, shell, messages};
    Win32IconFiles icons;
    QueuedChooser chooser;
};

}  // namespace

TEST_F(IconChangeWin, ShowsEveryIconOfTheFileScrollsAndStoresTheChosenNumber) {
    const std::string library = folder.PathOf("ｱｲｺﾝ集.dll");
    ASSERT_TRUE(icon_library::Write(Widen(library), 11));
    ASSERT_EQ(icons.IconCount(library), 11);

    struct Seen {
        std::string caption, label, ok, cancel, file;
        bool scrollEnabled = false;
        int scrollMax = -1;
        StripPicture first, scrolled, clicked;
    } seen;
    WhileShown shown(kCaption, [&](HWND dialog) {
        seen.caption = Text(dialog);
        seen.label = ItemText(dialog, IDC_ICONCHANGE_FILE_LABEL);
        seen.ok = ItemText(dialog, IDOK);
        seen.cancel = ItemText(dialog, IDCANCEL);
        seen.file = ItemText(dialog, IDC_ICONCHANGE_FILE);
        seen.scrollEnabled = Enabled(dialog, IDC_ICONCHANGE_SCROLL);
        seen.scrollMax = ReachableScrollMax(dialog);
        seen.first = Look(dialog, 11);
        SendMessageW(dialog, WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 3),
                     reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDC_ICONCHANGE_SCROLL)));
        seen.scrolled = Look(dialog, 11);
        // Visible cell 5 now shows icon 8.
        HWND strip = GetDlgItem(dialog, IDC_ICONCHANGE_STRIP);
        RECT client{};
        GetClientRect(strip, &client);
        const int cell = client.right / kVisibleIconCells;
        SendMessageW(strip, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5 * cell + cell / 2, cell / 2));
        SendMessageW(strip, WM_LBUTTONUP, 0, MAKELPARAM(5 * cell + cell / 2, cell / 2));
        seen.clicked = Look(dialog, 11);
        Click(dialog, IDOK);
    });
    const auto chosen = ShowIconChange(0, {{library, "2"}, "", false}, platform, chooser, icons);
    ASSERT_TRUE(shown.Join()) << "the dialog did not appear";

    EXPECT_EQ(seen.caption, "ｱｲｺﾝの変更");
    EXPECT_EQ(seen.label, "ﾌｧｲﾙ名(&F)");
    EXPECT_EQ(seen.ok, "&OK");
    EXPECT_EQ(seen.cancel, "ｷｬﾝｾﾙ(&C)");
    EXPECT_EQ(seen.file, library);
    EXPECT_TRUE(seen.scrollEnabled);
    EXPECT_EQ(seen.scrollMax, 3) << "11 cells, 8 in view";
    EXPECT_EQ(seen.first.icons, (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7}));
    EXPECT_EQ(seen.first.marked, std::vector<int>{2}) << "the stored number is marked";
    EXPECT_EQ(seen.scrolled.icons, (std::vector<int>{3, 4, 5, 6, 7, 8, 9, 10}));
    EXPECT_TRUE(seen.scrolled.marked.empty()) << "icon 2 is scrolled out of view";
    EXPECT_EQ(seen.clicked.marked, std::vector<int>{5});
    ASSERT_TRUE(chosen.has_value());
    EXPECT_EQ(*chosen, (IconChoice{library, "8"}));
}

TEST_F(IconChangeWin, EightIconsFitWithoutScrollingAndCancelHandsBackNothing) {
    const std::string library = folder.PathOf("八つ.dll");
    ASSERT_TRUE(icon_library::Write(Widen(library), 8));
    const std::string other = folder.PathOf("三つ.dll");
    ASSERT_TRUE(icon_library::Write(Widen(other), 3));
    chooser.answers = {other};

    struct Seen {
        bool scrollEnabled = true;
        StripPicture eight, three;
        std::string file;
    } seen;
    WhileShown shown(kCaption, [&](HWND dialog) {
        seen.scrollEnabled = Enabled(dialog, IDC_ICONCHANGE_SCROLL);
        seen.eight = Look(dialog, 8);
        Click(dialog, IDC_ICONCHANGE_BROWSE);
        seen.file = ItemText(dialog, IDC_ICONCHANGE_FILE);
        seen.three = Look(dialog, 3);
        Click(dialog, IDCANCEL);
    });
    const auto chosen = ShowIconChange(0, {{"", ""}, library, false}, platform, chooser, icons);
    ASSERT_TRUE(shown.Join()) << "the dialog did not appear";

    EXPECT_FALSE(seen.scrollEnabled);
    EXPECT_EQ(seen.eight.icons, (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7})) << "the owner's path, all eight icons";
    EXPECT_EQ(seen.eight.marked, std::vector<int>{0});
    ASSERT_EQ(chooser.asked.size(), 1u);
    EXPECT_EQ(chooser.asked[0].title, "変更ﾌｧｲﾙ名の指定");
    EXPECT_EQ(seen.file, other);
    EXPECT_EQ(seen.three.icons, (std::vector<int>{0, 1, 2, -1, -1, -1, -1, -1}));
    EXPECT_FALSE(chosen.has_value());
}

TEST_F(IconChangeWin, AFileThatNeverAnswersLeavesTheDialogAnsweringWithEmptyCells) {
    const std::string library = folder.PathOf("遅い.dll");
    ASSERT_TRUE(icon_library::Write(Widen(library), 11));
    HeldIconFiles held;

    struct Seen {
        bool answered = false;
        std::string file;
        StripPicture waiting, came;
    } seen;
    {
        WhileShown shown(kCaption, [&](HWND dialog) {
            DWORD_PTR result = 0;
            seen.answered = SendMessageTimeoutW(dialog, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 200, &result) != 0;
            seen.file = ItemText(dialog, IDC_ICONCHANGE_FILE);
            seen.waiting = Look(dialog, 11);
            Click(dialog, IDCANCEL);
        });
        const auto chosen = ShowIconChange(0, {{library, "2"}, "", false}, platform, chooser, held);
        ASSERT_TRUE(shown.Join()) << "the dialog did not appear";
        EXPECT_FALSE(chosen.has_value()) << "Cancel works while the file does not answer";
    }
    EXPECT_TRUE(seen.answered) << "the dialog answers within 200 ms";
    EXPECT_EQ(seen.file, library) << "not the system library: the count has not come";
    EXPECT_EQ(seen.waiting.icons, std::vector<int>(8, -1));
    EXPECT_EQ(held.CountedHere(), 0) << "counted on the dialog's thread";

    // Once the file answers, the count and every cell come from the workers.
    held.Release();
    ASSERT_TRUE(WaitUntil([&] { return held.WorkersDone(); }));
    WhileShown again(kCaption, [&](HWND dialog) {
        // The workers draw the cells in no set order.
        const std::vector<int> all{0, 1, 2, 3, 4, 5, 6, 7};
        WaitUntil([&] { return (seen.came = Look(dialog, 11)).icons == all; });
        Click(dialog, IDCANCEL);
    });
    (void)ShowIconChange(0, {{library, "2"}, "", false}, platform, chooser, held);
    ASSERT_TRUE(again.Join());
    EXPECT_EQ(seen.came.icons, (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7}));
    EXPECT_EQ(seen.came.marked, std::vector<int>{2});
    EXPECT_EQ(held.CountedHere(), 0);
}
