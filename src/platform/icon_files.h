#pragma once
#include <string>

namespace tavi {

// What the dialogs ask of files that hold icons (programs, libraries, icon files).
class IconFiles {
public:
    virtual ~IconFiles() = default;
    // How many icons the file holds; 0 when it holds none or cannot be read.
    virtual int IconCount(const std::string& path) = 0;
};

}  // namespace tavi
