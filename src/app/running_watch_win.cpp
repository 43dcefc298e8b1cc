#include "app/running_watch_win.h"

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/folder_windows_win.h"
#include "platform/com_win.h"
#include "platform/loop_waits_win.h"
#include "platform/run_on_thread_win.h"
#include "platform/wide_win.h"

namespace tavi {

namespace {

enum : WPARAM { kChanged, kIdle, kEnded, kLongForm, kFolders };

// The wait threads and idle workers post here; set before the first of them
// starts and left alone until the last is gone.
RunningWatch* g_watch = nullptr;
HWND g_notify = nullptr;
UINT g_message = 0;

// How long a started program may take to wait for input before its windows
// are looked for anyway; only a thread of its own waits.
constexpr DWORD kIdleLimitMs = 30000;

// The windows a taskbar would show: top-level, visible, not tool windows.
bool Counts(HWND window) {
    if (window == nullptr || GetAncestor(window, GA_ROOT) != window || !IsWindowVisible(window)) return false;
    const auto exStyle = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_EXSTYLE));
    return (exStyle & WS_EX_TOOLWINDOW) == 0;
}

// A window just made that may yet be shown as one of those.
bool MayCount(HWND window) {
    if (window == nullptr || GetAncestor(window, GA_ROOT) != window || GetWindow(window, GW_OWNER) != nullptr)
        return false;
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE));
    const auto exStyle = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_EXSTYLE));
    return (style & (WS_CHILD | WS_DISABLED)) == 0 && (exStyle & WS_EX_TOOLWINDOW) == 0;
}

std::uint64_t StartedAt(DWORD pid) {
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
    if (process == nullptr) return 0;
    FILETIME created{}, exited{}, kernel{}, user{};
    std::uint64_t at = 0;
    if (GetProcessTimes(process, &created, &exited, &kernel, &user))
        at = (static_cast<std::uint64_t>(created.dwHighDateTime) << 32) | created.dwLowDateTime;
    CloseHandle(process);
    return at;
}

// Nothing for an elevated process or one already gone: it gets no mark.
std::optional<std::string> ImageOf(std::uint32_t pid) {
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
    if (process == nullptr) return std::nullopt;
    std::wstring path(32768, L'\0');
    auto size = static_cast<DWORD>(path.size());
    const BOOL ok = QueryFullProcessImageNameW(process, 0, path.data(), &size);
    CloseHandle(process);
    if (!ok) return std::nullopt;
    path.resize(size);
    return Narrow(path);
}

std::string LongForm(const std::string& path) {
    const std::wstring wide = Widen(path);
    std::wstring longer(32768, L'\0');
    const DWORD size = GetLongPathNameW(wide.c_str(), longer.data(), static_cast<DWORD>(longer.size()));
    if (size == 0 || size >= longer.size()) return {};
    longer.resize(size);
    return Narrow(longer);
}

// Short names looked up at once on pool threads; more wait for a later asking.
constexpr size_t kMostLongFormsAsked = 8;

struct LongFormAsk {
    std::string path;
    std::string longer;
};

// A short name on a drive that does not answer holds up only a thread of its own.
DWORD WINAPI LongFormAway(void* context) {
    std::unique_ptr<LongFormAsk> ask(static_cast<LongFormAsk*>(context));
    ask->longer = LongForm(ask->path);
    if (PostMessageW(g_notify, g_message, kLongForm, reinterpret_cast<LPARAM>(ask.get()))) (void)ask.release();
    return 0;
}

// The shell's window list answers across processes: a shell that hangs holds
// up only this thread, and no second asking starts until it answers.
DWORD WINAPI FoldersAway(void*) {
    auto found = std::make_unique<std::vector<FolderWindow>>();
    {
        const ComApartment apartment;
        *found = ReadFolderWindows();
    }
    if (PostMessageW(g_notify, g_message, kFolders, reinterpret_cast<LPARAM>(found.get()))) (void)found.release();
    return 0;
}

void CALLBACK OnEnded(PVOID context, BOOLEAN) {
    PostMessageW(g_notify, g_message, kEnded, static_cast<LPARAM>(reinterpret_cast<std::uintptr_t>(context)));
}

struct IdleWait {
    HANDLE process;
    DWORD pid;
};

// A program's first windows are up once it first waits for input. Wine tells
// other programs of a window's making but not of its showing, so this is
// where a started program is first seen there.
DWORD WINAPI AwaitIdle(void* context) {
    auto* wait = static_cast<IdleWait*>(context);
    WaitForInputIdle(wait->process, kIdleLimitMs);
    PostMessageW(g_notify, g_message, kIdle, static_cast<LPARAM>(wait->pid));
    CloseHandle(wait->process);
    delete wait;
    return 0;
}

}  // namespace

RunningWatch::RunningWatch(HWND notify, UINT message)
    : notify_(notify),
      message_(message),
      table_(ImageOf, [this](const std::string& path) { return AskLongForm(path); }) {
    if (g_watch != nullptr) return;
    g_watch = this;
    g_notify = notify;
    g_message = message;
    // Out of context: the events arrive through this thread's message loop,
    // so the table is only ever touched on the UI thread. Wine raises no
    // "shown" or "destroyed" for other processes, only "created" and the focus.
    const DWORD flags = WINEVENT_OUTOFCONTEXT | WINEVENT_SKIPOWNPROCESS;
    hooks_[0] = SetWinEventHook(EVENT_OBJECT_CREATE, EVENT_OBJECT_HIDE, nullptr, OnEvent, 0, 0, flags);
    hooks_[1] = SetWinEventHook(EVENT_OBJECT_FOCUS, EVENT_OBJECT_FOCUS, nullptr, OnEvent, 0, 0, flags);
    hooks_[2] = SetWinEventHook(EVENT_SYSTEM_FOREGROUND, EVENT_SYSTEM_FOREGROUND, nullptr, OnEvent, 0, 0, flags);
    EnumWindows(
        [](HWND window, LPARAM) -> BOOL {
            if (g_watch != nullptr) g_watch->Seen(window);
            return TRUE;
        },
        0);
    Settle();
    table_.TakeChanged();
}

RunningWatch::~RunningWatch() {
    if (g_watch != this) return;
    for (HWINEVENTHOOK hook : hooks_)
        if (hook != nullptr) UnhookWinEvent(hook);
    // Waits for a wait callback already running: it only posts.
    for (auto& [pid, watched] : watched_) {
        if (watched.inLoop) loop_waits::Remove(watched.process);
        if (watched.ended != nullptr) UnregisterWaitEx(watched.ended, INVALID_HANDLE_VALUE);
        if (watched.process != nullptr) CloseHandle(watched.process);
    }
    g_watch = nullptr;
}

void RunningWatch::Started(HANDLE process) {
    const DWORD pid = GetProcessId(process);
    auto found = watched_.find(pid);
    if (g_watch != this || pid == 0 || (found != watched_.end() && found->second.process != nullptr)) {
        CloseHandle(process);
        return;
    }
    // An id listed without a handle (a process that could not be opened) may have been used again.
    if (found != watched_.end()) watched_.erase(found);
    Watch(pid, process, true);
}

// A process that cannot be opened (elevated) is still listed, so it is not asked again.
void RunningWatch::Watch(DWORD pid, HANDLE process, bool awaitIdle) {
    Watched& watched = watched_[pid];
    watched.process = process;
    if (process == nullptr) return;
    void* context = reinterpret_cast<void*>(static_cast<std::uintptr_t>(pid));
    // The message loop waits for the end; past as many as it can, a wait of the system's pool.
    watched.inLoop = loop_waits::Add(process, [context] { OnEnded(context, TRUE); });
    if (!watched.inLoop &&
        !RegisterWaitForSingleObject(&watched.ended, process, OnEnded, context, INFINITE, WT_EXECUTEONLYONCE))
        watched.ended = nullptr;
    if (!awaitIdle) return;
    HANDLE own = nullptr;
    if (!DuplicateHandle(GetCurrentProcess(), process, GetCurrentProcess(), &own, 0, FALSE, DUPLICATE_SAME_ACCESS))
        return;
    auto* wait = new IdleWait{own, pid};
    if (!RunOnThread(AwaitIdle, wait)) {
        CloseHandle(own);
        delete wait;
        return;
    }
    watched.awaitingIdle = true;
}

void RunningWatch::Unwatch(DWORD pid) {
    auto found = watched_.find(pid);
    if (found == watched_.end()) return;
    // Not waiting for a callback that may be posting: the notice it posts finds nothing.
    if (found->second.inLoop) loop_waits::Remove(found->second.process);
    if (found->second.ended != nullptr) UnregisterWait(found->second.ended);
    if (found->second.process != nullptr) CloseHandle(found->second.process);
    watched_.erase(found);
}

void RunningWatch::SeenWindowsOf(DWORD pid) {
    struct Search {
        RunningWatch* watch;
        DWORD pid;
    } search{this, pid};
    EnumWindows(
        [](HWND window, LPARAM context) -> BOOL {
            auto* s = reinterpret_cast<Search*>(context);
            DWORD owner = 0;
            if (GetWindowThreadProcessId(window, &owner) != 0 && owner == s->pid) s->watch->Seen(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
}

void RunningWatch::Seen(HWND window) {
    if (!Counts(window)) return;
    const auto id = reinterpret_cast<RunningTable::WindowId>(window);
    if (table_.HasWindow(id)) {
        table_.WindowActivated(id);
        return;
    }
    DWORD pid = 0;
    if (GetWindowThreadProcessId(window, &pid) == 0 || pid == GetCurrentProcessId()) return;
    table_.WindowShown(id, pid, StartedAt(pid));
    if (IsFolderWindow(window)) FolderWindowSeen(pid);
}

// A shell folder window: the folders are asked of the shell, and its
// process's title changes are followed, since a folder window that goes
// elsewhere shows it in its title.
void RunningWatch::FolderWindowSeen(DWORD pid) {
    if (pid != shellPid_) {
        if (hooks_[3] != nullptr) UnhookWinEvent(hooks_[3]);
        hooks_[3] = SetWinEventHook(EVENT_OBJECT_NAMECHANGE, EVENT_OBJECT_NAMECHANGE, nullptr, OnEvent, pid, 0,
                                    WINEVENT_OUTOFCONTEXT | WINEVENT_SKIPOWNPROCESS);
        shellPid_ = hooks_[3] != nullptr ? pid : 0;
    }
    AskFolders();
}

void RunningWatch::AskFolders() {
    if (foldersAsked_) {
        foldersAgain_ = true;
        return;
    }
    foldersAsked_ = RunOnThread(FoldersAway, nullptr);
}

void RunningWatch::FoldersCame(const std::vector<FolderWindow>& found) {
    for (const FolderWindow& one : found) {
        const auto id = reinterpret_cast<RunningTable::WindowId>(one.window);
        DWORD pid = 0;
        if (!table_.HasWindow(id) || GetWindowThreadProcessId(one.window, &pid) == 0) continue;
        table_.FolderWindowShown(id, pid, StartedAt(pid), one.folder);
    }
}

// Where the system tells no window's showing, a window's making is the sign:
// its process is watched until it waits for input, then its windows are read.
void RunningWatch::Created(HWND window) {
    if (showTold_ || !MayCount(window)) return;
    DWORD pid = 0;
    if (GetWindowThreadProcessId(window, &pid) == 0 || pid == GetCurrentProcessId()) return;
    if (watched_.count(pid) != 0 || table_.HasProcess(pid)) return;
    // Waiting for its input asks more than the limited right (Wine refuses the wait without it).
    HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, pid);
    if (process == nullptr) process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
    Watch(pid, process, true);
}

// Each process in the table is watched for its end, which Wine tells where it
// tells no window's end; a process that left the table is let go.
void RunningWatch::Settle() {
    // Where the system tells of showing, the focus adds nothing but traffic.
    if (showTold_ && hooks_[1] != nullptr) {
        UnhookWinEvent(hooks_[1]);
        hooks_[1] = nullptr;
    }
    for (const std::uint32_t pid : table_.Processes())
        if (watched_.count(pid) == 0) Watch(pid, OpenProcess(SYNCHRONIZE, FALSE, pid), false);
    if (watched_.size() <= table_.ProcessCount()) return;
    std::vector<DWORD> gone;
    for (const auto& [pid, watched] : watched_)
        if (!watched.awaitingIdle && !table_.HasProcess(pid)) gone.push_back(pid);
    for (const DWORD pid : gone) Unwatch(pid);
}

std::optional<std::string> RunningWatch::AskLongForm(const std::string& path) {
    if (auto found = longForms_.find(path); found != longForms_.end()) return found->second;
    if (longFormsAsked_.contains(path) || longFormsAsked_.size() >= kMostLongFormsAsked || g_watch != this)
        return std::nullopt;
    auto* ask = new LongFormAsk{path, {}};
    if (!RunOnThread(LongFormAway, ask)) {
        delete ask;
        return std::nullopt;
    }
    longFormsAsked_.insert(path);
    return std::nullopt;
}

bool RunningWatch::Receive(WPARAM what, LPARAM value) {
    const auto pid = static_cast<DWORD>(value);
    bool changed = false;
    switch (what) {
        case kLongForm: {
            const std::unique_ptr<LongFormAsk> ask(reinterpret_cast<LongFormAsk*>(value));
            longFormsAsked_.erase(ask->path);
            longForms_[ask->path] = ask->longer;
            table_.LongFormCame(ask->path);
            // The entries' own paths are compared afresh too.
            changed = true;
            break;
        }
        case kFolders: {
            const std::unique_ptr<std::vector<FolderWindow>> found(reinterpret_cast<std::vector<FolderWindow>*>(value));
            foldersAsked_ = false;
            FoldersCame(*found);
            if (std::exchange(foldersAgain_, false)) AskFolders();
            break;
        }
        case kChanged:
            posted_ = false;
            changed = true;
            break;
        case kIdle:
            if (auto found = watched_.find(pid); found != watched_.end()) {
                found->second.awaitingIdle = false;
                SeenWindowsOf(pid);
            }
            break;
        case kEnded:
            // Only a process still watched: its handle kept its id from being used again.
            if (watched_.count(pid) != 0) {
                table_.ProcessEnded(pid);
                Unwatch(pid);
            }
            break;
        default:
            break;
    }
    changed = table_.TakeChanged() || changed;
    Settle();
    return changed;
}

void RunningWatch::Notify() {
    if (!table_.TakeChanged() || posted_) return;
    posted_ = PostMessageW(notify_, message_, kChanged, 0) != FALSE;
}

void CALLBACK RunningWatch::OnEvent(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG child, DWORD, DWORD) {
    RunningWatch* watch = g_watch;
    if (watch == nullptr || window == nullptr) return;
    if (event == EVENT_OBJECT_FOCUS) {
        // Wine's one sign of a window coming forward: told for the control inside it.
        if (watch->showTold_) return;
        watch->Seen(GetAncestor(window, GA_ROOT));
        watch->Notify();
        return;
    }
    if (object != OBJID_WINDOW || child != CHILDID_SELF) return;
    const auto id = reinterpret_cast<RunningTable::WindowId>(window);
    switch (event) {
        case EVENT_OBJECT_SHOW:
            if (!watch->showTold_) {
                DWORD pid = 0;
                // Wine tells a program of its own windows even when asked not to.
                watch->showTold_ = GetWindowThreadProcessId(window, &pid) != 0 && pid != GetCurrentProcessId();
            }
            watch->Seen(window);
            break;
        case EVENT_OBJECT_CREATE:
            watch->Seen(window);
            watch->Created(window);
            break;
        case EVENT_OBJECT_NAMECHANGE:
            if (watch->table_.HasWindow(id) && IsFolderWindow(window)) watch->AskFolders();
            break;
        case EVENT_OBJECT_HIDE:
        case EVENT_OBJECT_DESTROY:
            watch->table_.WindowGone(id);
            break;
        case EVENT_SYSTEM_FOREGROUND:
            // Also a way in for a window whose showing was not told.
            watch->Seen(window);
            watch->table_.WindowActivated(id);
            break;
        default:
            break;
    }
    watch->Notify();
}

}  // namespace tavi
