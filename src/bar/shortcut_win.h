#pragma once
#include <string>

namespace tavi {

// What a shortcut file (.lnk) points at, with its window style as a run type.
struct ShortcutTarget {
    std::string targetPath;
    std::string arguments;
    std::string runType = "0";
    std::string workingDirectory;
};

// Reads a shortcut through the shell's link object. Fields that cannot be
// read keep the values already in `target`.
bool ReadShortcut(const std::string& shortcutPath, ShortcutTarget& target);

}  // namespace tavi
