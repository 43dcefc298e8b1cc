#pragma once
#include "dialogs/reboot_dialog.h"

namespace tavi {

// Shows RebootDialog modally over `owner`; Cancel when it could not be shown.
RebootChoice ShowRebootDialog(NativeWindow owner);

class Win32RebootPrompt final : public RebootPrompt {
public:
    RebootChoice Ask(NativeWindow owner) override { return ShowRebootDialog(owner); }
};

}  // namespace tavi
