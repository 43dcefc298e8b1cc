#pragma once
#include "app/menu_main.h"
#include "platform/file_details.h"
#include "platform/icon_files.h"
#include "platform/native_window.h"
#include "platform/registry.h"

namespace tavi {

// Shows the properties of the file of entry `index` modally over
// `owner`; nothing when there is no such entry. It changes nothing.
void ShowFileInformation(NativeWindow owner, const MenuMain& state, FileDetails& details, Registry& registry,
                        IconFiles& icons, int index);

}  // namespace tavi
