#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "app/bar_services.h"
#include "app/menu_main.h"
#include "platform/rect.h"
#include "bar/auto_hide.h"
#include "platform/platform.h"

// Moving an entry to another button of the bar: by pressing, dragging and
// releasing on the toolbar, or by the entry menu's move command followed by
// a click on the target button.
namespace tavi {

// The 0-based position of the button under a point (the button strip's
// client pixels), among the first `visibleCount` of `buttonCount` buttons;
// nothing when no button is under it. Rectangles are asked for one at a
// time: first the `hint` (the strip's own hit test), then from the first
// button up to the hit; an unknown one ends the search.
std::optional<int> ButtonAtPoint(int buttonCount, int visibleCount, PixelPoint point,
                                 const std::function<std::optional<Rect>(int)>& rectOf,
                                 std::optional<int> hint = std::nullopt);

// timDrag: the drag cursor appears this long after the first movement.
inline constexpr uint32_t kDragDelayMs = 500;

enum class MouseButton { Left, Right, Other };

// What the toolbar's window does for a drag.
class DragFeedback {
public:
    virtual ~DragFeedback() = default;
    virtual void StartDelayTimer() = 0;  // once, after kDragDelayMs
    virtual void StopDelayTimer() = 0;
    virtual void ShowDragCursor() = 0;   // the "DRAG" picture
    virtual void RestoreCursor() = 0;
};

struct DragContext {
    MenuMain& state;
    Platform& platform;
    BarServices& bar;
    AutoHideState& autoHide;  // LastReleasePosition and the hide count
    DragFeedback& feedback;
};

// Carries entry `source` to `target` (growing the list first), saves the
// list, rebuilds the bar and takes the group members along. The source is
// emptied only once the target holds the entry.
void MoveEntryTo(MenuMain& state, int source, int target);

class EntryDrag {
public:
    explicit EntryDrag(const DragContext& context) : c_(context) {}

    // tbrIcon_MouseDown at a button position (nothing: no button there).
    void Press(MouseButton button, std::optional<int> position);
    // tbrIcon_MouseMove: any movement with a drag armed starts the delay.
    void Move();
    // timDrag_Timer.
    void DelayElapsed();
    // tbrIcon_MouseUp. Every release ends the drag; one on another button
    // than the pressed one asks and moves the entry.
    void Release(MouseButton button, std::optional<int> position);

    // "同列内で移動(&V)": the next click on the toolbar moves the entry acted on.
    // False when there is no entry to move.
    bool BeginMenuMove(int index);
    bool MenuMoveActive() const { return menuMove_; }
    // The click that ends the menu-driven move; nothing moves when it is not
    // on another button. No confirmation on this path.
    void DropMenuMove(std::optional<int> position);
    void CancelMenuMove();

    // False right after a move by dragging: the toolbar's click that follows
    // must not start the entry.
    bool ClickArmed() const { return clickArmed_; }
    bool DragArmed() const { return dragArmed_; }
    bool DragStarted() const { return dragStarted_; }
    std::optional<int> PressedPosition() const { return pressedPosition_; }

private:
    void EndDrag();
    bool Registered(int index) const;

    DragContext c_;
    std::optional<int> pressedPosition_;
    int source_ = 0;
    bool clickArmed_ = false;
    bool dragArmed_ = false;
    bool dragStarted_ = false;
    bool timerRunning_ = false;
    bool cursorShown_ = false;
    bool menuMove_ = false;
};

}  // namespace tavi
