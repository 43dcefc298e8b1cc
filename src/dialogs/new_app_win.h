#pragma once
#include "app/menu_main.h"
#include "platform/file_chooser.h"
#include "platform/icon_files.h"
#include "platform/native_window.h"
#include "platform/platform.h"

namespace tavi {

// Shows the registration dialog modally over `owner` for entry `index` (a
// new entry when it lies past the list). On OK the entry is stored in one
// change of the list; returns true then. Pausing the bar's timer around it
// is the caller's part.
bool ShowNewApp(NativeWindow owner, MenuMain& state, Platform& platform, FileChooser& chooser, IconFiles& icons,
                int index);

}  // namespace tavi
