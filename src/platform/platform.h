#pragma once
#include "platform/code_page.h"
#include "platform/file_system.h"
#include "platform/message_box.h"
#include "platform/profile.h"
#include "platform/shell.h"
#include "platform/system_info.h"

namespace tavi {

// The ports handed to the core: real adapters in the program, host adapters
// and fakes in tests.
struct Platform {
    Profile& profile;
    FileSystem& files;
    CodePage& codePage;
    SystemInfo& system;
    Shell& shell;
    MessageBoxes& messages;
};

// The same ports with another shell in front of the platform's own.
inline Platform WithShell(const Platform& platform, Shell& shell) {
    return {platform.profile, platform.files, platform.codePage, platform.system, shell, platform.messages};
}

}  // namespace tavi
