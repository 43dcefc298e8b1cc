#include "menus/popup_menu_win.h"

#include "platform/handles_win.h"
#include "platform/wide_win.h"

namespace tavi {
namespace {

void AppendItems(HMENU menu, const std::vector<MenuItem>& items) {
    for (const MenuItem& item : items) {
        if (item.separator) {
            AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
            continue;
        }
        // The shortcut is shown after a tab, right-aligned as the system does.
        std::wstring text = Widen(item.caption);
        if (!item.shortcut.empty()) text += L"\t" + Widen(item.shortcut);
        UINT flags = MF_STRING | (item.enabled ? MF_ENABLED : MF_GRAYED) | (item.checked ? MF_CHECKED : MF_UNCHECKED);
        UINT_PTR id = item.id;
        if (item.IsSubmenu()) {
            HMENU submenu = CreatePopupMenu();
            AppendItems(submenu, item.children);
            flags |= MF_POPUP;
            id = reinterpret_cast<UINT_PTR>(submenu);
        }
        AppendMenuW(menu, flags, id, text.c_str());
    }
}

}  // namespace

uint32_t ShowPopupMenu(HWND owner, const MenuModel& model, POINT at) {
    const OwnedMenu owned(CreatePopupMenu());  // submenus go with it
    const HMENU menu = owned.Get();
    if (!menu) return 0;
    AppendItems(menu, model.items);
    // Without the foreground the menu would not close on a click elsewhere.
    SetForegroundWindow(owner);
    const BOOL chosen =
        TrackPopupMenu(menu, TPM_RIGHTBUTTON | TPM_RETURNCMD | TPM_NONOTIFY, at.x, at.y, 0, owner, nullptr);
    PostMessageW(owner, WM_NULL, 0, 0);
    return static_cast<uint32_t>(chosen);
}

}  // namespace tavi
