#pragma once
#include <cstdint>

#include "platform/native_window.h"

// The restart question `frmReboot` ("互換性の警告"), asked when a display
// mode works only after the computer restarts.
namespace tavi {

// RebootChoice: what the user answered.
enum class RebootChoice : int16_t {
    Cancel = 0,      // nothing is changed
    RestartNow = 1,  // store the mode and restart the computer
    StoreOnly = 2,   // store the mode for the next start, no restart
};

// The dialog's option buttons: optReboot(0) restarts, optReboot(1) only stores.
struct FrmRebootView {
    bool optRestart = false;
};

// The options as the dialog opens: storing without a restart is selected, so
// a hasty Enter never restarts the computer and loses other programs' work.
FrmRebootView FrmRebootLoad();
// cmdOk: 1 when the restart option is selected, otherwise 2.
RebootChoice FrmRebootOk(const FrmRebootView& view);
// cmdCancel, Escape and the close box.
RebootChoice FrmRebootCancel();

// Shows frmReboot; implemented by its Win32 view and by fakes.
class RebootPrompt {
public:
    virtual ~RebootPrompt() = default;
    virtual RebootChoice Ask(NativeWindow owner) = 0;
};

}  // namespace tavi
