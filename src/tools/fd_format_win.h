#pragma once
#include "platform/disk_format.h"
#include "platform/native_window.h"
#include "platform/system_info.h"

namespace tavi {

// Shows the format dialog `FDFormat` modally over `owner` until it is
// cancelled; each OK hands the chosen drive to the shell's format dialog.
// Pausing the bar's timer around it is the caller's part.
void ShowFDFormat(NativeWindow owner, SystemInfo& system, DiskFormatter& formatter);

}  // namespace tavi
