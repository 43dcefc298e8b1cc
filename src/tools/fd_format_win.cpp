#include "tools/fd_format_win.h"

#include <windows.h>
#include <dbt.h>

#include <string_view>
#include <utility>

#include "platform/messages.h"
#include "dialogs/dialog_win.h"
#include "platform/wide_win.h"
#include "tools/fd_format.h"
#include "tools/fd_format_ids.h"

namespace tavi {
namespace {

class FDFormat final : public Dialog {
public:
    FDFormat(SystemInfo& system, DiskFormatter& formatter) : system_(system), formatter_(formatter) {}

protected:
    bool OnInit() override {
        SetTexts(text::kFDFormatCaption,
                 {
                     {IDC_FDFORMAT_DRIVE_LABEL, text::kFDFormatDriveLabel},
                     {IDOK, text::kFDFormatOk},
                     {IDCANCEL, text::kFDFormatCancel},
                 });

        Show(FDFormatLoad(system_));
        return true;
    }

    INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM) override {
        if (message != WM_DEVICECHANGE) return FALSE;
        // A drive taken away while the dialog is open leaves no line behind to format.
        if (wParam == DBT_DEVICEARRIVAL || wParam == DBT_DEVICEREMOVECOMPLETE) OnDrivesChanged();
        return TRUE;
    }

    void OnCommand(int id, int) override {
        switch (id) {
            case IDOK: {
                if (!view_.okEnabled) return;  // Enter on a dialog without drives
                const auto selected = static_cast<int>(SendMessageW(Item(IDC_FDFORMAT_DRIVE), CB_GETCURSEL, 0, 0));
                if (!FDFormatDrivePresent(system_, view_, selected)) {
                    OnDrivesChanged();  // the drive went unnoticed: show what is there, format nothing
                    return;
                }
                FDFormatOk(view_, selected, formatter_, reinterpret_cast<NativeWindow>(Handle()));
                return;
            }
            case IDCANCEL:
                EndDialog(Handle(), IDCANCEL);
                return;
            default:
                return;
        }
    }

private:
    void OnDrivesChanged() {
        const auto selected = static_cast<int>(SendMessageW(Item(IDC_FDFORMAT_DRIVE), CB_GETCURSEL, 0, 0));
        Show(FDFormatReload(system_, view_, selected));
    }

    void Show(FDFormatView view) {
        view_ = std::move(view);
        HWND list = Item(IDC_FDFORMAT_DRIVE);
        SendMessageW(list, CB_RESETCONTENT, 0, 0);
        for (const FormatDrive& drive : view_.drives)
            SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(drive.caption).c_str()));
        SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(view_.selected), 0);
        EnableItem(IDC_FDFORMAT_DRIVE, view_.listEnabled);
        EnableItem(IDOK, view_.okEnabled);
        SendMessageW(Handle(), DM_SETDEFID, view_.okEnabled ? IDOK : IDCANCEL, 0);
    }

    SystemInfo& system_;
    DiskFormatter& formatter_;
    FDFormatView view_;
};

}  // namespace

void ShowFDFormat(NativeWindow owner, SystemInfo& system, DiskFormatter& formatter) {
    FDFormat dialog(system, formatter);
    dialog.Run(reinterpret_cast<HWND>(owner), IDD_FD_FORMAT);
}

}  // namespace tavi
