#pragma once
#include "menus/run_time_lists.h"
#include "platform/desktop_parameters.h"
#include "platform/profile.h"
#include "platform/shell.h"
#include "platform/system_info.h"

// What a click on a desktop item or a screen saver does.
namespace tavi {

// mnuPopupScreenSaverCount: writes item `index`'s short path to system.ini
// [boot] SCRNSAVE.EXE ("(なし)" deletes the key), switches the screen saver
// on and moves the check mark. Nothing happens without a Windows folder.
void SelectScreenSaver(RunTimeList& list, int index, SystemInfo& system, Profile& profile, DesktopParameters& desktop);

// The folder an item starts in: the text left of its last "\", empty without one.
std::string DeskTopItemFolder(const std::string& path);

// mnuDeskTopCount / mnuPopupDeskTopCount: opens item `index` itself (a
// shortcut through its own file) in the folder that holds it.
void OpenDeskTopItem(const RunTimeList& list, int index, Shell& shell);

}  // namespace tavi
