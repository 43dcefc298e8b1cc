#pragma once
#include <string>

#include "platform/message_box.h"
#include "platform/messages.h"

namespace tavi {

// Tells the user, once, that a change could not be saved: a folder that
// cannot be written, a full disk or a file another program holds would
// otherwise lose it without a word. The next save that succeeds makes a
// later failure heard again. A copy that could not be kept in the backup
// folder is told the same way, once. The lists and the settings share one,
// so one cause is told once whichever file met it.
class SaveNotices {
public:
    // Returns `saved`. `told`: the text, the program's folder follows it.
    bool Note(MessageBoxes& messages, const std::string& folder, bool saved, UiText told = text::kSaveFailed);
    bool SaveFailed() const { return saveFailed_; }
    // Raised and lowered by the backup copies at each copy due.
    bool& BackupFailure() { return backupFailed_; }

private:
    bool saveFailed_ = false;
    bool backupFailed_ = false;
    bool backupFailureTold_ = false;
};

// Tells the user that `path` exists but could not be read, and that it is
// left as it is; the caller tells each file once.
void TellUnreadable(MessageBoxes& messages, const std::string& path);

}  // namespace tavi
