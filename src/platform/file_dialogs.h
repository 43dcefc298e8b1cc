#pragma once
#include <cstdint>
#include <string>

#include "platform/common_dialogs.h"
#include "platform/file_chooser.h"
#include "platform/message_box.h"

namespace tavi {

// The open (or save) dialog over CommonDlg. Returns the chosen full path, or
// empty text when the user cancelled (silently) or the dialog failed (after a
// message box with the reason, captioned with the dialog's title).
std::string ShowFileDialog(CommonDialogs& dialogs, MessageBoxes& messages, const FileChoice& choice, bool save);

// The folder browser: the chosen folder's path, its display name when it has
// no path, empty text when the user cancelled.
std::string BrowseForFolder(CommonDialogs& dialogs, NativeWindow owner, int32_t rootFolder, const std::string& prompt,
                            uint32_t flags);

// Only folders of the file system can be chosen.
inline constexpr uint32_t kBifReturnOnlyFileSystemFolders = 0x1;

// The dialogs' file chooser: files through the open dialog, folders of the
// file system from the desktop down.
class DialogFileChooser final : public FileChooser {
public:
    DialogFileChooser(CommonDialogs& dialogs, MessageBoxes& messages) : dialogs_(dialogs), messages_(messages) {}
    std::string ChooseFile(const FileChoice& choice) override;
    std::string ChooseFolder(NativeWindow owner, const std::string& prompt) override;

private:
    CommonDialogs& dialogs_;
    MessageBoxes& messages_;
};

}  // namespace tavi
