#include <windows.h>

#include <shlobj.h>

#include "platform/tool_adapters_win.h"

namespace tavi {

uint32_t Win32DiskFormatter::FormatDrive(NativeWindow owner, int drive) {
    if (drive < 0 || drive > 25) return static_cast<uint32_t>(SHFMT_ERROR);
    return static_cast<uint32_t>(
        SHFormatDrive(reinterpret_cast<HWND>(owner), static_cast<UINT>(drive), SHFMT_ID_DEFAULT, SHFMT_OPT_FULL));
}

}  // namespace tavi
