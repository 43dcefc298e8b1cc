#pragma once
#include <windows.h>

#include <string>

#include "platform/message_box.h"

namespace tavi {

// The bar's registration with the update checker at start, through the
// registry of the current user: the running program's own name, path and
// version resource. Every failure is ignored.
void RegisterUpCheckAtStart(MessageBoxes& messages, const std::string& programFolder);

}  // namespace tavi
