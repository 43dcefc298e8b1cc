#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include "dialog_driver_win.h"
#include "dialogs/new_app_ex_ids.h"
#include "dialogs/new_app_ex_win.h"
#include "platform/icon_files_win.h"
#include "platform/win32_adapters_win.h"

using namespace tavi;
using namespace dialog_driver;

namespace {

const std::wstring kCaption = L"ｱﾌﾟﾘｹｰｼｮﾝの登録";

std::vector<std::string> ComboItems(HWND dialog) {
    std::vector<std::string> items;
    const auto count = SendDlgItemMessageW(dialog, IDC_NEWAPPEX_RUN_SIZE, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        wchar_t buffer[64] = {};
        SendDlgItemMessageW(dialog, IDC_NEWAPPEX_RUN_SIZE, CB_GETLBTEXT, static_cast<WPARAM>(i),
                            reinterpret_cast<LPARAM>(buffer));
        items.push_back(Narrow(buffer));
    }
    return items;
}

std::string TabText(HWND dialog) {
    wchar_t buffer[64] = {};
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = buffer;
    item.cchTextMax = 64;
    HWND tab = GetDlgItem(dialog, IDC_NEWAPPEX_TAB);
    if (SendMessageW(tab, TCM_GETITEMCOUNT, 0, 0) != 1) return "<not one tab>";
    SendMessageW(tab, TCM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    return Narrow(buffer);
}

int PreviewPixels(HWND dialog) {
    const auto canvas = Render(GetDlgItem(dialog, IDC_NEWAPPEX_ICON));
    int count = 0;
    for (int y = 0; y < canvas->Height(); ++y)
        for (int x = 0; x < canvas->Width(); ++x)
            if (Pixel(*canvas, x, y) != SystemColour(COLOR_BTNFACE)) ++count;
    return count;
}

class NewAppExWin : public ::testing::Test {
protected:
    Win32Profile profile;
    Win32FileSystem files;
    Win32CodePage codePage;
    Win32SystemInfo system;
    Win32Shell shell;
    Win32MessageBoxes messages;
    Platform platform{profile, files, codePage, system, shell, messages};
    Win32IconFiles icons;
    QueuedChooser chooser;
    std::string notepad;

    void SetUp() override {
        wchar_t windows[MAX_PATH];
        GetWindowsDirectoryW(windows, MAX_PATH);
        notepad = Narrow(windows) + "\\notepad.exe";
    }
};

}  // namespace

TEST_F(NewAppExWin, ANewMemberIsTypedInFromTheTemplate) {
    struct Seen {
        std::vector<std::pair<int, std::string>> captions;
        std::string caption, tab;
        std::vector<std::string> sizes;
        int sizeSelected = -2, previewBefore = -1, previewAfter = 0;
        bool okBefore = true, okAfter = false;
    } seen;
    WhileShown shown(kCaption, [&](HWND dialog) {
        seen.caption = Text(dialog);
        for (int id : {IDC_NEWAPPEX_TITLE_LABEL, IDC_NEWAPPEX_PROGRAM_LABEL, IDC_NEWAPPEX_BROWSE,
                       IDC_NEWAPPEX_COMMAND_LABEL, IDC_NEWAPPEX_RUN_SIZE_LABEL, IDOK, IDCANCEL})
            seen.captions.push_back({id, ItemText(dialog, id)});
        seen.tab = TabText(dialog);
        seen.sizes = ComboItems(dialog);
        seen.sizeSelected = static_cast<int>(SendDlgItemMessageW(dialog, IDC_NEWAPPEX_RUN_SIZE, CB_GETCURSEL, 0, 0));
        seen.okBefore = Enabled(dialog, IDOK);
        seen.previewBefore = PreviewPixels(dialog);

        chooser.answers = {notepad};
        Click(dialog, IDC_NEWAPPEX_BROWSE);
        seen.okAfter = Enabled(dialog, IDOK);
        seen.previewAfter = PreviewPixels(dialog);
        SetItemText(dialog, IDC_NEWAPPEX_COMMAND, "  \"D:\\a b.txt\" ");
        SendDlgItemMessageW(dialog, IDC_NEWAPPEX_RUN_SIZE, CB_SETCURSEL, 2, 0);
        Click(dialog, IDOK);
    });
    const std::optional<ExMenuEntry> stored = ShowNewAppEx(0, {}, platform, chooser, icons);
    ASSERT_TRUE(shown.Join()) << "the dialog did not appear";

    EXPECT_EQ(seen.caption, "ｱﾌﾟﾘｹｰｼｮﾝの登録");
    const std::vector<std::pair<int, std::string>> captions = {
        {IDC_NEWAPPEX_TITLE_LABEL, "ﾀｲﾄﾙ名(&T)"},       {IDC_NEWAPPEX_PROGRAM_LABEL, "ﾌﾟﾛｸﾞﾗﾑの指定"},
        {IDC_NEWAPPEX_BROWSE, "..."},                  {IDC_NEWAPPEX_COMMAND_LABEL, "ｺﾏﾝﾄﾞﾗｲﾝ(&L)"},
        {IDC_NEWAPPEX_RUN_SIZE_LABEL, "実行時の大きさ(&B)"}, {IDOK, "&OK"},
        {IDCANCEL, "ｷｬﾝｾﾙ(&C)"},
    };
    EXPECT_EQ(seen.captions, captions);
    EXPECT_EQ(seen.tab, "ｱﾌﾟﾘｹｰｼｮﾝ情報");
    EXPECT_EQ(seen.sizes, (std::vector<std::string>{"通常のｳｨﾝﾄﾞｳ", "最小化", "最大化"}));
    EXPECT_EQ(seen.sizeSelected, 0);
    EXPECT_FALSE(seen.okBefore) << "no program yet";
    EXPECT_EQ(seen.previewBefore, 0);
    EXPECT_TRUE(seen.okAfter);
    EXPECT_GT(seen.previewAfter, 50) << "the program's first icon";
    ASSERT_TRUE(stored);
    ASSERT_EQ(chooser.asked.size(), 1u);
    EXPECT_EQ(chooser.asked[0].title, "登録ｱﾌﾟﾘｹｰｼｮﾝの指定");
    EXPECT_EQ(*stored, (ExMenuEntry{"notepad.exe", notepad, "  \"D:\\a b.txt\" ", "2"}));
}

TEST_F(NewAppExWin, AnEditedMemberLoadsAndCancelStoresNothing) {
    struct Seen {
        std::string title, program, command;
        int size = -2;
        bool ok = false;
    } seen;
    WhileShown shown(kCaption, [&](HWND dialog) {
        seen.title = ItemText(dialog, IDC_NEWAPPEX_TITLE);
        seen.program = ItemText(dialog, IDC_NEWAPPEX_PROGRAM);
        seen.command = ItemText(dialog, IDC_NEWAPPEX_COMMAND);
        seen.size = static_cast<int>(SendDlgItemMessageW(dialog, IDC_NEWAPPEX_RUN_SIZE, CB_GETCURSEL, 0, 0));
        seen.ok = Enabled(dialog, IDOK);
        SetItemText(dialog, IDC_NEWAPPEX_TITLE, "changed");
        Click(dialog, IDCANCEL);
    });
    const ExMenuEntry member{"ﾒﾓ帳", notepad, "/p", "1"};
    EXPECT_FALSE(ShowNewAppEx(0, member, platform, chooser, icons));
    ASSERT_TRUE(shown.Join());
    EXPECT_EQ(seen.title, "ﾒﾓ帳");
    EXPECT_EQ(seen.program, notepad);
    EXPECT_EQ(seen.command, "/p");
    EXPECT_EQ(seen.size, 1);
    EXPECT_TRUE(seen.ok);
}

TEST_F(NewAppExWin, AMemberFolderOffersToShowAsAMenu) {
    struct Seen {
        std::vector<std::string> asProgram, asFolder, asFileAgain;
        int selectedAfter = -2;
    } seen;
    WhileShown shown(kCaption, [&](HWND dialog) {
        seen.asProgram = ComboItems(dialog);
        SetItemText(dialog, IDC_NEWAPPEX_PROGRAM, "C:\\Docs\\");
        seen.asFolder = ComboItems(dialog);
        SendDlgItemMessageW(dialog, IDC_NEWAPPEX_RUN_SIZE, CB_SETCURSEL, 3, 0);
        SetItemText(dialog, IDC_NEWAPPEX_PROGRAM, "C:\\Docs");
        seen.asFileAgain = ComboItems(dialog);
        seen.selectedAfter = static_cast<int>(SendDlgItemMessageW(dialog, IDC_NEWAPPEX_RUN_SIZE, CB_GETCURSEL, 0, 0));
        SetItemText(dialog, IDC_NEWAPPEX_PROGRAM, "C:\\Docs\\");
        SendDlgItemMessageW(dialog, IDC_NEWAPPEX_RUN_SIZE, CB_SETCURSEL, 3, 0);
        Click(dialog, IDOK);
    });
    const std::optional<ExMenuEntry> stored =
        ShowNewAppEx(0, ExMenuEntry{"Ed", notepad, "", "1"}, platform, chooser, icons);
    ASSERT_TRUE(shown.Join());
    const std::vector<std::string> three{"通常のｳｨﾝﾄﾞｳ", "最小化", "最大化"};
    EXPECT_EQ(seen.asProgram, three);
    EXPECT_EQ(seen.asFolder, (std::vector<std::string>{"通常のｳｨﾝﾄﾞｳ", "最小化", "最大化", "ﾒﾆｭｰで表示"}));
    EXPECT_EQ(seen.asFileAgain, three);
    EXPECT_EQ(seen.selectedAfter, 0) << "no longer a folder: a normal window";
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->ExRunType, "3");
    EXPECT_EQ(stored->ExPathName, "C:\\Docs\\");
}
