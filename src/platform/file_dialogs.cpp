#include "platform/file_dialogs.h"

#include <algorithm>
#include <limits>

#include "platform/text.h"
#include "platform/common_dlg.h"

namespace tavi {

namespace {

constexpr uint32_t kOpenFlags = kOfnLongNames | kOfnFileMustExist | kOfnPathMustExist | kOfnHideReadOnly;
constexpr uint32_t kSaveFlags = kOfnLongNames | kOfnHideReadOnly;

int16_t FilterIndexOf(int index) {
    return static_cast<int16_t>(
        std::clamp(index, 0, static_cast<int>(std::numeric_limits<int16_t>::max())));
}

}  // namespace

std::string ShowFileDialog(CommonDialogs& dialogs, MessageBoxes& messages, const FileChoice& choice, bool save) {
    CommonDlg dialog(dialogs);
    dialog.SetForm(choice.owner);
    dialog.SetDialogTitle(choice.title);
    // Browsing must not move the program's current folder.
    dialog.SetFlags((save ? kSaveFlags : kOpenFlags) | kOfnNoChangeDir);
    dialog.SetFilter(choice.filter);
    std::string extension = GetExtension(choice.initialName);
    if (!extension.empty()) extension.erase(0, 1);
    dialog.SetDefaultExt(extension);
    dialog.SetInitDir(choice.initialFolder);
    dialog.SetFileName(choice.initialName);
    dialog.SetFilterIndex(FilterIndexOf(choice.filterIndex));
    dialog.SetCancelError(true);

    const auto show = [&] { save ? dialog.ShowSave() : dialog.ShowOpen(); };
    show();
    if (dialog.ErrNumber() == kDlgErrInvalidFileName) {
        // The system refused the initial name; the same name would fail again.
        dialog.SetFileName("");
        dialog.SetFilterIndex(FilterIndexOf(choice.filterIndex));
        show();
    }
    if (dialog.ErrNumber() != 0) {
        if (dialog.ErrNumber() != kDlgErrCancelled)
            messages.Show({dialog.ErrDescription(), choice.title, MessageIcon::Error, MessageButtons::Ok});
        return {};
    }
    return dialog.FileName();
}

std::string BrowseForFolder(CommonDialogs& dialogs, NativeWindow owner, int32_t rootFolder, const std::string& prompt,
                            uint32_t flags) {
    const FolderBrowseResult result = dialogs.BrowseForFolder({owner, rootFolder, prompt, flags});
    if (!result.chosen) return {};
    return result.path.empty() ? result.displayName : result.path;
}

std::string DialogFileChooser::ChooseFile(const FileChoice& choice) {
    return ShowFileDialog(dialogs_, messages_, choice, false);
}

std::string DialogFileChooser::ChooseFolder(NativeWindow owner, const std::string& prompt) {
    return BrowseForFolder(dialogs_, owner, 0, prompt, kBifReturnOnlyFileSystemFolders);
}

}  // namespace tavi
