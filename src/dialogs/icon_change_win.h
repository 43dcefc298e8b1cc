#pragma once
#include <optional>

#include "dialogs/icon_change.h"
#include "platform/file_chooser.h"
#include "platform/icon_files.h"
#include "platform/native_window.h"
#include "platform/platform.h"

namespace tavi {

// Shows the icon picker modally over `owner` on the choice in `input`.
// Returns the new choice on OK, nothing on Cancel (or when the dialog could
// not be shown); the caller stores it where it belongs.
std::optional<IconChoice> ShowIconChange(NativeWindow owner, const IconChangeInput& input, Platform& platform,
                                         FileChooser& chooser, IconFiles& icons);

}  // namespace tavi
