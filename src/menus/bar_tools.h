#pragma once
#include "menus/reboot_prompt.h"
#include "menus/media_tools.h"
#include "platform/desktop_parameters.h"
#include "platform/disk_format.h"
#include "platform/display_modes.h"
#include "platform/drive_space.h"
#include "platform/file_details.h"
#include "platform/memory_status.h"
#include "platform/picture_fetches.h"
#include "platform/registry.h"
#include "platform/file_chooser.h"
#include "platform/folder_listing.h"
#include "platform/icon_files.h"
#include "platform/sound.h"
#include "platform/system_commands.h"
#include "platform/system_restart.h"
#include "search/use_counts.h"

namespace tavi {

// The ports and tools the bar's menus and windows use beyond the Platform
// bundle; the program owns them for its whole run.
struct BarTools {
    FileChooser& files;
    IconFiles& icons;
    SystemCommands& system;
    FolderListing& folders;
    MediaTools& media;
    DesktopParameters& desktop;
    DisplayModes& display;
    SystemRestart& restart;
    RebootPrompt& rebootPrompt;
    Sound& sound;
    DriveSpaces& driveSpaces;
    DiskFormatter& formatter;
    FileDetails& fileDetails;
    Registry& registry;
    MemoryStatus& memory;
    SystemResources& resources;
    UseCounts& uses;
    PictureFetches& pictures;
};

}  // namespace tavi
