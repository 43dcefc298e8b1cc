#pragma once
#include <windows.h>

#include "platform/system_restart.h"

namespace tavi {

// Enables the shutdown privilege in this process's token; true when the
// token holds it and it is now enabled.
bool EnableShutdownPrivilege();

// A restart that lets running programs ask to save: EWX_FORCEIFHUNG ends
// only programs that do not answer.
class Win32SystemRestart final : public SystemRestart {
public:
    bool Restart() override;
};

}  // namespace tavi
