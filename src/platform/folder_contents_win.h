#pragma once
#include <windows.h>

#include <functional>
#include <memory>

#include "platform/folder_contents.h"
#include "platform/mailbox_win.h"

namespace tavi {

using LateListings = WorkerMailbox<std::string, FolderContents>;

// Lists folders with FindFirstFileExW on a worker thread of its own, so that
// a folder on an unreachable network drive holds the caller for no longer
// than the time limit. A worker that outlives its caller's wait finishes on
// its own: what it read is handed to the listener through a message-only
// window of the listener's thread, or freed when nobody listens any more.
class Win32FolderContents final : public FolderContentsReader {
public:
    // `beforeListing` runs on the worker before it reads the folder; tests
    // hold a worker there to see what a slow folder does.
    explicit Win32FolderContents(std::function<void()> beforeListing = {});
    ~Win32FolderContents() override;
    Win32FolderContents(const Win32FolderContents&) = delete;
    Win32FolderContents& operator=(const Win32FolderContents&) = delete;

    FolderContents Read(const std::string& folder, size_t cap, std::chrono::milliseconds limit) override;
    void TellLate(LateListingListener* listener) override;
    // The late listings that came, handed to the listener now (as the
    // window does on its message).
    void HandOnLate();

    // Listings whose memory is still held: those being waited for and the
    // workers given up on that have not finished yet.
    static int ListingsAlive();

private:
    std::function<void()> beforeListing_;
    std::function<void()> handOn_ = [this] { HandOnLate(); };
    std::shared_ptr<LateListings> late_;
    LateListingListener* listener_ = nullptr;
};

// The search pattern for every name in `folder`. A path near MAX_PATH takes
// the "\\?\" form of its full path, which reads past MAX_PATH.
std::wstring FolderSearchPattern(const std::string& folder);
// Lists `folder` on the calling thread, as a worker does.
FolderContents ReadFolderHere(const std::string& folder, size_t cap);

}  // namespace tavi
