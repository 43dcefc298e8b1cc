#pragma once
#include <windows.h>

#include "platform/common_dialogs.h"

namespace tavi {

// The file dialogs of comdlg32 and the shell's folder
// browser, through their wide functions. Record sizes are those of the
// structures this program is built with.
class Win32CommonDialogs final : public CommonDialogs {
public:
    FileDialogResult PickFile(const FileDialogRequest& request) override;
    FolderBrowseResult BrowseForFolder(const FolderBrowseRequest& request) override;
};

}  // namespace tavi
