#include "platform/folder_contents_win.h"

#include <algorithm>
#include <atomic>
#include <map>
#include <memory>
#include <mutex>
#include <utility>
#include <vector>

#include "platform/run_on_thread_win.h"
#include "platform/mailbox_win.h"
#include "platform/wide_win.h"

namespace tavi {


namespace {

// Listings not yet freed. Outside a call, each is a worker given up on and
// still blocked in the file system, most likely on a dead network drive.
// While one is stuck on a drive or share, a further listing there is not
// even tried (and not waited for): reopening a menu on it cannot pile up
// threads, and folders elsewhere are listed as ever. Past kMostListingsStuck
// in all, none is started anywhere.
constexpr int kMostListingsStuck = 16;
std::atomic<int> listingsAlive{0};
std::mutex rootsMutex;
std::map<std::string, int> rootsStuck;  // listings given up on and not yet ended, per FolderRoot

bool RootStuck(const std::string& root) {
    const std::lock_guard<std::mutex> lock(rootsMutex);
    return rootsStuck.contains(root);
}

bool IsFolder(const std::string& path) {
    const DWORD attributes = GetFileAttributesW(Widen(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

FolderEntry EntryOf(const WIN32_FIND_DATAW& found) {
    const DWORD attributes = found.dwFileAttributes;
    FolderEntry entry;
    entry.name = Narrow(found.cFileName);
    entry.folder = attributes & FILE_ATTRIBUTE_DIRECTORY;
    entry.hidden = attributes & FILE_ATTRIBUTE_HIDDEN;
    entry.system = attributes & FILE_ATTRIBUTE_SYSTEM;
    // For a reparse point the search data carries its tag in dwReserved0.
    entry.link = (attributes & FILE_ATTRIBUTE_REPARSE_POINT) && IsReparseTagNameSurrogate(found.dwReserved0);
    return entry;
}

struct FindHandle {
    HANDLE handle;
    ~FindHandle() {
        if (handle != INVALID_HANDLE_VALUE) FindClose(handle);
    }
};

// What one worker reads, shared by the worker and the caller waiting for
// it; whichever lets go last frees it.
struct Listing {
    std::string folder;
    std::string root;
    size_t cap = 0;
    std::function<void()> beforeListing;
    std::shared_ptr<LateListings> late;
    HANDLE done = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    FolderContents contents;

    bool givenUp = false;   // under rootsMutex
    bool finished = false;  // under rootsMutex

    explicit Listing(std::string onRoot) : root(std::move(onRoot)) { ++listingsAlive; }
    ~Listing() {
        if (done) CloseHandle(done);
        --listingsAlive;
        const std::lock_guard<std::mutex> lock(rootsMutex);
        if (givenUp && --rootsStuck[root] <= 0) rootsStuck.erase(root);
    }
    // The caller waits no longer: until the worker ends, its drive counts as
    // stuck. False when the worker finished first: the contents are there.
    bool GiveUp() {
        const std::lock_guard<std::mutex> lock(rootsMutex);
        if (finished) return false;
        givenUp = true;
        ++rootsStuck[root];
        return true;
    }
    // The worker has read the folder: true when the caller gave up on it.
    bool Finish() {
        const std::lock_guard<std::mutex> lock(rootsMutex);
        finished = true;
        return givenUp;
    }
    Listing(const Listing&) = delete;
    Listing& operator=(const Listing&) = delete;
};

DWORD WINAPI ListOnWorker(void* parameter) {
    const std::unique_ptr<std::shared_ptr<Listing>> owned(static_cast<std::shared_ptr<Listing>*>(parameter));
    Listing& listing = **owned;
    try {
        if (listing.beforeListing) listing.beforeListing();
        listing.contents = ReadFolderHere(listing.folder, listing.cap);
    } catch (...) {
        listing.contents = FolderContents{};  // out of memory: as unreadable
    }
    // The caller reads the contents only if it still waits; else they go to
    // the listener, if one is left.
    if (listing.Finish() && listing.late) {
        try {
            listing.late->Put(listing.folder, std::move(listing.contents));
        } catch (...) {
            // Out of memory: the folder shows as silent until it is asked again.
        }
    }
    SetEvent(listing.done);
    return 0;
}

FolderContents NoAnswer() { return FolderContents{FolderReadOutcome::TimedOut, {}, false}; }

}  // namespace

std::wstring FolderSearchPattern(const std::string& folder) {
    std::wstring path = Widen(folder);
    if (path.size() + 2 >= MAX_PATH && !path.starts_with(L"\\\\?\\") && !path.starts_with(L"\\\\.\\")) {
        // The long form is taken as it stands: no "/", "." or "..".
        const std::wstring full = GrowingWideString(
            [&](wchar_t* buffer, DWORD size) { return GetFullPathNameW(path.c_str(), size, buffer, nullptr); });
        if (!full.empty()) path = full.starts_with(L"\\\\") ? L"\\\\?\\UNC\\" + full.substr(2) : L"\\\\?\\" + full;
    }
    if (!path.empty() && path.back() != L'\\') path += L'\\';
    return path + L'*';
}

FolderContents ReadFolderHere(const std::string& folder, size_t cap) {
    FolderContents contents;
    if (folder.empty()) return contents;  // "*" alone would list the current folder
    WIN32_FIND_DATAW found{};
    const FindHandle search{FindFirstFileExW(FolderSearchPattern(folder).c_str(), FindExInfoBasic, &found,
                                             FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH)};
    if (search.handle == INVALID_HANDLE_VALUE) {
        // A drive's root has no "." entry, so an empty one finds nothing at all.
        if (GetLastError() == ERROR_FILE_NOT_FOUND && IsFolder(folder)) contents.outcome = FolderReadOutcome::Listed;
        return contents;
    }
    contents.outcome = FolderReadOutcome::Listed;
    size_t counted = 0;
    do {
        const std::wstring_view name = found.cFileName;
        if (name == L"." || name == L"..") continue;
        FolderEntry entry = EntryOf(found);
        const bool shown = !entry.hidden && !entry.system;
        contents.entries.push_back(std::move(entry));
        if (shown && ++counted >= cap) {
            contents.cutShort = true;
            return contents;
        }
    } while (FindNextFileW(search.handle, &found));
    // A share that drops part way: what was read is shown, and the rest is
    // known to be missing.
    if (GetLastError() != ERROR_NO_MORE_FILES) contents.cutShort = true;
    return contents;
}

Win32FolderContents::Win32FolderContents(std::function<void()> beforeListing)
    : beforeListing_(std::move(beforeListing)), late_(std::make_shared<LateListings>()) {}

Win32FolderContents::~Win32FolderContents() { TellLate(nullptr); }

void Win32FolderContents::TellLate(LateListingListener* listener) {
    listener_ = listener;
    if (!listener) {
        if (const HWND gone = late_->Close()) DestroyWindow(gone);
        return;
    }
    if (!late_->IsOpen()) late_->Open(CreateMailboxWindow(&handOn_));
}

void Win32FolderContents::HandOnLate() {
    auto listings = late_->Take();
    for (auto& [folder, contents] : listings)
        if (listener_) listener_->LateListing(folder, std::move(contents));
}

int Win32FolderContents::ListingsAlive() { return listingsAlive; }

FolderContents Win32FolderContents::Read(const std::string& folder, size_t cap, std::chrono::milliseconds limit) {
    const std::string root = FolderRoot(folder);
    if (listingsAlive >= kMostListingsStuck || RootStuck(root)) return NoAnswer();
    try {
        auto listing = std::make_shared<Listing>(root);
        if (!listing->done) return FolderContents{};
        listing->folder = folder;
        listing->cap = cap;
        listing->beforeListing = beforeListing_;
        listing->late = late_;
        auto* forWorker = new std::shared_ptr<Listing>(listing);
        if (!RunOnThread(ListOnWorker, forWorker)) {
            delete forWorker;
            return FolderContents{};
        }
        const DWORD wait = static_cast<DWORD>(std::clamp<long long>(limit.count(), 0, INFINITE - 1));
        if (WaitForSingleObject(listing->done, wait) != WAIT_OBJECT_0 && listing->GiveUp()) return NoAnswer();
        return std::move(listing->contents);
    } catch (...) {
        return FolderContents{};
    }
}

}  // namespace tavi
