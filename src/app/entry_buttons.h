#pragma once
#include <string>

namespace tavi {

// The bar's side of an entry change: what the store asks of the button that
// shows an entry. Positions count from 0 on the current page; the bar ignores
// positions that are not on it.
class EntryButtons {
public:
    virtual ~EntryButtons() = default;
    virtual void SetButtonTip(int position, const std::string& tip) = 0;
    // Rebuilds the button's image from its entry's icon.
    virtual void ShowEntryIcon(int position, bool useCache) = 0;
    virtual void ClearButtonImage(int position) = 0;
};

struct MenuMain;
struct Platform;

// Saves the list and brings the button of CurrentEntryIndex up to date.
void RefreshEntryButton(MenuMain& state, Platform& platform, EntryButtons& buttons);

// The registration dialog's fields, as its view copies them out.
struct NewAppState {
    std::string program;
    std::string title;
    std::string command;
    bool isGroup = false;
    int runSizeIndex = -1;  // -1 when nothing is selected
};

// Stores the dialog into entry CurrentEntryIndex, saves and refreshes its button.
void StoreEntry(MenuMain& state, Platform& platform, EntryButtons& buttons, const NewAppState& dialog);

}  // namespace tavi
