#include "app/save_notice.h"

#include "app/backup_names.h"

namespace tavi {

void TellUnreadable(MessageBoxes& messages, const std::string& path) {
    (void)messages.Show({std::string(text::kFileUnreadableBefore) + path + std::string(text::kFileUnreadableAfter),
                         std::string(text::kMessageCaption), MessageIcon::Warning, MessageButtons::Ok});
}

bool SaveNotices::Note(MessageBoxes& messages, const std::string& folder, bool saved, UiText told) {
    // A copy of the list that could not be kept is told once, like a failed
    // save; a copy kept again makes a later failure heard.
    if (!backupFailed_) {
        backupFailureTold_ = false;
    } else if (!backupFailureTold_) {
        backupFailureTold_ = true;
        (void)messages.Show({std::string(text::kBackupFailed) + BackupFolderPath(folder),
                             std::string(text::kMessageCaption), MessageIcon::Warning, MessageButtons::Ok});
    }
    if (saved) {
        saveFailed_ = false;
        return true;
    }
    if (saveFailed_) return false;
    saveFailed_ = true;
    (void)messages.Show({std::string(told) + folder, std::string(text::kMessageCaption), MessageIcon::Warning,
                         MessageButtons::Ok});
    return false;
}

}  // namespace tavi
