#include "dialogs/reboot_dialog.h"

namespace tavi {

RebootDialogView RebootDialogLoad() { return RebootDialogView{false}; }

RebootChoice RebootDialogOk(const RebootDialogView& view) {
    return view.optRestart ? RebootChoice::RestartNow : RebootChoice::StoreOnly;
}

RebootChoice RebootDialogCancel() { return RebootChoice::Cancel; }

}  // namespace tavi
