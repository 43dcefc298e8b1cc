#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "app/entry_store.h"
#include "search/kana_fold.h"
#include "bar/bar_buttons.h"

// Choosing entries on the bar by keys: the decisions, apart from the window
// that draws the focus and carries them out.
namespace tavi {

enum class BarKey { Back, Forward, Home, End, PageUp, PageDown, Enter, Menu, Escape, Character };

// The key of a WM_KEYDOWN, or nothing for keys the bar leaves alone. Only
// the arrows along the bar move (Left/Right on a horizontal bar, Up/Down on
// a vertical one). Page Up/Down page as F1/F2 do.
std::optional<BarKey> BarKeyOf(int virtualKey, bool shift, bool horizontal);

// The page as the keys see it; positions count from 0 on the page.
struct KeyPage {
    int visibleCount = 0;
    int entryOffset = 0;
    int focused = -1;  // -1: no button has the focus
};

enum class KeyAction {
    None,
    StartEntry,  // as a click: an entry starts, a free slot opens the explorer
    OpenGroup,
    OpenFolderMenu,  // a folder shown as a menu, as a click opens it
    EntryMenu,   // the entry menu at the focused button
    Release,     // the focus goes back to the window that had it
};

struct KeyResult {
    int focus = -1;                      // on the page after the change
    std::optional<PageCommand> page;     // paged as the paging buttons do
    std::optional<int> offset;           // or moved straight to a page at this offset
    KeyAction action = KeyAction::None;

    bool operator==(const KeyResult&) const = default;
};

// What `key` does on `page`; `typed` is the character of BarKey::Character.
// When the paging buttons refuse a page (the entry limit), the view keeps
// the focus where it was.
KeyResult HandleBarKey(const KeyPage& page, const EntryStore& entries, BarKey key, char32_t typed = 0);

// Whether `title` begins with the typed character under that folding.
bool TitleStartsWith(std::string_view title, char32_t typed);

// Whether a typed character (WM_CHAR) is one type-ahead looks for: control
// characters have been keys already, and halves of a surrogate pair are no
// character.
bool IsTypeAheadCharacter(char32_t c);
// Among `count` items, the next after `from` whose name (`nameOf`) begins
// with `typed`, round past the end; `from` itself last, so the same letter
// again steps on. An empty name (nothing to focus) never matches.
std::optional<int> NextStartingWith(int count, int from, char32_t typed,
                                    const std::function<std::string(int)>& nameOf);

struct MenuMain;
// Shows the page that starts at entry `offset`, the entries growing to fill it.
void ShowPageAt(MenuMain& state, int offset);

}  // namespace tavi
