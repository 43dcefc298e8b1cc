#include "platform/folder_watch_win.h"

#include <cwctype>
#include <memory>
#include <utility>

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

// One read the system holds. It outlives a Stop until the system hands it
// back (cancelled), which frees it; `watch` is then null.
struct FolderWatch::Read {
    OVERLAPPED overlapped{};  // first: the completion finds the read from it
    FolderWatch* watch = nullptr;
    std::vector<DWORD> buffer = std::vector<DWORD>(kBufferBytes / sizeof(DWORD));  // DWORD-aligned, as the notices are
};

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
    auto read = std::make_unique<Read>();
    read->watch = this;
    if (!Issue(*read)) {
        folder_.Reset();
        return false;
    }
    read_ = read.release();  // the system's until its completion
    // A file changed between its reading at start and this moment sent no
    // notice: the files are compared with what was read once now.
    Post();
    return true;
}

void FolderWatch::Stop() {
    if (read_) {
        // The completion, cancelled, frees the read whenever it runs.
        read_->watch = nullptr;
        CancelIoEx(folder_.Get(), &read_->overlapped);
        read_ = nullptr;
    }
    folder_.Reset();
}

bool FolderWatch::Issue(Read& read) {
    read.overlapped = OVERLAPPED{};
    return ReadDirectoryChangesW(folder_.Get(), read.buffer.data(), kBufferBytes, FALSE, kNotices, nullptr,
                                 &read.overlapped, Completed) != FALSE;
}

void CALLBACK FolderWatch::Completed(DWORD error, DWORD bytes, OVERLAPPED* overlapped) {
    // Handed back by the system: freed here unless it is issued again.
    std::unique_ptr<Read> read(reinterpret_cast<Read*>(overlapped));
    FolderWatch* watch = read->watch;
    if (!watch) return;
    if (error == ERROR_SUCCESS && bytes > 0) {
        const auto* at = reinterpret_cast<const unsigned char*>(read->buffer.data());
        for (;;) {
            const auto& notice = *reinterpret_cast<const FILE_NOTIFY_INFORMATION*>(at);
            if (watch->Watched(notice)) watch->Post();
            if (notice.NextEntryOffset == 0) break;
            at += notice.NextEntryOffset;
        }
    } else {
        // Notices were dropped (the buffer overflowed, ERROR_NOTIFY_ENUM_DIR)
        // or the folder went: the files are looked at again either way.
        watch->Post();
    }
    const bool goOn = error == ERROR_SUCCESS || error == ERROR_NOTIFY_ENUM_DIR;
    if (goOn && watch->Issue(*read)) {
        (void)read.release();
        return;
    }
    // The folder went: nothing more will come.
    watch->read_ = nullptr;
}

bool FolderWatch::Watched(const FILE_NOTIFY_INFORMATION& notice) const {
    const size_t length = notice.FileNameLength / sizeof(wchar_t);
    for (const std::wstring& name : names_)
        if (SameName(notice.FileName, length, name)) return true;
    return false;
}

void FolderWatch::Post() {
    if (!std::exchange(posted_, true)) PostMessageW(window_, message_, 0, 0);
}

}  // namespace tavi
