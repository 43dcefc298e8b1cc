// The two popup menus as data, and their resolution into items with states.
#include <iterator>
#include <optional>
#include <span>

#include "platform/messages.h"
#include "platform/text.h"
#include "menus/menu_model.h"

namespace tavi {
namespace {

using C = MenuCommand;

// One row of a tree. Depth gives the nesting; a row followed by deeper rows
// is a submenu; a row with a list stands for the list's items. Captions are
// kept as texts, read in the language of the run when a menu is built.
struct Row {
    int depth;
    std::string_view name;
    std::optional<UiText> caption;  // none for a separator
    C command = C::None;
    std::optional<ListKind> list = std::nullopt;
    std::optional<UiText> shortcut = std::nullopt;
};

constexpr std::optional<UiText> kSeparator = std::nullopt;
// A run-time list's item that stands for a separator.
constexpr std::string_view kListSeparator = "-";

const Row kAppMenu[] = {
    {0, "mnuAppNewIn", text::kMenuNewIn, C::mnuAppNewIn, {}, text::kShortcutNewIn},
    {0, "mnuAppin", text::kMenuEdit, C::mnuAppin},
    {0, "mnuAppDel", text::kMenuDelete, C::mnuAppDel},
    {0, "mnuAppMove", text::kMenuMove, C::mnuAppMove},
    {0, "mnuAppOneTimeDelete", text::kMenuCut, C::mnuAppOneTimeDelete},
    {0, "mnuAppOneTimeCopy", text::kMenuPaste, C::mnuAppOneTimeCopy},
    {0, "mnuAppUndo", text::kMenuUndo, C::mnuAppUndo, {}, text::kShortcutUndo},
    {0, "mnuAppRedo", text::kMenuRedo, C::mnuAppRedo, {}, text::kShortcutRedo},
    {0, "mnuFolder", text::kMenuFolder, C::mnuFolder},
    {0, "mnuAppProperty", text::kMenuProperty, C::mnuAppProperty},
    {0, "mnuAppSep3", kSeparator},
    {0, "mnuAppOption", text::kMenuOption, C::mnuAppOption},
    {0, "mnuAppReDraw", text::kMenuReDraw, C::mnuAppReDraw, {}, text::kShortcutReDraw},
    {0, "mnuAppSearch", text::kMenuSearch, C::mnuAppSearch},
    {0, "mnuHelp", text::kMenuHelp, C::mnuHelp},
    {0, "mnuAppSep2", kSeparator},
    {0, "mnuDeskTop", text::kMenuDeskTop},
    {1, "mnuDeskTopCount", {}, C::None, ListKind::DeskTop},
    {0, "mnuDrive", text::kMenuDrive},
    {1, "mnuDriveCount", {}, C::None, ListKind::Drives},
    {0, "mnuAppSet", text::kMenuSettings},
    {1, "mnuAppDisplay", text::kMenuDisplay},
    {2, "mnuAppDisplayCount", {}, C::None, ListKind::DisplayModes},
    {1, "mnuAppControlPanel", text::kMenuControlPanel, C::mnuAppControlPanel},
    {1, "mnuAppPrint", text::kMenuPrint, C::mnuAppPrint},
    {1, "mnuAppWizard", text::kMenuWizard, C::mnuAppWizard},
    {1, "mnuNetWork", text::kMenuNetWork, C::mnuNetWork},
    {1, "mnuNetWorkClose", text::kMenuNetWorkClose, C::mnuNetWorkClose},
    {0, "mnuFormat", text::kMenuFormat, C::mnuFormat},
    {0, "mnuMediaOpenClose", text::kMenuMediaOpenClose},
    {1, "mnuMediaOut", text::kMenuMediaOut, C::mnuMediaOut},
    {1, "mnuMediaClose", text::kMenuMediaClose, C::mnuMediaClose},
    {0, "mnuMOEject", text::kMenuMOEject, C::mnuMOEject},
    {0, "mnuAppSep4", kSeparator},
    {0, "mnuShutDown", text::kMenuShutDown, C::mnuShutDown},
    {0, "mnuExit", text::kMenuExit, C::mnuExit},
};

const Row kRunningRows[] = {
    {0, "mnuAppBringForward", text::kMenuBringForward, C::mnuAppBringForward},
    {0, "mnuAppStartAnother", text::kMenuStartAnother, C::mnuAppStartAnother},
    {0, "mnuAppCloseWindows", text::kMenuCloseWindows, C::mnuAppCloseWindows},
    {0, "mnuAppSepRunning", kSeparator},
};

const Row kPopUpMenu[] = {
    {0, "mnuPopupOption", text::kMenuOption, C::mnuPopupOption},
    {0, "mnuPopupEntrySearch", text::kMenuEntrySearch, C::mnuPopupEntrySearch},
    {0, "mnuPopupSearch", text::kMenuSearch, C::mnuPopupSearch},
    {0, "mnuPopUpHelp", text::kMenuHelp, C::mnuPopUpHelp},
    {0, "mnuPopupImport", text::kMenuImport, C::mnuPopupImport},
    {0, "mnuPopupBackup", text::kMenuBackup, C::mnuPopupBackup},
    {0, "mnuPopupSep2", kSeparator},
    {0, "mnuPopupFolder", text::kMenuFolder, C::mnuPopupFolder},
    {0, "mnuPopupDeskTop", text::kMenuDeskTop},
    {1, "mnuPopupDeskTopCount", {}, C::None, ListKind::DeskTop},
    {0, "mnuPopupDrive", text::kMenuDrive},
    {1, "mnuPopupDriveCount", {}, C::None, ListKind::Drives},
    {0, "mnuPopupScreenSaver", text::kMenuScreenSaver},
    {1, "mnuPopupScreenSaverCount", {}, C::None, ListKind::ScreenSavers},
    {0, "mnuPopupWallPaper", text::kMenuWallPaper},
    {1, "mnuPopupWallPaperCount", {}, C::None, ListKind::WallPapers},
    {0, "mnuPopupMemorySpace", text::kMenuMemorySpace, C::mnuPopupMemorySpace},
    {0, "mnuPopupAppSet", text::kMenuSettings},
    {1, "mnuPopupDisplay", text::kMenuDisplay},
    {2, "mnuPopUpDisplayCount", {}, C::None, ListKind::DisplayModes},
    {1, "mnuPopupControlPanel", text::kMenuControlPanel, C::mnuPopupControlPanel},
    {1, "mnuPopupPrint", text::kMenuPrint, C::mnuPopupPrint},
    {1, "mnuPopupAppWizard", text::kMenuWizard, C::mnuPopupAppWizard},
    {1, "mnuPopupNetWork", text::kMenuNetWork, C::mnuPopupNetWork},
    {1, "mnuPopupNetWorkClose", text::kMenuNetWorkClose, C::mnuPopupNetWorkClose},
    {0, "mnuPopupSep3", kSeparator},
    {0, "mnuPopupFormat", text::kMenuFormat, C::mnuPopupFormat},
    {0, "mnuPopupMediaOpenClose", text::kMenuMediaOpenClose},
    {1, "mnuPopupMediaOut", text::kMenuMediaOut, C::mnuPopupMediaOut},
    {1, "mnuPopupMediaClose", text::kMenuMediaClose, C::mnuPopupMediaClose},
    {0, "mnuPopUpMOEject", text::kMenuMOEject, C::mnuPopUpMOEject},
    {0, "mnuPopupSep1", kSeparator},
    {0, "mnuPopupShutDown", text::kMenuShutDown, C::mnuPopupShutDown},
    {0, "mnuPopupExit", text::kMenuExit, C::mnuPopupExit},
};

void AppendList(std::vector<MenuItem>& into, std::string_view name, ListKind kind, const RunTimeList& list) {
    const size_t shown = std::min<size_t>(list.items.size(), kListIdSpan);
    for (size_t i = 0; i < shown; ++i) {
        const ListItem& source = list.items[i];
        MenuItem item;
        item.name = name;
        if (source.caption == kListSeparator) {
            item.separator = true;
        } else {
            // Names of drives, desktop items, savers and wallpapers, shown as they are.
            item.caption = WithLiteralAmpersands(source.caption);
            item.id = ListItemId(kind, static_cast<int>(i));
            item.enabled = source.enabled;
            item.checked = source.checked;
        }
        into.push_back(std::move(item));
    }
}

void DisableAll(std::vector<MenuItem>& items) {
    for (MenuItem& item : items) {
        item.enabled = false;
        DisableAll(item.children);
    }
}

MenuModel Resolve(std::string_view caption, std::span<const Row> rows, const MenuInputs& inputs) {
    MenuModel model{std::string(caption), {}};
    // The item vectors of the open submenus, outermost first. A deeper vector
    // is popped before its parent grows, so the pointers stay valid.
    std::vector<std::vector<MenuItem>*> open{&model.items};
    for (size_t r = 0; r < rows.size(); ++r) {
        const Row& row = rows[r];
        open.resize(static_cast<size_t>(row.depth) + 1);
        std::vector<MenuItem>& into = *open.back();
        if (row.list) {
            AppendList(into, row.name, *row.list, inputs.lists.Of(*row.list));
            continue;
        }
        MenuItem item;
        item.name = row.name;
        if (!row.caption) {
            item.separator = true;
        } else {
            item.caption = std::string(*row.caption);
            if (row.shortcut) item.shortcut = std::string(*row.shortcut);
            item.id = static_cast<uint32_t>(row.command);
            item.enabled = row.command == C::None || IsCommandEnabled(row.command, inputs);
        }
        into.push_back(std::move(item));
        if (r + 1 < rows.size() && rows[r + 1].depth > row.depth) open.push_back(&into.back().children);
    }
    if (inputs.busy) DisableAll(model.items);
    return model;
}

bool HasRemovableDrive(const MenuMain& state) {
    return !state.RemovableDrives.empty() && !IsBlank(state.RemovableDrives[0]);
}

}  // namespace

uint32_t ListItemId(ListKind list, int index) {
    return kListIdBase + static_cast<uint32_t>(list) * kListIdSpan + static_cast<uint32_t>(index);
}

std::optional<ListItemRef> ListItemOf(uint32_t id) {
    if (id < kListIdBase || id >= kListIdBase + kListKinds * kListIdSpan) return std::nullopt;
    const uint32_t offset = id - kListIdBase;
    return ListItemRef{static_cast<ListKind>(offset / kListIdSpan), static_cast<int>(offset % kListIdSpan)};
}

std::optional<MenuCommand> CommandOf(uint32_t id) {
    for (const std::span<const Row> rows :
         {std::span<const Row>(kAppMenu), std::span<const Row>(kRunningRows), std::span<const Row>(kPopUpMenu)})
        for (const Row& row : rows)
            if (row.command != C::None && static_cast<uint32_t>(row.command) == id) return row.command;
    return std::nullopt;
}

bool IsRegisteredSlot(const MenuMain& state, int index) {
    return index <= state.entries.LastEntryIndex() && state.entries.Has(index) &&
           !state.entries.At(index).PathName.empty();
}

bool IsCommandEnabled(MenuCommand command, const MenuInputs& inputs) {
    switch (command) {
        case C::mnuAppNewIn: return !IsRegisteredSlot(inputs.state, inputs.entryIndex);
        case C::mnuAppin:
        case C::mnuAppDel:
        case C::mnuAppMove:
        case C::mnuAppOneTimeDelete:
        case C::mnuAppProperty: return IsRegisteredSlot(inputs.state, inputs.entryIndex);
        case C::mnuAppOneTimeCopy: return inputs.cutPending;
        case C::mnuAppBringForward:
        case C::mnuAppStartAnother:
        case C::mnuAppCloseWindows: return inputs.running;
        case C::mnuAppUndo: return inputs.state.entries.CanUndo();
        case C::mnuAppRedo: return inputs.state.entries.CanRedo();
        case C::mnuAppSearch:
        case C::mnuPopupSearch: return inputs.searchAvailable;
        case C::mnuMOEject:
        case C::mnuPopUpMOEject: return HasRemovableDrive(inputs.state);
        default: return true;
    }
}

MenuModel BuildEntryMenu(const MenuInputs& inputs) {
    MenuModel model = Resolve(text::kAppMenuCaption, kAppMenu, inputs);
    if (!inputs.running) return model;
    MenuModel top = Resolve(text::kAppMenuCaption, kRunningRows, inputs);
    model.items.insert(model.items.begin(), std::make_move_iterator(top.items.begin()),
                       std::make_move_iterator(top.items.end()));
    return model;
}

MenuModel BuildTrayMenu(const MenuInputs& inputs) { return Resolve(text::kPopUpMenuCaption, kPopUpMenu, inputs); }

}  // namespace tavi
