#include "app/running_watch_win.h"

#include <string>

#include "platform/wide_win.h"

namespace tavi {

namespace {

RunningWatch* g_watch = nullptr;

// The windows a taskbar would show: top-level, visible, not tool windows.
bool Counts(HWND window) {
    if (window == nullptr || GetAncestor(window, GA_ROOT) != window || !IsWindowVisible(window)) return false;
    const auto exStyle = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_EXSTYLE));
    return (exStyle & WS_EX_TOOLWINDOW) == 0;
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

}  // namespace

RunningWatch::RunningWatch(HWND notify, UINT changed) : notify_(notify), changed_(changed), table_(ImageOf, LongForm) {
    if (g_watch != nullptr) return;
    g_watch = this;
    // Out of context: the events arrive through this thread's message loop,
    // so the table is only ever touched on the UI thread.
    hooks_[0] = SetWinEventHook(EVENT_OBJECT_CREATE, EVENT_OBJECT_HIDE, nullptr, OnEvent, 0, 0,
                                WINEVENT_OUTOFCONTEXT | WINEVENT_SKIPOWNPROCESS);
    hooks_[1] = SetWinEventHook(EVENT_SYSTEM_FOREGROUND, EVENT_SYSTEM_FOREGROUND, nullptr, OnEvent, 0, 0,
                                WINEVENT_OUTOFCONTEXT | WINEVENT_SKIPOWNPROCESS);
    EnumWindows(
        [](HWND window, LPARAM) -> BOOL {
            if (g_watch != nullptr) g_watch->Seen(window);
            return TRUE;
        },
        0);
    table_.TakeChanged();
}

RunningWatch::~RunningWatch() {
    for (HWINEVENTHOOK hook : hooks_)
        if (hook != nullptr) UnhookWinEvent(hook);
    if (g_watch == this) g_watch = nullptr;
}

void RunningWatch::Seen(HWND window) {
    if (!Counts(window)) return;
    DWORD pid = 0;
    if (GetWindowThreadProcessId(window, &pid) == 0 || pid == GetCurrentProcessId()) return;
    table_.WindowShown(reinterpret_cast<RunningTable::WindowId>(window), pid, StartedAt(pid));
}

void RunningWatch::Notify() {
    if (!table_.TakeChanged() || posted_) return;
    posted_ = PostMessageW(notify_, changed_, 0, 0) != FALSE;
}

void CALLBACK RunningWatch::OnEvent(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG child, DWORD, DWORD) {
    RunningWatch* watch = g_watch;
    if (watch == nullptr || window == nullptr || object != OBJID_WINDOW || child != CHILDID_SELF) return;
    const auto id = reinterpret_cast<RunningTable::WindowId>(window);
    switch (event) {
        case EVENT_OBJECT_SHOW:
        case EVENT_OBJECT_CREATE:
            watch->Seen(window);
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
