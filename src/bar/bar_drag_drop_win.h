#pragma once
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "app/bar_services.h"
#include "app/menu_main.h"
#include "bar/auto_hide.h"
#include "bar/button_strip_win.h"
#include "bar/drop_target_win.h"
#include "bar/entry_drag.h"
#include "platform/handles_win.h"
#include "platform/platform.h"
#include "platform/shortcuts.h"

namespace tavi {

// Drag and drop on the bar's buttons `tbrIcon`: moving an entry by pressing,
// dragging and releasing (or from the entry menu), and files dropped from the
// shell. The bar forwards its button strip's mouse messages; the drag timer
// and the handling of a drop run on timers of the strip itself, so the bar has
// no timer to forward.
class BarDragDrop final : private DragFeedback {
public:
    BarDragDrop(ButtonStrip& strip, MenuMain& state, Platform& platform, BarServices& bar, AutoHideState& autoHide,
                Shortcuts& shortcuts);
    ~BarDragDrop() override;
    BarDragDrop(const BarDragDrop&) = delete;
    BarDragDrop& operator=(const BarDragDrop&) = delete;

    // Makes the strip a drop target for files, once. The UI thread must
    // have called OleInitialize; false when the system refused.
    bool RegisterDrops();

    // To be called from the strip's hook before the strip sees the
    // message. True when the message is used up and must not reach the
    // strip (the click that ends a move from the menu).
    bool ToolbarMessage(UINT message, WPARAM wParam, LPARAM lParam);

    // BarServices::BeginEntryMove: the next click on the strip moves entry `index`.
    void BeginMenuMove(int index);

    // The 0-based position of the button under a point of the strip's
    // client area, nothing when there is none.
    std::optional<int> ButtonAt(int x, int y) const;
    // The button under the last press ToolbarMessage saw, found once for all
    // who act on that press.
    std::optional<int> PressedPosition() const { return drag_.PressedPosition(); }
    // False right after a move by dragging: the strip's click that follows
    // must not start the entry.
    bool ClickArmed() const { return drag_.ClickArmed(); }

private:
    void StartDelayTimer() override;
    void StopDelayTimer() override;
    void ShowDragCursor() override;
    void RestoreCursor() override;

    std::optional<int> ButtonAtScreen(POINT screen) const;
    void OnDrop(std::vector<std::string> files, POINT screen);
    void HandlePendingDrops();
    static void CALLBACK TimerProc(HWND window, UINT message, UINT_PTR id, DWORD time);

    HWND Strip() const { return strip_.Handle(); }

    ButtonStrip& strip_;
    MenuMain& state_;
    Platform& platform_;
    BarServices& bar_;
    Shortcuts& shortcuts_;
    EntryDrag drag_;
    OwnedCursor dragCursor_;
    FileDropTarget* target_ = nullptr;
    DropRegistration registration_;
    struct PendingDrop {
        std::vector<std::string> files;
        std::optional<int> position;
    };
    std::vector<PendingDrop> pending_;  // drops not handled yet, in order
    bool handlingDrops_ = false;
    PixelPoint pressedAt_;
};

}  // namespace tavi
