#pragma once
#include <windows.h>

#include "platform/common_dialogs.h"

namespace tavi {

// The common dialogs of comdlg32, the help engine and the shell's folder
// browser, through their wide functions. Record sizes are those of the
// structures this program is built with.
class Win32CommonDialogs final : public CommonDialogs {
public:
    FileDialogResult PickFile(const FileDialogRequest& request) override;
    ColorDialogResult PickColor(const ColorDialogRequest& request) override;
    FontDialogResult PickFont(const FontDialogRequest& request) override;
    PrintDialogResult Print(const PrintDialogRequest& request) override;
    DialogOutcome PageSetup(NativeWindow owner, uint32_t flags) override;
    void Help(NativeWindow owner, const std::string& file, uint32_t command) override;
    FolderBrowseResult BrowseForFolder(const FolderBrowseRequest& request) override;
};

}  // namespace tavi
