#pragma once
// The common dialogs in memory: each records its requests and answers with
// the results queued for it, or as a cancelled dialog when none are left.
#include <deque>
#include <string>
#include <vector>

#include "platform/common_dialogs.h"

namespace tavi::fakes {

class FakeCommonDialogs final : public CommonDialogs {
public:
    std::vector<FileDialogRequest> fileRequests;
    std::vector<FolderBrowseRequest> folderRequests;

    std::deque<FileDialogResult> fileResults;
    std::deque<FolderBrowseResult> folderResults;
    // The next file dialog fails to get its buffers.
    bool fileOutOfMemory = false;

    FileDialogResult PickFile(const FileDialogRequest& request) override;
    FolderBrowseResult BrowseForFolder(const FolderBrowseRequest& request) override;

    // Calls of every kind, for "nothing was shown" checks.
    size_t CallCount() const;

    // A confirmed file dialog whose buffer holds `selection` written over the
    // request's initial text, the way the system writes it.
    static FileDialogResult Chose(const FileDialogRequest& request, const std::string& selection,
                                  bool severalFiles = false);
    static FileDialogResult Failed(uint32_t extendedError);
};

}  // namespace tavi::fakes
