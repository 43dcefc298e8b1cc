#include "dialogs/frm_reboot.h"

namespace tavi {

FrmRebootView FrmRebootLoad() { return FrmRebootView{false}; }

RebootChoice FrmRebootOk(const FrmRebootView& view) {
    return view.optRestart ? RebootChoice::RestartNow : RebootChoice::StoreOnly;
}

RebootChoice FrmRebootCancel() { return RebootChoice::Cancel; }

}  // namespace tavi
