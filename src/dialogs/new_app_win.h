#pragma once
#include "app/bar_services.h"
#include "app/menu_main.h"
#include "platform/file_chooser.h"
#include "platform/icon_files.h"
#include "platform/native_window.h"
#include "platform/platform.h"

namespace tavi {

// Shows the registration dialog modally over `owner` for entry
// CurrentEntryIndex (a new entry when it lies past the list). On OK the entry
// is stored, "Launch.ini" saved and the bar brought up to date; returns true
// then. Pausing the bar's timer around it is the caller's part.
bool ShowNewApp(NativeWindow owner, MenuMain& state, Platform& platform, BarServices& bar, FileChooser& chooser,
                IconFiles& icons);

}  // namespace tavi
