#pragma once
#include <cstdint>
#include <functional>
#include <string>

#include "app/entry_buttons.h"
#include "platform/native_window.h"
#include "platform/rect.h"

namespace tavi {

// The bar's buttons as laid out last; 0 before the first layout.
struct BarButtonSizes {
    int32_t buttonPixels = 0;
    int32_t iconPixels = 0;
    int32_t buttonTwips = 0;
};

// What the bar window offers the menus, commands and dialogs. They reach the
// bar only through this, never through its members; core tests drive them
// against a fake of it.
class BarServices {
public:
    virtual ~BarServices() = default;

    // Owner of the dialogs and message boxes opened from the bar.
    virtual NativeWindow Handle() const = 0;
    // One button's picture and tooltip.
    virtual EntryButtons& Buttons() = 0;
    // Pictures and tooltips of the page for the bar's page.
    virtual void RefreshButtons() = 0;
    // Fresh image lists, then the pictures of the page as it is (the redraw command).
    virtual void Redraw() = 0;
    // After entries moved, were deleted, pasted or registered: fresh image
    // lists filled from the first page, then the page with its tooltips.
    virtual void FullRebuild() = 0;
    // Lays the bar out again; `force` re-registers with the shell even when
    // the taskbar did not move.
    virtual void ReDock(bool force) = 0;
    virtual void BringToFront() = 0;
    // Timer1 (auto-hide and alarm polling) is paused while a modal window of
    // ours is open and resumed on every way out.
    virtual void PauseTimer() = 0;
    virtual void ResumeTimer() = 0;
    // The button at a 0-based page position, in screen pixels.
    virtual Rect ButtonRect(int position) = 0;
    // The bar window's rectangle in screen pixels, as it really is.
    virtual Rect WindowRect() const = 0;
    // The sizes of the buttons the bar laid out last, at its monitor's scale.
    virtual BarButtonSizes ButtonSizes() const = 0;
    // Whether the bar is shown (auto-hide may have hidden it), and showing it again.
    virtual bool Visible() const = 0;
    virtual void Show() = 0;
    // TopMost on: the bar comes to the front; off: it is no longer topmost.
    virtual void ApplyTopMost(bool topMost) = 0;
    // TimWallPaper: `running` restarts its period, otherwise it stops.
    virtual void SetWallpaperTimer(bool running) = 0;
    // Sets the alarm's timer again for the next alarm minute (the times changed).
    virtual void ScheduleAlarm() = 0;
    // Gives up the global key held now and registers the one the settings
    // name, telling the user when it cannot be had.
    virtual void ReRegisterHotKey() = 0;
    // Paints the close, next and previous buttons again.
    virtual void RepaintCommandButtons() = 0;
    // The menu-driven move: the next drop on the bar moves entry `index`.
    virtual void BeginEntryMove(int index) = 0;
    // Ends the program the way the close button does.
    virtual void Close() = 0;
    // Whether a window of the program an entry or member at `path` names is
    // up (its button's mark), a shortcut's program included; a document or a
    // folder never is.
    virtual bool ProgramRuns(const std::string& path) const = 0;
    // Its most recent window to the front; asked again, the next of them.
    virtual void BringProgramForward(const std::string& path) = 0;
    // Asks each of its windows to close, as their close boxes would.
    virtual void CloseProgramWindows(const std::string& path) = 0;
    // While set, called once after each change to what runs, the bar's own
    // marks already redrawn; an empty function stops it.
    virtual void FollowRunning(std::function<void()> changed) = 0;
};

// Timer1 paused while a modal window or menu of ours is open: resumed however
// the scope ends, unless the program is closing by then (`closing` is the
// program's own flag, read at the end).
class TimerPause {
public:
    TimerPause(BarServices& bar, const bool& closing) : bar_(bar), closing_(closing) { bar_.PauseTimer(); }
    ~TimerPause() {
        if (!closing_) bar_.ResumeTimer();
    }
    TimerPause(const TimerPause&) = delete;
    TimerPause& operator=(const TimerPause&) = delete;

private:
    BarServices& bar_;
    const bool& closing_;
};

}  // namespace tavi
