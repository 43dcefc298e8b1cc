#pragma once
#include <functional>
#include <optional>
#include <string_view>

#include "app/entry_buttons.h"
#include "app/menu_main.h"
#include "platform/platform.h"

namespace tavi {

// Every button of the page gets its picture and tooltip for the bar's page.
void RefreshButtons(const MenuMain& state, EntryButtons& buttons);
// Every button of the page gets its picture; tooltips stay.
void ReloadButtonIcons(const MenuMain& state, EntryButtons& buttons);
// After entries moved, were deleted, pasted or registered: fresh image lists
// filled from the first page (so per-entry keys start over), then the
// current page with its tooltips.
void FullRebuild(MenuMain& state, EntryButtons& buttons, const std::function<void()>& resetImageLists);
// The tooltip of entry `index` under the ToolTips setting.
std::string TipFor(const MenuMain& state, int index);

// What a click on a bar button asks of the bar beyond what was done here.
enum class ClickOutcome { Handled, OpenGroup, OpenFolderMenu };

// A click on button number `buttonNumber` (from 1): a free slot opens the
// explorer on the system drive's root, an entry starts, a group is left to
// the bar's group window and a folder shown as a menu (OpensAsMenu) to the
// folder menu.
ClickOutcome ClickButton(MenuMain& state, Platform& platform, int buttonNumber);

enum class PageCommand { Close = 0, Next = 1, Previous = 2 };
enum class PageOutcome { Close, Refresh, Unchanged };

// Moves the bar's page. Past entry 1000 the user is told of the limit
// and nothing moves; paging past the last entry grows the slots.
PageOutcome PageButtons(MenuMain& state, Platform& platform, PageCommand command);

// High-resolution wheels and touchpads send parts of a notch (deltas under
// 120): they add up, and a whole notch pages once, in either direction.
class WheelSum {
public:
    // Whole notches of one WM_MOUSEWHEEL wParam: positive away from the user.
    // With a key or button held (low word) nothing pages and the sum starts over,
    // as it does when the direction turns.
    int Notches(uint32_t wParam);

private:
    int32_t pending_ = 0;
};

// The paging command of one notch (+1 away from the user, -1 toward): away
// pages back unless this is the first page, toward always pages on.
std::optional<PageCommand> WheelCommand(const MenuMain& state, int notch);

enum class KeyCommand { PreviousPage, NextPage, Redraw, NewEntry, Undo, Redo, FindEntry };
// F1, F2, F5; Ctrl+N, the shortcut of "新規登録(&N)...", Ctrl+Z and Ctrl+Y;
// Ctrl+F opens the entry search.
std::optional<KeyCommand> KeyDownCommand(int virtualKey, bool control = false);

// Run type code ("0", "1", "2") of a shortcut's window style.
std::string RunTypeForShortcutStyle(int windowStyle);

// "たびめにゅ～２ " and the time as hh:mm:ss.
// With `folder` (while more than one bar runs), its path on a second line,
// shortened from the front to what the tip can show.
std::string TrayTip(int hour, int minute, int second, std::string_view folder = {});

}  // namespace tavi
