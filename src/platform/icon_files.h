#pragma once
#include <string>

namespace tavi {

class PictureFetches;

// What the dialogs ask of files that hold icons (programs, libraries, icon files).
class IconFiles {
public:
    virtual ~IconFiles() = default;
    // How many icons the file holds; 0 when it holds none or cannot be read.
    virtual int IconCount(const std::string& path) = 0;
    // The workers that count and draw a file's icons away from the UI
    // thread, as a file on a drive that does not answer would hold it; none:
    // the dialog asks IconCount itself.
    virtual PictureFetches* Workers() { return nullptr; }
};

}  // namespace tavi
