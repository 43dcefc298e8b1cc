#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/menu_main.h"
#include "platform/platform.h"
#include "platform/shortcuts.h"

// Files dropped from the shell onto the bar: registered as new entries, or,
// with target drop on, opened with the entry they were dropped on.
namespace tavi {

// The path as one argument of a command line: quoted when it holds a blank
// or any character a command interpreter treats specially, so a file name
// can never end the argument or start a second command.
std::string QuoteDroppedPath(std::string_view path);
// What the entry's program is given for a dropped file: its own trimmed
// parameters, a space and the quoted path, or the quoted path alone.
std::string TargetDropParameters(std::string_view command, std::string_view file);

struct DropContext {
    MenuMain& state;
    Platform& platform;
    Shortcuts& shortcuts;
};

struct DropOutcome {
    std::vector<int> registered;  // entry indices, in the order of the files
    int opened = 0;               // files handed to the entry under the pointer
    bool limitReached = false;    // files were left over at the entry limit
};

// The files of one drop at a button position (nothing: no button there, and
// nothing happens). Each file decides on its own: a free slot at the next
// position takes it (a shortcut as its target); the entry dropped on opens
// it when target drop is on and it is no group; otherwise the first free
// slot of the list takes it as it is. "Launch.ini" is saved once at the end.
DropOutcome DropFiles(const DropContext& context, std::optional<int> position, const std::vector<std::string>& files);

}  // namespace tavi
