#pragma once
#include <string>
#include <vector>

#include "app/entry_list.h"

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
class BarServices;

// Brings the button that shows entry `index` up to date: its tooltip and picture.
void RefreshEntryButton(const MenuMain& state, EntryButtons& buttons, int index);

// The list's changes shown on the bar: a changed entry's button, or every
// picture built again.
class BarListView final : public ListView {
public:
    BarListView(const MenuMain& state, BarServices& bar) : state_(state), bar_(bar) {}
    void EntriesChanged(const std::vector<int>& indices) override;
    void EntriesReplaced() override;

private:
    const MenuMain& state_;
    BarServices& bar_;
};

// The registration dialog's fields, as its view copies them out.
struct NewAppState {
    std::string program;
    std::string title;
    std::string command;
    bool isGroup = false;
    int runSizeIndex = -1;  // -1 when nothing is selected
};

// Stores the dialog into entry `index` of a change.
void StoreEntry(ListEdit& edit, int index, const NewAppState& dialog);

}  // namespace tavi
