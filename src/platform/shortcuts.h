#pragma once
#include <string>

namespace tavi {

// What a shortcut file (.lnk) points at, with its window style as a run type.
struct ShortcutTarget {
    std::string targetPath;
    std::string arguments;
    std::string runType = "0";
    std::string workingDirectory;
    std::string iconPath;  // the shortcut's own icon; empty: the target's
    int iconIndex = 0;
};

// Reads shortcut files for the core (the shell's link object on Windows).
class Shortcuts {
public:
    virtual ~Shortcuts() = default;
    // False when the file is no shortcut that can be read; fields that cannot
    // be read keep the values already in `target`.
    virtual bool Read(const std::string& path, ShortcutTarget& target) = 0;
};

}  // namespace tavi
