#include "dialogs/reboot_dialog_win.h"

#include <windows.h>

#include <utility>

#include "platform/messages.h"
#include "dialogs/dialog_win.h"
#include "dialogs/reboot_dialog_ids.h"
#include "platform/wide_win.h"

namespace tavi {
namespace {

class RebootDialog final : public Dialog {
public:
    RebootChoice Choice() const { return choice_; }

protected:
    bool OnInit() override {
        SetTexts(text::kFrmRebootCaption,
                 {
                     {IDC_FRMREBOOT_WARNING, text::kFrmRebootWarning},
                     {IDC_FRMREBOOT_CHOOSE, text::kFrmRebootChoose},
                     {IDC_FRMREBOOT_RESTART, text::kFrmRebootRestart},
                     {IDC_FRMREBOOT_STOREONLY, text::kFrmRebootStoreOnly},
                     {IDOK, text::kEntryDialogOk},
                     {IDCANCEL, text::kEntryDialogCancel},
                 });
        // A shared system icon: it is not destroyed.
        SendMessageW(Item(IDC_FRMREBOOT_ICON), STM_SETICON, reinterpret_cast<WPARAM>(LoadIconW(nullptr, IDI_WARNING)),
                     0);
        const RebootDialogView view = RebootDialogLoad();
        CheckRadioButton(Handle(), IDC_FRMREBOOT_RESTART, IDC_FRMREBOOT_STOREONLY,
                         view.optRestart ? IDC_FRMREBOOT_RESTART : IDC_FRMREBOOT_STOREONLY);
        // On OK rather than on the first option button, which would select it.
        SetFocus(Item(IDOK));
        return false;
    }

    void OnCommand(int id, int) override {
        if (id == IDOK) {
            choice_ = RebootDialogOk({IsDlgButtonChecked(Handle(), IDC_FRMREBOOT_RESTART) == BST_CHECKED});
            EndDialog(Handle(), IDOK);
        } else if (id == IDCANCEL) {
            choice_ = RebootDialogCancel();
            EndDialog(Handle(), IDCANCEL);
        }
    }

private:

    RebootChoice choice_ = RebootChoice::Cancel;
};

}  // namespace

RebootChoice ShowRebootDialog(NativeWindow owner) {
    RebootDialog dialog;
    if (dialog.Run(reinterpret_cast<HWND>(owner), IDD_FRM_REBOOT) == -1) return RebootChoice::Cancel;
    return dialog.Choice();
}

}  // namespace tavi
