#pragma once
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/bar_services.h"
#include "app/menu_main.h"
#include "dialogs/icon_change.h"
#include "platform/file_chooser.h"
#include "platform/icon_files.h"
#include "platform/platform.h"

// The registration dialog `NewApp`: registers a new bar entry at an index
// or edits the one there. Nothing reaches the entry before
// OK; Cancel simply closes the dialog.
namespace tavi {

// The kind options, in their order on the dialog.
enum class EntryKind { File = 0, Folder = 1, Group = 2 };

struct NewAppView {
    EntryKind kind = EntryKind::File;
    std::string path;     // Text1: a file or folder path, or a group's name without brackets
    std::string title;    // Text2
    std::string command;  // Text3: the command line
    int runSizeIndex = 0;  // Combo1: 0 normal, 1 minimised, 2 maximised, 3 as a menu (folders), -1 none
    IconChoice icon;       // the entry's icon as it will be stored
    bool browseEnabled = true;
    bool okEnabled = false;
};

// What the 32 x 32 preview shows.
struct IconPreview {
    // Coming: the file's icons are still being counted; a generic picture meanwhile.
    enum class Kind { None, Extract, Folder, Coming };
    Kind kind = Kind::None;
    std::string file;  // Extract, Coming: the file and the icon number in it
    int index = 0;
    bool operator==(const IconPreview&) const = default;
};

// Shows the icon picker and returns its choice, or nothing when it was cancelled.
using IconPicker = std::function<std::optional<IconChoice>(const IconChangeInput&)>;

// The run-size list's item "ﾒﾆｭｰで表示" (run type 3), which only folders have.
inline constexpr int kRunSizeMenuIndex = 3;
// The run-size list's items: 通常のｳｨﾝﾄﾞｳ, 最小化, 最大化, and for a folder
// (`folder`) ﾒﾆｭｰで表示 as well.
std::vector<std::string_view> RunSizeItems(bool folder);
// The run-size list index of a stored run type: 0 for a blank one, -1 (no
// selection) for a number the list does not have; 3 only in a folder's list.
int RunSizeIndexOf(const std::string& runType, bool folder = false);
// A chosen document is registered as the program that opens it, with the
// document as its command line; programs and files without an association
// stay as they are.
void ResolveDocument(std::string& path, std::string& command, Shell& shell);
// The same for an association that came after the dialog went on without it:
// applied only while the path is still the document it was asked for and no
// command has been typed. True when the path became the program.
bool ResolveLateDocument(std::string& path, std::string& command, const std::string& document,
                         const Shell::Association& association);

NewAppView NewAppLoad(const MenuMain& state, int index);
// A kind other than a folder has no "ﾒﾆｭｰで表示": chosen, it becomes 通常のｳｨﾝﾄﾞｳ.
void NewAppKindChanged(NewAppView& view, EntryKind kind);
void NewAppPathChanged(NewAppView& view, std::string_view path);
// Browses for a file or folder by kind; a chosen document becomes its program
// with the document as command line. False when nothing was chosen.
bool NewAppBrowse(NewAppView& view, Platform& platform, FileChooser& chooser, NativeWindow owner,
                  const std::string& applicationPath);
// Opens the picker when there is a path; true when it returned a choice.
bool NewAppChangeIcon(NewAppView& view, const IconPicker& pick);
// The preview of what the entry will show once stored.
IconPreview NewAppPreview(const NewAppView& view, const IconCounts& counts);
IconPreview NewAppPreview(const NewAppView& view, IconFiles& icons);
// Stores the dialog into entry `index` in one change of the list. A folder
// shown as a menu is stored with its closing "\", which marks it a folder
// when it is edited again. False when there was no path to store or the
// change was refused.
bool NewAppOk(const NewAppView& view, MenuMain& state, int index);

}  // namespace tavi
