#pragma once
#include "dialogs/frm_reboot.h"

namespace tavi {

// Shows frmReboot modally over `owner`; Cancel when it could not be shown.
RebootChoice ShowFrmReboot(NativeWindow owner);

class Win32RebootPrompt final : public RebootPrompt {
public:
    RebootChoice Ask(NativeWindow owner) override { return ShowFrmReboot(owner); }
};

}  // namespace tavi
