#pragma once
#include <optional>
#include <string>
#include <vector>

#include "app/menu_main.h"
#include "app/ex_menu_store.h"
#include "menus/import_plan.h"
#include "platform/folder_listing.h"
#include "platform/platform.h"
#include "platform/shortcuts.h"

// The tray menu's import of shortcuts: a folder's shortcuts become entries
// of their own or the members of one new group, in one save and one undo step.
namespace tavi {

// The folders offered first, in order, under the user's roaming application
// data folder; nothing when that folder is unknown.
std::vector<std::string> OfferedImportFolders(const std::string& appData);

// Shows the folder choice; implemented by its Win32 view and by fakes.
class ImportFolderPrompt {
public:
    virtual ~ImportFolderPrompt() = default;
    // The chosen folder, nothing when the user cancelled.
    virtual std::optional<std::string> Choose(const std::vector<std::string>& offered) = 0;
};

// Whether a shortcut's working folder is other than the folder its target
// starts in. An entry starts in its program's folder and has no place for
// another, so such a shortcut is registered as itself.
bool ShortcutStartsElsewhere(const std::string& path, const std::string& workingDirectory);

// The ".lnk" files among `names` (a folder's listing), ordered by name
// without case so that entries come in the same order on every system.
std::vector<std::string> ShortcutFileNames(const std::vector<std::string>& names);

// The entry a shortcut makes: its file name without ".lnk" as the title, its
// target, arguments and run type, its own icon or else the target's. A file
// that could not be read, or that names no file, gives an entry without a
// path, which the import counts as unusable. An entry starts in its
// program's folder, and a list record has no place for another, so a
// shortcut whose working folder is elsewhere is registered itself: the shell
// then starts it in its own folder.
LaunchEntry EntryFromShortcut(const std::string& folder, const std::string& fileName, bool read,
                              const ShortcutTarget& target);

// The group of an import: its name is the folder's, made unique among the
// groups on the bar, so that a second import of one folder makes a group of
// its own. Members are not checked against the bar's entries (a group is
// another place to reach a program from), only against each other.
// Over the limit are the members past the group's slots, or all of them when
// no slot is left for the group.
struct GroupImportPlan : ImportSkips {
    LaunchEntry group;
    int slot = -1;  // -1: no free slot below the limit
    ExMenuSlots members;

    int Placed() const { return slot < 0 ? 0 : static_cast<int>(members.size()); }
};
GroupImportPlan PlanGroupImport(const EntryStore& store, const std::string& folder,
                                const std::vector<LaunchEntry>& shortcuts, int memberSlots, int limit = kEntryLimit);

struct ShortcutImportOutcome : ImportSkips {
    bool ran = false;  // a folder with shortcuts was chosen
    bool asGroup = false;
    int imported = 0;
    bool notSaved = false;  // the change could not be saved or was refused: nothing changed
};

// The count shown once at the end of an import.
std::string ImportCountMessage(const ShortcutImportOutcome& outcome);

struct ShortcutImportContext {
    MenuMain& state;
    Platform& platform;
    FolderListing& folders;
    Shortcuts& shortcuts;
    ImportFolderPrompt& prompt;
    std::string appData;  // the user's roaming application data folder
};

// The whole command: folder, then the question entries or group, then the
// shortcuts read, placed, saved once and counted.
ShortcutImportOutcome ImportShortcuts(const ShortcutImportContext& context);

}  // namespace tavi
