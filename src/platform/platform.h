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

}  // namespace tavi
