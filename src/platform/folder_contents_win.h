#pragma once
#include <windows.h>

#include <functional>

#include "platform/folder_contents.h"

namespace tavi {

// Lists folders with FindFirstFileExW on a worker thread of its own, so that
// a folder on an unreachable network drive holds the caller for no longer
// than the time limit. A worker that outlives its caller's wait finishes on
// its own and frees what it read.
class Win32FolderContents final : public FolderContentsReader {
public:
    // `beforeListing` runs on the worker before it reads the folder; tests
    // hold a worker there to see what a slow folder does.
    explicit Win32FolderContents(std::function<void()> beforeListing = {});
    FolderContents Read(const std::string& folder, size_t cap, std::chrono::milliseconds limit) override;

    // Listings whose memory is still held: those being waited for and the
    // workers given up on that have not finished yet.
    static int ListingsAlive();

private:
    std::function<void()> beforeListing_;
};

// The search pattern for every name in `folder`. A path near MAX_PATH takes
// the "\\?\" form of its full path, which reads past MAX_PATH.
std::wstring FolderSearchPattern(const std::string& folder);
// Lists `folder` on the calling thread, as a worker does.
FolderContents ReadFolderHere(const std::string& folder, size_t cap);

}  // namespace tavi
