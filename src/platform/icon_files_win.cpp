#include "platform/icon_files_win.h"

#include <shellapi.h>
#include <shlobj.h>

#include <climits>

#include "platform/wide_win.h"

namespace tavi {

int Win32IconFiles::IconCount(const std::string& path) {
    if (path.empty()) return 0;
    const UINT count = ExtractIconExW(Widen(path).c_str(), -1, nullptr, nullptr, 0);
    // UINT_MAX is the old "not a file with icons" answer.
    return count > INT_MAX ? 0 : static_cast<int>(count);
}

HICON LoadFileIcon(const std::string& path, int index, int size) {
    const std::wstring wide = Widen(path);
    HICON icon = nullptr;
    // The shell picks the image nearest the size from the icon's group, so a
    // high-dpi dialog gets a sharp picture rather than a stretched 32 x 32 one.
    if (SHDefExtractIconW(wide.c_str(), index, 0, &icon, nullptr, static_cast<UINT>(size)) == S_OK && icon)
        return icon;
    if (ExtractIconExW(wide.c_str(), index, &icon, nullptr, 1) == 0) return nullptr;
    return icon;
}

}  // namespace tavi
