#pragma once
#include <string>

#include "platform/native_window.h"

namespace tavi {

// One request for the shared open-file dialog.
struct FileChoice {
    NativeWindow owner = 0;
    std::string title;
    std::string filter;       // "Exe Files (*.exe)|*.exe|All Files (*.*)|*.*"
    std::string initialName;  // file name only
    int filterIndex = 1;
    std::string initialFolder;
};

// What the dialogs ask when the user browses for a file or a folder. Both
// return the full path, or empty text when the user cancelled (or the system
// dialog failed, which the implementation has already told the user).
class FileChooser {
public:
    virtual ~FileChooser() = default;
    virtual std::string ChooseFile(const FileChoice& choice) = 0;
    virtual std::string ChooseFolder(NativeWindow owner, const std::string& prompt) = 0;
};

}  // namespace tavi
