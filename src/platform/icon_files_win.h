#pragma once
#include <windows.h>

#include <string>

#include "platform/icon_files.h"

namespace tavi {

class Win32IconFiles final : public IconFiles {
public:
    explicit Win32IconFiles(PictureFetches* workers = nullptr) : workers_(workers) {}
    int IconCount(const std::string& path) override;
    PictureFetches* Workers() override { return workers_; }

private:
    PictureFetches* workers_;
};

// Icon `index` of a file at `size` pixels square, or null. The caller
// destroys it. Ask only for numbers below IconCount: for a file without icons
// Wine can hand back a stray handle.
HICON LoadFileIcon(const std::string& path, int index, int size);

}  // namespace tavi
