#include "bar/entry_drag.h"

#include <algorithm>

#include "platform/messages.h"
#include "platform/text.h"
#include "menus/entry_commands.h"
#include "app/ex_menu_store.h"

namespace tavi {

std::optional<int> ButtonAtPoint(int buttonCount, int visibleCount, PixelPoint point,
                                 const std::function<std::optional<Rect>(int)>& rectOf, std::optional<int> hint) {
    const int count = std::min(visibleCount, buttonCount);
    // Whether button i is under the point; nothing when its rectangle is unknown.
    const auto under = [&](int i) -> std::optional<bool> {
        const std::optional<Rect> b = rectOf(i);
        if (!b) return std::nullopt;
        return point.x >= b->left && point.x < b->right && point.y >= b->top && point.y < b->bottom;
    };
    if (hint && *hint >= 0 && *hint < count && under(*hint).value_or(false)) return hint;
    for (int i = 0; i < count; ++i) {
        const std::optional<bool> hit = under(i);
        if (!hit) break;
        if (*hit) return i;
    }
    return std::nullopt;
}

void MoveEntryTo(MenuMain& state, int source, int target) {
    if (source == target || !state.entries.Has(source) || target < 0) return;
    // The entry and its members in one step; every picture is built again.
    if (state.entries.Change([&](ListEdit& edit) {
            edit.Move(source, target);
            edit.RebuildAll();
        }))
        state.page.ActOn(target);
}

bool EntryDrag::Registered(int index) const {
    return c_.state.entries.Has(index) && !IsBlank(c_.state.entries.At(index).PathName);
}

void EntryDrag::EndDrag() {
    if (timerRunning_) c_.feedback.StopDelayTimer();
    if (cursorShown_) c_.feedback.RestoreCursor();
    timerRunning_ = cursorShown_ = false;
    dragArmed_ = dragStarted_ = false;
}

void EntryDrag::Press(MouseButton button, std::optional<int> position) {
    pressedPosition_ = position;
    clickArmed_ = true;
    // A drag the last release did not see end (the pointer left the window
    // with the button held) is over now.
    EndDrag();
    if (button != MouseButton::Left || !position) return;
    const int index = c_.state.page.IndexAt(*position);
    // A press past the end grows the list to it, as a page shows it.
    c_.state.entries.Reserve(index);
    if (!Registered(index)) return;
    dragArmed_ = true;
    source_ = index;
    c_.state.page.ActOn(index);
}

void EntryDrag::Move() {
    if (!dragArmed_ || dragStarted_) return;
    dragStarted_ = true;
    timerRunning_ = true;
    c_.feedback.StartDelayTimer();
}

void EntryDrag::DelayElapsed() {
    if (timerRunning_) c_.feedback.StopDelayTimer();
    timerRunning_ = false;
    if (!dragArmed_ || cursorShown_) return;
    cursorShown_ = true;
    c_.feedback.ShowDragCursor();
}

void EntryDrag::Release(MouseButton, std::optional<int> position) {
    pressedPosition_ = position;
    const bool armed = dragArmed_;
    EndDrag();
    if (armed && position) {
        const int target = c_.state.page.IndexAt(*position);
        // A release on the pressed button itself moves nothing.
        if (target != source_ && Registered(source_)) {
            const MessageAnswer answer = c_.platform.messages.Show(
                {MoveQuestion(c_.state.entries.At(source_).Title, c_.state.entries.Store(), target),
                 std::string(text::kMessageCaption), MessageIcon::Question, MessageButtons::OkCancel});
            if (answer == MessageAnswer::Ok) {
                MoveEntryTo(c_.state, source_, target);
                clickArmed_ = false;
            }
        }
    }
    c_.autoHide.hideCounter = 0;
    c_.autoHide.lastReleasePosition = static_cast<int16_t>(position ? *position : -1);
}

bool EntryDrag::BeginMenuMove(int index) {
    EndDrag();
    if (!Registered(index)) return false;
    source_ = index;
    menuMove_ = true;
    cursorShown_ = true;
    c_.feedback.ShowDragCursor();
    return true;
}

void EntryDrag::DropMenuMove(std::optional<int> position) {
    if (!menuMove_) return;
    CancelMenuMove();
    pressedPosition_ = position;
    if (!position || !Registered(source_)) return;
    MoveEntryTo(c_.state, source_, c_.state.page.IndexAt(*position));
}

void EntryDrag::CancelMenuMove() {
    menuMove_ = false;
    EndDrag();
}

}  // namespace tavi
