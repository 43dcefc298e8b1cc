#include <windows.h>
#include <dbt.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dialog_driver_win.h"
#include "tools/fd_format_ids.h"
#include "tools/fd_format_win.h"

using namespace tavi;
using namespace dialog_driver;

namespace {

const std::wstring kCaption = L"ﾃﾞｨｽｸﾌｫｰﾏｯﾄ";

// A machine with the drives the test names, whatever the prefix holds.
class ListedDrives final : public SystemInfo {
public:
    std::vector<std::pair<std::string, DriveType>> drives;
    std::string WindowsDirectory() override { return "C:\\windows"; }
    std::string SystemDirectory() override { return "C:\\windows\\system32"; }
    bool IsWindowsNT() override { return true; }
    std::vector<std::string> LogicalDriveRoots() override {
        std::vector<std::string> roots;
        for (const auto& drive : drives) roots.push_back(drive.first);
        return roots;
    }
    DriveType DriveTypeOf(const std::string& root) override {
        for (const auto& drive : drives)
            if (drive.first == root) return drive.second;
        return DriveType::NoRootDir;
    }
    std::vector<std::string> DriveDisplayNames(const std::vector<std::string>& roots) override {
        return std::vector<std::string>(roots.size());
    }
    std::string ComputerName() override { return {}; }
};

// Called on the dialog's thread while the driving thread waits in SendMessage.
class RecordingFormatter final : public DiskFormatter {
public:
    std::vector<std::pair<NativeWindow, int>> calls;
    uint32_t FormatDrive(NativeWindow owner, int drive) override {
        calls.emplace_back(owner, drive);
        return 0xFFFFFFFDu;
    }
};

std::vector<std::string> ComboLines(HWND dialog, int id) {
    std::vector<std::string> lines;
    const auto count = SendDlgItemMessageW(dialog, id, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        const auto length = SendDlgItemMessageW(dialog, id, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0);
        std::wstring line(static_cast<size_t>(length) + 1, L'\0');
        SendDlgItemMessageW(dialog, id, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(line.data()));
        line.resize(static_cast<size_t>(length));
        lines.push_back(Narrow(line));
    }
    return lines;
}

int Selection(HWND dialog) {
    return static_cast<int>(SendDlgItemMessageW(dialog, IDC_FDFORMAT_DRIVE, CB_GETCURSEL, 0, 0));
}

}  // namespace

TEST(FDFormatWin, ListsRemovableDrivesAndHandsTheChosenOneToTheShellOwnedByTheDialog) {
    ListedDrives system;
    system.drives = {{"A:\\", DriveType::Removable}, {"C:\\", DriveType::Fixed}, {"D:\\", DriveType::CdRom},
                     {"E:\\", DriveType::Removable}};
    RecordingFormatter formatter;
    struct Seen {
        std::string caption, label, ok, cancel;
        std::vector<std::string> lines;
        int selected = -2;
        bool listEnabled = false, okEnabled = false, openAfterOk = false;
        HWND dialog = nullptr;
    } seen;
    WhileShown shown(kCaption, [&](HWND dialog) {
        seen.dialog = dialog;
        seen.caption = Text(dialog);
        seen.label = ItemText(dialog, IDC_FDFORMAT_DRIVE_LABEL);
        seen.ok = ItemText(dialog, IDOK);
        seen.cancel = ItemText(dialog, IDCANCEL);
        seen.lines = ComboLines(dialog, IDC_FDFORMAT_DRIVE);
        seen.selected = Selection(dialog);
        seen.listEnabled = Enabled(dialog, IDC_FDFORMAT_DRIVE);
        seen.okEnabled = Enabled(dialog, IDOK);
        SendDlgItemMessageW(dialog, IDC_FDFORMAT_DRIVE, CB_SETCURSEL, 1, 0);
        Click(dialog, IDOK);
        seen.openAfterOk = IsWindowVisible(dialog) != FALSE;
        Click(dialog, IDCANCEL);
    });
    ShowFDFormat(0, system, formatter);
    ASSERT_TRUE(shown.Join());

    EXPECT_EQ(seen.caption, "ﾃﾞｨｽｸﾌｫｰﾏｯﾄ");
    EXPECT_EQ(seen.label, "ﾄﾞﾗｲﾌﾞ選択(&D)");
    EXPECT_EQ(seen.ok, "&OK");
    EXPECT_EQ(seen.cancel, "ｷｬﾝｾﾙ(&C)");
    EXPECT_EQ(seen.lines, (std::vector<std::string>{"(0)A:\\ ドライブ", "(4)E:\\ ドライブ"}));
    EXPECT_EQ(seen.selected, 0);
    EXPECT_TRUE(seen.listEnabled);
    EXPECT_TRUE(seen.okEnabled);
    EXPECT_TRUE(seen.openAfterOk) << "the dialog stays open after OK";
    ASSERT_EQ(formatter.calls.size(), 1u);
    EXPECT_EQ(formatter.calls[0].first, reinterpret_cast<NativeWindow>(seen.dialog));
    EXPECT_EQ(formatter.calls[0].second, 4);
}

TEST(FDFormatWin, WithoutRemovableDrivesTheListAndOkAreDisabled) {
    ListedDrives system;
    system.drives = {{"C:\\", DriveType::Fixed}, {"Z:\\", DriveType::Fixed}};
    RecordingFormatter formatter;
    struct Seen {
        std::vector<std::string> lines;
        int selected = -2;
        bool listEnabled = true, okEnabled = true;
    } seen;
    WhileShown shown(kCaption, [&](HWND dialog) {
        seen.lines = ComboLines(dialog, IDC_FDFORMAT_DRIVE);
        seen.selected = Selection(dialog);
        seen.listEnabled = Enabled(dialog, IDC_FDFORMAT_DRIVE);
        seen.okEnabled = Enabled(dialog, IDOK);
        Click(dialog, IDOK);  // as Enter would
        Click(dialog, IDCANCEL);
    });
    ShowFDFormat(0, system, formatter);
    ASSERT_TRUE(shown.Join());

    EXPECT_TRUE(seen.lines.empty());
    EXPECT_EQ(seen.selected, CB_ERR);
    EXPECT_FALSE(seen.listEnabled);
    EXPECT_FALSE(seen.okEnabled);
    EXPECT_TRUE(formatter.calls.empty());
}

// A drive pulled out with the dialog open: the system's notice makes the list
// follow, keeping the drive that was chosen; a drive that goes without a
// notice is found gone at OK and not formatted.
TEST(FDFormatWin, DrivesThatGoWhileTheDialogIsOpenLeaveTheListAndAreNeverFormatted) {
    ListedDrives system;
    system.drives = {{"A:\\", DriveType::Removable}, {"C:\\", DriveType::Fixed}, {"E:\\", DriveType::Removable},
                     {"F:\\", DriveType::Removable}};
    RecordingFormatter formatter;
    struct Seen {
        std::vector<std::string> afterNotice, afterOk;
        int selectedAfterNotice = -2, selectedAfterOk = -2;
        bool okEnabledAtEnd = true;
    } seen;
    WhileShown shown(kCaption, [&](HWND dialog) {
        SendDlgItemMessageW(dialog, IDC_FDFORMAT_DRIVE, CB_SETCURSEL, 2, 0);  // F:
        system.drives.erase(system.drives.begin());                            // A: pulled out
        DEV_BROADCAST_VOLUME volume{};
        volume.dbcv_size = sizeof volume;
        volume.dbcv_devicetype = DBT_DEVTYP_VOLUME;
        volume.dbcv_unitmask = 1u << 0;
        SendMessageW(dialog, WM_DEVICECHANGE, DBT_DEVICEREMOVECOMPLETE, reinterpret_cast<LPARAM>(&volume));
        seen.afterNotice = ComboLines(dialog, IDC_FDFORMAT_DRIVE);
        seen.selectedAfterNotice = Selection(dialog);

        system.drives.pop_back();  // F: goes too, and no notice comes
        Click(dialog, IDOK);
        seen.afterOk = ComboLines(dialog, IDC_FDFORMAT_DRIVE);
        seen.selectedAfterOk = Selection(dialog);

        system.drives.pop_back();  // and E:, with a notice: nothing is left
        SendMessageW(dialog, WM_DEVICECHANGE, DBT_DEVICEREMOVECOMPLETE, reinterpret_cast<LPARAM>(&volume));
        seen.okEnabledAtEnd = Enabled(dialog, IDOK);
        Click(dialog, IDOK);
        Click(dialog, IDCANCEL);
    });
    ShowFDFormat(0, system, formatter);
    ASSERT_TRUE(shown.Join());

    EXPECT_EQ(seen.afterNotice, (std::vector<std::string>{"(4)E:\\ ドライブ", "(5)F:\\ ドライブ"}));
    EXPECT_EQ(seen.selectedAfterNotice, 1) << "F: stays chosen";
    EXPECT_EQ(seen.afterOk, std::vector<std::string>{"(4)E:\\ ドライブ"});
    EXPECT_EQ(seen.selectedAfterOk, 0);
    EXPECT_FALSE(seen.okEnabledAtEnd);
    EXPECT_TRUE(formatter.calls.empty()) << "no drive that has gone is formatted";
}
