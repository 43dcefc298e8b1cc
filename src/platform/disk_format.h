#pragma once
#include <cstdint>

#include "platform/native_window.h"

namespace tavi {

// The shell's format dialog.
class DiskFormatter {
public:
    virtual ~DiskFormatter() = default;
    // Formats drive `drive` (A: = 0) with the system's default capacity and
    // without the quick option, in a dialog owned by `owner`; returns when it
    // closes, with the shell's answer (0xFFFFFFFF error, 0xFFFFFFFE
    // cancelled, 0xFFFFFFFD the drive cannot be formatted).
    virtual uint32_t FormatDrive(NativeWindow owner, int drive) = 0;
};

}  // namespace tavi
