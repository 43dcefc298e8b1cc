#pragma once
#include <windows.h>

#include <optional>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "app/folder_windows_win.h"
#include "app/running_table.h"

namespace tavi {

// Feeds the running table from the system's own notices, never by polling:
// window events hooked out of context, the end of each process that shows a
// window (a wait on its handle), and for a program the bar starts, its first
// moment of waiting for input. Nothing runs while no window appears or ends.
// Every notice reaches the bar as `message`, which it hands to Receive.
// One watch per process (the hook's callback has no context).
class RunningWatch {
public:
    RunningWatch(HWND notify, UINT message);
    ~RunningWatch();
    RunningWatch(const RunningWatch&) = delete;
    RunningWatch& operator=(const RunningWatch&) = delete;

    RunningTable& Table() { return table_; }
    // A process the bar started; the watch owns `process` from here on.
    void Started(HANDLE process);
    // The bar's `message`; true when what runs changed and the buttons are due a repaint.
    bool Receive(WPARAM what, LPARAM pid);

private:
    struct Watched {
        HANDLE process = nullptr;
        HANDLE ended = nullptr;    // the pool's wait for its end, where the loop has no room
        bool inLoop = false;       // the message loop waits for its end
        bool awaitingIdle = false;  // its windows are looked for once it waits for input
    };
    static void CALLBACK OnEvent(HWINEVENTHOOK hook, DWORD event, HWND window, LONG object, LONG child, DWORD thread,
                                 DWORD time);
    void Seen(HWND window);
    void Created(HWND window);
    void Watch(DWORD pid, HANDLE process, bool awaitIdle);
    void Unwatch(DWORD pid);
    void SeenWindowsOf(DWORD pid);
    void FolderWindowSeen(DWORD pid);
    void AskFolders();
    void FoldersCame(const std::vector<FolderWindow>& found);
    void Settle();
    void Notify();
    // The long form of a short name, looked up on a pool thread: nothing until it comes.
    std::optional<std::string> AskLongForm(const std::string& path);

    HWND notify_;
    UINT message_;
    std::unordered_map<std::string, std::string> longForms_;  // looked up; empty: none
    std::unordered_set<std::string> longFormsAsked_;
    RunningTable table_;
    std::unordered_map<DWORD, Watched> watched_;
    // Created, shown, hidden, destroyed; the focus; the foreground; the shell's title changes.
    HWINEVENTHOOK hooks_[4] = {};
    DWORD shellPid_ = 0;        // the process whose folder windows' titles are followed
    bool foldersAsked_ = false;  // the shell's folder windows are being asked
    bool foldersAgain_ = false;  // and asked again once that answers
    bool posted_ = false;
    bool showTold_ = false;  // the system raises "shown" for other programs' windows
};

}  // namespace tavi
