#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/menu_main.h"
#include "menus/run_time_lists.h"

namespace tavi {

// Command ids of the fixed items, one per item of each tree. The values are
// stable: views and tests may keep them.
enum class MenuCommand : uint32_t {
    None = 0,
    // mnuAppMenu
    mnuAppNewIn = 1,
    mnuAppin = 2,
    mnuAppDel = 3,
    mnuAppMove = 4,
    mnuAppOneTimeDelete = 5,
    mnuAppOneTimeCopy = 6,
    mnuFolder = 7,
    mnuAppProperty = 8,
    mnuAppOption = 9,
    mnuAppReDraw = 10,
    mnuAppSearch = 11,
    mnuHelp = 12,
    mnuAppControlPanel = 13,
    mnuAppPrint = 14,
    mnuAppWizard = 15,
    mnuNetWork = 16,
    mnuNetWorkClose = 17,
    mnuFormat = 18,
    mnuMediaOut = 19,
    mnuMediaClose = 20,
    mnuMOEject = 21,
    mnuShutDown = 22,
    mnuExit = 23,
    mnuAppUndo = 24,
    mnuAppRedo = 25,
    // at the top of a running entry's mnuAppMenu
    mnuAppBringForward = 26,
    mnuAppStartAnother = 27,
    mnuAppCloseWindows = 28,
    // mnuPopUpMenu
    mnuPopupOption = 101,
    mnuPopupSearch = 102,
    mnuPopUpHelp = 103,
    mnuPopupFolder = 104,
    mnuPopupMemorySpace = 105,
    mnuPopupControlPanel = 106,
    mnuPopupPrint = 107,
    mnuPopupAppWizard = 108,
    mnuPopupNetWork = 109,
    mnuPopupNetWorkClose = 110,
    mnuPopupFormat = 111,
    mnuPopupMediaOut = 112,
    mnuPopupMediaClose = 113,
    mnuPopUpMOEject = 114,
    mnuPopupShutDown = 115,
    mnuPopupExit = 116,
    mnuPopupBackup = 117,
    mnuPopupImport = 118,
    mnuPopupEntrySearch = 119,
};

// Items of the run-time lists carry ids kListIdBase + list * kListIdSpan +
// item index, so an id names its list and item. A list shows at most
// kListIdSpan items; every id stays below 0x8000.
inline constexpr uint32_t kListIdBase = 0x1000;
inline constexpr uint32_t kListIdSpan = 0x1000;

uint32_t ListItemId(ListKind list, int index);

struct ListItemRef {
    ListKind list;
    int index;
};
// The list item an id names, when it names one.
std::optional<ListItemRef> ListItemOf(uint32_t id);

// One item of a popup menu, resolved for showing: the view turns each into
// one native menu item as it is.
struct MenuItem {
    std::string_view name;     // the item's name ("mnuAppNewIn"); list items carry their array's name
    std::string caption;       // with its "&" access key
    std::string shortcut;      // shown right-aligned ("Ctrl+N", "F5"), or empty
    uint32_t id = 0;           // 0 for separators and submenus
    bool enabled = true;
    bool checked = false;
    bool separator = false;
    std::vector<MenuItem> children;  // a submenu when not empty

    bool IsSubmenu() const { return !children.empty(); }
};

struct MenuModel {
    std::string caption;
    std::vector<MenuItem> items;
};

// What the item states depend on.
struct MenuInputs {
    const MenuMain& state;  // the entries, RemovableDrives
    const RunTimeLists& lists;
    int entryIndex = 0;  // the entry the entry menu is for
    bool cutPending = false;
    bool searchAvailable = false;  // "TaviSearch.exe" is in the program folder
    bool busy = false;             // a command is running: every item disabled
    bool running = false;          // a window of the entry's program is up
};

// `mnuAppMenu` for the entry at `entryIndex`; a running one's begins with
// bringing it forward, starting another copy and closing its windows.
MenuModel BuildEntryMenu(const MenuInputs& inputs);
// `mnuPopUpMenu`.
MenuModel BuildTrayMenu(const MenuInputs& inputs);

// The fixed item an id names, when it names one of either tree.
std::optional<MenuCommand> CommandOf(uint32_t id);
// Whether a fixed item is enabled under these inputs (busy aside).
bool IsCommandEnabled(MenuCommand command, const MenuInputs& inputs);
// A slot that holds an entry: within the list and with a program path.
bool IsRegisteredSlot(const MenuMain& state, int index);

}  // namespace tavi
