#pragma once
#include <functional>
#include <string>

#include "platform/platform.h"

namespace tavi {

struct StartRequest {
    std::string path;
    std::string parameters;
    std::string runType;  // "0" normal, "1" minimised, "2" maximised
};

// The window state the shell is asked for; any other run type opens normally.
ShowCommand ShowCommandForRunType(const std::string& runType);

// Opens what an entry names with the shell's "open" verb, in its own folder.
// On an error the shell reports, offers to delete the entry and calls
// `deleteEntry` on Yes; without `deleteEntry` there is nothing to delete and
// the failure is only reported. Returns true when the shell started it.
bool StartEntry(Platform& platform, const StartRequest& request, const std::function<void()>& deleteEntry);

struct MenuMain;
class EntryButtons;

// Starts bar entry CurrentEntryIndex; a Yes to the deletion offer empties its
// title, path, parameters and run type and rewrites the list.
bool StartBarEntry(MenuMain& state, Platform& platform, EntryButtons& buttons);

}  // namespace tavi
