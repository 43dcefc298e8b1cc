#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/disk_format.h"
#include "platform/native_window.h"
#include "platform/system_info.h"

namespace tavi {

// One line of the drive list: "(4)E:\ ドライブ" and the number the format
// dialog knows the drive by (A: = 0).
struct FormatDrive {
    std::string caption;
    int number = 0;
};

// What the format dialog `FDFormat` ("ﾃﾞｨｽｸﾌｫｰﾏｯﾄ") shows.
struct FDFormatView {
    std::vector<FormatDrive> drives;  // CmbDriveSelect, in the system's order
    int selected = -1;                // the list's selection, -1 for none
    bool listEnabled = false;
    bool okEnabled = false;
};

// Form_Load: every removable drive, the first one selected; with none the
// list and OK are disabled.
FDFormatView FDFormatLoad(SystemInfo& system);

// Drives came or went while the dialog was open: the list is read again and
// the drive selected before stays selected while it is still there (else
// the first one), so OK never names a drive that has gone.
FDFormatView FDFormatReload(SystemInfo& system, const FDFormatView& shown, int selected);

// The drive at list position `selected` is still one of the system's
// removable drives: checked again at OK, as a notice of its going may be missed.
bool FDFormatDrivePresent(SystemInfo& system, const FDFormatView& view, int selected);

// CmdOK: the shell's format dialog for the drive at list position
// `selected`, owned by the format dialog `owner`, which stays open. Nothing
// happens (and nothing is returned) when no drive is selected.
std::optional<uint32_t> FDFormatOk(const FDFormatView& view, int selected, DiskFormatter& formatter,
                                   NativeWindow owner);

}  // namespace tavi
