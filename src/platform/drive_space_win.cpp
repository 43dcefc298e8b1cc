#include <windows.h>

#include "platform/tool_adapters_win.h"
#include "platform/wide_win.h"

namespace tavi {

std::optional<DriveSpace> Win32DriveSpaces::SpaceOf(const std::string& root) {
    QuietDriveErrors quiet;
    ULARGE_INTEGER available{}, total{}, free{};
    if (!GetDiskFreeSpaceExW(Widen(root).c_str(), &available, &total, &free)) return std::nullopt;
    return DriveSpace{total.QuadPart, free.QuadPart};
}

}  // namespace tavi
