#pragma once
#include <cstdint>

namespace tavi {

// A window of the program as the core passes it around: the owner of a dialog
// or message box. The core never looks inside; Win32 views cast it to HWND.
using NativeWindow = std::uintptr_t;

}  // namespace tavi
