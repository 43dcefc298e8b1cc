#pragma once
#include <string>
#include <vector>

#include "app/bar_services.h"
#include "app/menu_main.h"
#include "platform/drive_space.h"
#include "platform/file_chooser.h"
#include "platform/native_window.h"
#include "platform/platform.h"
#include "platform/registry.h"
#include "platform/program_identity.h"
#include "platform/sound.h"
#include "search/use_counts.h"
#include "tools/option_set.h"

namespace tavi {

// Shows the options dialog modally over `owner`. On OK the settings take the
// dialog, the bar is laid out again at once (which writes "TaviLaunch.ini")
// and shown if it was hidden, and the program is registered to start with
// Windows or no longer as the box says; Cancel changes nothing. Returns 0 when the
// dialog was shown, else the system's error number for why it could not be
// loaded (the tray command tries again then). Pausing the bar's timer around
// it is the caller's part. Its button 使用回数をｸﾘｱ clears `uses` at once
// (greyed without them, or when their file could not be read). The version page links to `links`, the addresses
// this build was given unless a test gives others.
int ShowOptionSet(NativeWindow owner, MenuMain& state, Platform& platform, BarServices& bar, FileChooser& chooser,
                  Sound& sound, DriveSpaces& drives, Registry& registry,
                  std::vector<std::string> links = ContactLinks(kHomeUrl, kSupportMail), UseCounts* uses = nullptr);

}  // namespace tavi
