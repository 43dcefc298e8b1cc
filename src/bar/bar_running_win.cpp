// What the bar does with the programs that run: the marks' entries, bringing
// an entry's window forward, closing its windows.
#include "bar/bar_window_win.h"

#include <algorithm>

#include "platform/text.h"

namespace tavi {

void TaviMenu2::ProgramStarted(HANDLE process) {
    if (running_)
        running_->Started(process);
    else
        CloseHandle(process);
}

// Only a program is told by its process's image; a document, a folder or a
// shortcut gets no mark rather than a wrong one.
std::optional<RunningEntry> TaviMenu2::RunningEntryOf(const std::string& written) const {
    if (!running_) return std::nullopt;
    std::string path = TrimSpaces(written);
    if (path.size() > 1 && path.front() == '"' && path.back() == '"') path = path.substr(1, path.size() - 2);
    if (path.size() < 4 || ComparablePath(path.substr(path.size() - 4)) != ".exe") return std::nullopt;
    return RunningEntry{EntryKind::Program, path};
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

}  // namespace tavi
