#pragma once
#include "app/menu_main.h"
#include "platform/message_box.h"
#include "platform/messages.h"

namespace tavi {

// Tells the user, once, that a change could not be saved: a folder that
// cannot be written, a full disk or a file another program holds would
// otherwise lose it without a word. The next save that succeeds makes a
// later failure heard again. Returns `saved`. A copy that could not be kept
// in the backup folder is told the same way, once.
// `told`: the text, the program's folder follows it.
bool NoteSave(MenuMain& state, MessageBoxes& messages, bool saved, UiText told = text::kSaveFailed);
// Tells the user that `path` exists but could not be read, and that it is
// left as it is; the caller tells each file once.
void TellUnreadable(MessageBoxes& messages, const std::string& path);

}  // namespace tavi
