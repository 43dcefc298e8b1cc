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

// The run type of a folder that opens as a menu of its contents.
inline constexpr std::string_view kRunTypeMenu = "3";
// Whether an entry or member with this path and run type opens as a folder
// menu rather than starting: run type 3 on anything but a group. What it
// names is listed as a folder; a path that is none shows "(開けません)".
bool OpensAsMenu(std::string_view path, std::string_view runType);

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
