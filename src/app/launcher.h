#pragma once
#include <functional>
#include <string>
#include <string_view>

#include "platform/platform.h"

namespace tavi {

struct StartRequest {
    std::string path;
    std::string parameters;
    std::string runType;  // "0" normal, "1" minimised, "2" maximised
};

// The system's own programs by their full paths, so that a program of the
// same name in the current folder or the program's own never runs instead.
std::string ExplorerPath(SystemInfo& system);
std::string SystemProgramPath(SystemInfo& system, std::string_view fileName);

// The window state the shell is asked for; any other run type opens normally.
ShowCommand ShowCommandForRunType(const std::string& runType);

// Opens what an entry names with the shell's "open" verb, in its own folder.
// On an error the shell reports, offers to delete the entry and calls
// `deleteEntry` on Yes; without `deleteEntry` there is nothing to delete and
// the failure is only reported. Returns true when the shell started it.
bool StartEntry(Platform& platform, const StartRequest& request, const std::function<void()>& deleteEntry);

struct MenuMain;

// Starts bar entry `index`; a Yes to the deletion offer empties its title,
// path, parameters and run type and rewrites the list.
bool StartBarEntry(MenuMain& state, Platform& platform, int index);

}  // namespace tavi
