#include "platform/folder_watch_win.h"

#include <cwctype>

#include "platform/wide_win.h"

namespace tavi {

namespace {

constexpr DWORD kNotices = FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_LAST_WRITE | FILE_NOTIFY_CHANGE_SIZE;
constexpr DWORD kBufferBytes = 16 * 1024;

bool SameName(const wchar_t* a, size_t aLength, const std::wstring& b) {
    if (aLength != b.size()) return false;
    for (size_t i = 0; i < aLength; ++i)
        if (std::towupper(a[i]) != std::towupper(b[i])) return false;
    return true;
}

}  // namespace

bool FolderWatch::Start(const std::string& folder, std::vector<std::string> names, HWND window, UINT message) {
    Stop();
    names_.clear();
    for (const std::string& name : names) names_.push_back(Widen(name));
    window_ = window;
    message_ = message;
    posted_ = false;
    // Shared every way, so the watch never stands in the way of a rename,
    // a delete or the folder's own removal.
    HANDLE handle = CreateFileW(Widen(folder).c_str(), FILE_LIST_DIRECTORY,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OVERLAPPED, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return false;
    folder_.Reset(handle);
    stop_.Reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!stop_) return false;
    thread_.Reset(CreateThread(nullptr, 64 * 1024, Run, this, STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr));
    return static_cast<bool>(thread_);
}

void FolderWatch::Stop() {
    if (thread_) {
        SetEvent(stop_.Get());
        WaitForSingleObject(thread_.Get(), INFINITE);
        thread_.Reset();
    }
    folder_.Reset();
    stop_.Reset();
}

DWORD WINAPI FolderWatch::Run(void* self) {
    static_cast<FolderWatch*>(self)->Watch();
    return 0;
}

bool FolderWatch::Watched(const FILE_NOTIFY_INFORMATION& notice) const {
    const size_t length = notice.FileNameLength / sizeof(wchar_t);
    for (const std::wstring& name : names_)
        if (SameName(notice.FileName, length, name)) return true;
    return false;
}

void FolderWatch::Post() {
    if (!posted_.exchange(true)) PostMessageW(window_, message_, 0, 0);
}

void FolderWatch::Watch() {
    // DWORD-aligned, as the notices are.
    std::vector<DWORD> buffer(kBufferBytes / sizeof(DWORD));
    OwnedHandle done(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!done) return;
    for (bool first = true;; first = false) {
        OVERLAPPED overlapped{};
        overlapped.hEvent = done.Get();
        ResetEvent(done.Get());
        if (!ReadDirectoryChangesW(folder_.Get(), buffer.data(), kBufferBytes, FALSE, kNotices, nullptr, &overlapped,
                                   nullptr))
            return;  // the folder went: nothing more will come
        // A file changed between its reading at start and this moment sent
        // no notice: the files are compared with what was read once now.
        if (first) Post();
        const HANDLE waits[] = {stop_.Get(), done.Get()};
        if (WaitForMultipleObjects(2, waits, FALSE, INFINITE) != WAIT_OBJECT_0 + 1) {
            CancelIoEx(folder_.Get(), &overlapped);
            DWORD ignored = 0;
            GetOverlappedResult(folder_.Get(), &overlapped, &ignored, TRUE);
            return;
        }
        DWORD bytes = 0;
        if (!GetOverlappedResult(folder_.Get(), &overlapped, &bytes, FALSE)) {
            // Notices were dropped (ERROR_NOTIFY_ENUM_DIR) or the folder went:
            // the files are looked at again either way.
            Post();
            if (GetLastError() != ERROR_NOTIFY_ENUM_DIR) return;
            continue;
        }
        if (bytes == 0) {  // the buffer overflowed: every file may have changed
            Post();
            continue;
        }
        const auto* at = reinterpret_cast<const unsigned char*>(buffer.data());
        for (;;) {
            const auto& notice = *reinterpret_cast<const FILE_NOTIFY_INFORMATION*>(at);
            if (Watched(notice)) Post();
            if (notice.NextEntryOffset == 0) break;
            at += notice.NextEntryOffset;
        }
    }
}

}  // namespace tavi
