#pragma once
#include <algorithm>

#include "app/entry_store.h"

namespace tavi {

// The page of the list the bar's buttons show: the entry on the first
// button and how many buttons the layout gave the bar. Only this object
// changes them; everything else asks it which entry a button shows.
class BarPage {
public:
    int Offset() const { return offset_; }
    int VisibleCount() const { return visible_; }
    // The entry on the button at `position` of the page.
    int IndexAt(int position) const { return offset_ + position; }
    bool OnPage(int position) const { return position >= 0 && position < visible_; }
    // One past the entry on the last button.
    int End() const { return offset_ + visible_; }

    // The page whose first button shows `offset`, within the list's limit.
    void ShowFrom(int offset) { offset_ = std::clamp(offset, 0, kEntryLimit); }
    // A next page would start past the last entry the bar may hold.
    bool NextPastLimit() const { return End() > kEntryLimit; }
    void Next() { ShowFrom(End()); }
    bool HasPrevious() const { return offset_ - visible_ >= 0; }
    void Previous() { ShowFrom(offset_ - visible_); }
    // The layout's count of button slots.
    void SetVisibleCount(int count) { visible_ = std::max(0, count); }
    // A bar built anew starts on the first page, with no buttons yet.
    void Reset() { offset_ = visible_ = 0; }

    // The entry the user acted on last (a click, a press, a menu, a move):
    // the tray menu's folder item opens its folder.
    int CurrentEntry() const { return current_; }
    void ActOn(int index) { current_ = index; }

private:
    int offset_ = 0;
    int visible_ = 0;
    int current_ = 0;
};

}  // namespace tavi
