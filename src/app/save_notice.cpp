#include "app/save_notice.h"

#include "app/backup_names.h"
#include "platform/messages.h"

namespace tavi {

namespace {

// A copy of the list that could not be kept is told once, like a failed
// save; a copy kept again makes a later failure heard.
void NoteBackup(MenuMain& state, MessageBoxes& messages) {
    if (!state.BackupFailed) {
        state.BackupFailureTold = false;
        return;
    }
    if (state.BackupFailureTold) return;
    state.BackupFailureTold = true;
    (void)messages.Show({std::string(text::kBackupFailed) + BackupFolderPath(state.ApplicationPath),
                         std::string(text::kMessageCaption), MessageIcon::Warning, MessageButtons::Ok});
}

}  // namespace

void TellUnreadable(MessageBoxes& messages, const std::string& path) {
    (void)messages.Show({std::string(text::kFileUnreadableBefore) + path + std::string(text::kFileUnreadableAfter),
                         std::string(text::kMessageCaption), MessageIcon::Warning, MessageButtons::Ok});
}

bool NoteSave(MenuMain& state, MessageBoxes& messages, bool saved, UiText told) {
    NoteBackup(state, messages);
    if (saved) {
        state.SaveFailed = false;
        return true;
    }
    if (state.SaveFailed) return false;
    state.SaveFailed = true;
    (void)messages.Show({std::string(told) + state.ApplicationPath, std::string(text::kMessageCaption),
                         MessageIcon::Warning, MessageButtons::Ok});
    return false;
}

}  // namespace tavi
