#include <windows.h>

#include <gtest/gtest.h>

#include "dialog_driver_win.h"
#include "dialogs/reboot_dialog_ids.h"
#include "dialogs/reboot_dialog_win.h"

using namespace tavi;
using namespace dialog_driver;

namespace {

const std::wstring kCaption = L"互換性の警告";

bool Checked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }

// Shows RebootDialog, lets `body` act on it, and gives back the answer.
RebootChoice Answer(const std::function<void(HWND)>& body) {
    WhileShown shown(kCaption, body);
    const RebootChoice choice = ShowRebootDialog(0);
    EXPECT_TRUE(shown.Join()) << "frmReboot appeared";
    return choice;
}

}  // namespace

TEST(RebootDialogWin, ShowsTheQuestionWithStoringPreselected) {
    struct Seen {
        std::string warning, choose, restart, storeOnly, ok, cancel;
        bool restartChecked = true, storeOnlyChecked = false, icon = false;
        HWND focus = nullptr, okButton = nullptr;
    } seen;
    const RebootChoice choice = Answer([&](HWND dialog) {
        seen.warning = ItemText(dialog, IDC_FRMREBOOT_WARNING);
        seen.choose = ItemText(dialog, IDC_FRMREBOOT_CHOOSE);
        seen.restart = ItemText(dialog, IDC_FRMREBOOT_RESTART);
        seen.storeOnly = ItemText(dialog, IDC_FRMREBOOT_STOREONLY);
        seen.ok = ItemText(dialog, IDOK);
        seen.cancel = ItemText(dialog, IDCANCEL);
        seen.restartChecked = Checked(dialog, IDC_FRMREBOOT_RESTART);
        seen.storeOnlyChecked = Checked(dialog, IDC_FRMREBOOT_STOREONLY);
        seen.icon = SendDlgItemMessageW(dialog, IDC_FRMREBOOT_ICON, STM_GETICON, 0, 0) != 0;
        GUITHREADINFO gui{};
        gui.cbSize = sizeof gui;
        GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &gui);
        seen.focus = gui.hwndFocus;
        seen.okButton = GetDlgItem(dialog, IDOK);
    });
    EXPECT_EQ(choice, RebootChoice::Cancel) << "closed by the driver";
    EXPECT_EQ(seen.warning,
              "ｺﾝﾋﾟｭｰﾀをここで再起動しないと選択された設定が原因でﾌﾟﾛｸﾞﾗﾑが正常に動作しないことがあります");
    EXPECT_EQ(seen.choose, "どちらかを選んでください");
    EXPECT_EQ(seen.restart, "新しい設定でｺﾝﾋﾟｭｰﾀを再起動する(&R)");
    EXPECT_EQ(seen.storeOnly, "再起動せずに設定を更新する(&A)");
    EXPECT_EQ(seen.ok, "&OK");
    EXPECT_EQ(seen.cancel, "ｷｬﾝｾﾙ(&C)");
    EXPECT_FALSE(seen.restartChecked);
    EXPECT_TRUE(seen.storeOnlyChecked);
    EXPECT_TRUE(seen.icon);
    EXPECT_EQ(seen.focus, seen.okButton);
}

TEST(RebootDialogWin, AnswersWhatTheUserChose) {
    const struct {
        const char* name;
        std::function<void(HWND)> act;
        RebootChoice choice;
    } cases[] = {
        {"OK as it opens", [](HWND d) { Click(d, IDOK); }, RebootChoice::StoreOnly},
        {"restart, then OK",
         [](HWND d) {
             SendDlgItemMessageW(d, IDC_FRMREBOOT_RESTART, BM_CLICK, 0, 0);
             Click(d, IDOK);
         },
         RebootChoice::RestartNow},
        {"restart, back to storing, OK",
         [](HWND d) {
             SendDlgItemMessageW(d, IDC_FRMREBOOT_RESTART, BM_CLICK, 0, 0);
             SendDlgItemMessageW(d, IDC_FRMREBOOT_STOREONLY, BM_CLICK, 0, 0);
             Click(d, IDOK);
         },
         RebootChoice::StoreOnly},
        {"restart, then Cancel",
         [](HWND d) {
             SendDlgItemMessageW(d, IDC_FRMREBOOT_RESTART, BM_CLICK, 0, 0);
             Click(d, IDCANCEL);
         },
         RebootChoice::Cancel},
        {"the close box", [](HWND d) { SendMessageW(d, WM_SYSCOMMAND, SC_CLOSE, 0); }, RebootChoice::Cancel},
    };
    for (const auto& c : cases) EXPECT_EQ(Answer(c.act), c.choice) << c.name;
}
