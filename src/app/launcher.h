#pragma once
#include <functional>
#include <string>
#include <string_view>

#include "app/ex_menu_store.h"
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

// How a start ended: true when the shell started it.
using StartOver = std::function<void(bool started)>;

// Opens what an entry names with the shell's "open" verb, in its own folder,
// away from the UI thread where the shell allows: a file on a drive that does
// not answer never holds the bar. On an error the shell reports, offers to
// delete the entry and calls `deleteEntry` on Yes; without `deleteEntry`
// there is nothing to delete and the failure is only reported. `over` is
// told once the shell is done and any failure was answered. Both may run
// after this returns, when other events have run: they check that what they
// act on is still there as it was.
void StartEntry(Platform& platform, const StartRequest& request, std::function<void()> deleteEntry,
                StartOver over = {});

struct MenuMain;

// Starts bar entry `index`; a Yes to the deletion offer empties its title,
// path, parameters and run type and rewrites the list, if the entry is still
// as it was.
void StartBarEntry(MenuMain& state, Platform& platform, int index, StartOver over = {});
// Starts `member`, in `slot` of the group at entry `index`; a Yes to the
// deletion offer empties that slot and rewrites the group, if the member is
// still stored there as it was.
void StartGroupMember(MenuMain& state, Platform& platform, int index, int slot, const ExMenuEntry& member,
                      StartOver over = {});

}  // namespace tavi
