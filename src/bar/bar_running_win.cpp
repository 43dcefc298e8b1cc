// What the bar does with the programs that run: the marks' entries, bringing
// an entry's window forward, closing its windows.
#include "bar/bar_window_win.h"

#include <algorithm>
#include <functional>
#include <memory>
#include <utility>

#include "bar/shortcut_win.h"
#include "platform/com_win.h"
#include "platform/run_on_thread_win.h"
#include "platform/text.h"

namespace tavi {
namespace {

struct ShortcutRead {
    HWND notify;
    UINT message;
    std::string link;
    std::string target;  // what it starts; empty: it could not be read
};

// A shortcut on a share that does not answer holds up only a thread of its own.
DWORD WINAPI ReadShortcutAway(void* context) {
    std::unique_ptr<ShortcutRead> read(static_cast<ShortcutRead*>(context));
    {
        const ComApartment apartment;
        ShortcutTarget target;
        if (ReadShortcut(read->link, target)) read->target = TrimSpaces(target.targetPath);
    }
    if (PostMessageW(read->notify, read->message, 0, reinterpret_cast<LPARAM>(read.get()))) (void)read.release();
    return 0;
}

}  // namespace

void TaviMenu2::ProgramStarted(HANDLE process) {
    if (running_)
        running_->Started(process);
    else
        CloseHandle(process);
}

// A shortcut is told by what it starts once that has been read; until then,
// and for one that cannot be read, it gets no mark rather than a wrong one.
std::optional<RunningEntry> TaviMenu2::RunningEntryOf(const std::string& written) const {
    if (!running_) return std::nullopt;
    std::optional<RunningEntry> entry = RunningEntryFor(written);
    if (!entry || !PathEndsWith(entry->target, ".lnk")) return entry;
    const std::string key = ComparablePath(entry->target);
    auto found = shortcutTargets_.find(key);
    if (found == shortcutTargets_.end()) {
        shortcutTargets_.emplace(key, std::string());
        auto* read = new ShortcutRead{Handle(), kShortcutRead, entry->target, {}};
        if (!RunOnThread(ReadShortcutAway, read, 0)) delete read;
        return std::nullopt;
    }
    return RunningEntryFor(found->second);
}

std::optional<LRESULT> TaviMenu2::WmShortcutRead(WPARAM, LPARAM lParam) {
    const std::unique_ptr<ShortcutRead> read(reinterpret_cast<ShortcutRead*>(lParam));
    if (!read) return 0;
    shortcutTargets_[ComparablePath(read->link)] = read->target;
    if (!read->target.empty()) RunningChanged();
    return 0;
}

// The buttons are described and painted afresh, then whoever follows is told.
void TaviMenu2::RunningChanged() {
    if (strip_.Handle() != nullptr) {
        InvalidateRect(strip_.Handle(), nullptr, FALSE);
        NotifyWinEvent(EVENT_OBJECT_DESCRIPTIONCHANGE, strip_.Handle(), OBJID_CLIENT, CHILDID_SELF);
    }
    // A copy: the follower may stop following while it is told.
    if (const std::function<void()> follower = runningFollower_) follower();
}

bool TaviMenu2::EntryRuns(int index) const {
    return state_.entries.Has(index) && ProgramRuns(state_.entries.At(index).PathName);
}

bool TaviMenu2::ProgramRuns(const std::string& path) const {
    const std::optional<RunningEntry> entry = RunningEntryOf(path);
    return entry && running_->Table().Runs(*entry);
}

// The entry's most recent window to the front; a second click on the same
// entry takes its oldest, so repeated clicks go round its windows. A hung
// window is passed over, never waited on. False: nothing of it runs.
bool TaviMenu2::BringForward(const std::string& path) {
    const std::optional<RunningEntry> entry = RunningEntryOf(path);
    if (!entry) return false;
    std::vector<RunningTable::WindowId> windows = running_->Table().WindowsOf(*entry);
    if (windows.empty()) return false;
    if (windows.size() > 1 && reinterpret_cast<HWND>(windows.front()) == lastBrought_)
        std::rotate(windows.begin(), windows.end() - 1, windows.end());
    for (RunningTable::WindowId id : windows) {
        const HWND window = reinterpret_cast<HWND>(id);
        if (!IsWindow(window) || IsHungAppWindow(window)) continue;
        // Asynchronous: a window that stops answering now holds up only itself.
        if (IsIconic(window)) ShowWindowAsync(window, SW_RESTORE);
        lastBrought_ = window;
        // Most recent now, whether or not the system tells of the foreground (Wine does not).
        running_->Table().WindowActivated(id);
        if (!SetForegroundWindow(window)) {
            // Refused by the system: its taskbar button asks for attention instead.
            FLASHWINFO flash{sizeof(flash), window, FLASHW_TRAY | FLASHW_TIMERNOFG, 0, 0};
            FlashWindowEx(&flash);
        }
        return true;
    }
    MessageBeep(MB_ICONWARNING);  // every window of it hangs: nothing to bring, no copy either
    return true;
}

// Posted, so a window that does not answer holds up nothing; a program that
// asks about unsaved work asks in its own time.
void TaviMenu2::CloseWindowsOf(const std::string& path) {
    const std::optional<RunningEntry> entry = RunningEntryOf(path);
    if (!entry) return;
    for (RunningTable::WindowId id : running_->Table().WindowsOf(*entry))
        PostMessageW(reinterpret_cast<HWND>(id), WM_CLOSE, 0, 0);
}

bool TaviMenu2::Services::ProgramRuns(const std::string& path) const { return bar_.ProgramRuns(path); }

void TaviMenu2::Services::BringProgramForward(const std::string& path) { (void)bar_.BringForward(path); }

void TaviMenu2::Services::CloseProgramWindows(const std::string& path) { bar_.CloseWindowsOf(path); }

void TaviMenu2::Services::FollowRunning(std::function<void()> changed) { bar_.runningFollower_ = std::move(changed); }

}  // namespace tavi
