// The bar's ways into the entry search: Ctrl+F on its buttons and the
// global key of the setting SearchHotKey.
#include "bar/bar_window_win.h"

#include "app/phase_trace.h"

namespace tavi {

// Through the command table, which refuses it while a modal window of ours
// is open; the box itself is modeless and returns at once.
void TaviMenu2::OpenEntrySearch() {
    if (state_.Closing || menuOpen_ || inTrayMenu_) return;
    commands_.Dispatch(static_cast<uint32_t>(MenuCommand::mnuPopupEntrySearch));
}

// From another program: the box takes the foreground itself and gives it
// back when it closes (to the bar's buttons, when the bar's key had them).
void TaviMenu2::OnSearchKey() {
    TracePhase("search key");
    OpenEntrySearch();
}

}  // namespace tavi
