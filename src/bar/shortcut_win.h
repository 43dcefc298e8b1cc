#pragma once
#include <string>

#include "platform/shortcuts.h"

namespace tavi {

// Reads a shortcut through the shell's link object, with environment strings
// in its target and working folder expanded. Fields that cannot be read keep
// the values already in `target`. COM must be initialised on the thread.
bool ReadShortcut(const std::string& shortcutPath, ShortcutTarget& target);

// Environment strings ("%ProgramFiles%" and the like) replaced by their
// values; a name that is no variable stays as it is. The raw path of a link
// keeps them, and the shell does not expand them when it opens the path.
std::string ExpandEnvironment(const std::string& text);

class Win32Shortcuts final : public Shortcuts {
public:
    bool Read(const std::string& path, ShortcutTarget& target) override { return ReadShortcut(path, target); }
};

}  // namespace tavi
