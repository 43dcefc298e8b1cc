#pragma once
#include <optional>

#include "app/ex_menu_store.h"
#include "platform/file_chooser.h"
#include "platform/icon_files.h"
#include "platform/native_window.h"
#include "platform/platform.h"

namespace tavi {

// Shows the member dialog modally over `owner` on `member`. Returns the
// member as OK stores it, nothing on Cancel (or when the dialog could not be
// shown). Storing it is the caller's part.
std::optional<ExMenuEntry> ShowNewAppEx(NativeWindow owner, const ExMenuEntry& member, Platform& platform,
                                        FileChooser& chooser, IconFiles& icons);

}  // namespace tavi
