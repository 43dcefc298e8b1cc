#pragma once
#include <cstdint>

#include "menus/reboot_prompt.h"

// The restart question `RebootDialog` ("互換性の警告"), asked when a display
// mode works only after the computer restarts.
namespace tavi {

// The dialog's option buttons: optReboot(0) restarts, optReboot(1) only stores.
struct RebootDialogView {
    bool optRestart = false;
};

// The options as the dialog opens: storing without a restart is selected, so
// a hasty Enter never restarts the computer and loses other programs' work.
RebootDialogView RebootDialogLoad();
// cmdOk: 1 when the restart option is selected, otherwise 2.
RebootChoice RebootDialogOk(const RebootDialogView& view);
// cmdCancel, Escape and the close box.
RebootChoice RebootDialogCancel();

}  // namespace tavi
