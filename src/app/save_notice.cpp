#include "app/save_notice.h"

#include "app/messages.h"

namespace tavi {

bool NoteSave(MenuMain& state, MessageBoxes& messages, bool saved) {
    if (saved) {
        state.SaveFailed = false;
        return true;
    }
    if (state.SaveFailed) return false;
    state.SaveFailed = true;
    (void)messages.Show({std::string(text::kSaveFailed) + state.ApplicationPath, std::string(text::kMessageCaption),
                         MessageIcon::Warning, MessageButtons::Ok});
    return false;
}

}  // namespace tavi
