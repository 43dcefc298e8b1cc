#pragma once
#include <windows.h>

#include "platform/folder_listing.h"

namespace tavi {

class Win32FolderListing final : public FolderListing {
public:
    std::string DesktopDirectory() override;
    std::vector<std::string> FindFiles(const std::string& folder, const std::string& pattern) override;
    std::string ShortPathName(const std::string& path) override;
    std::optional<uint64_t> LastWriteStamp(const std::string& path) override;
    bool MakeFolder(const std::string& path) override;
};

// A file's or folder's last write (FILETIME units), or nothing when it
// cannot be read or is less than three seconds old: a file system that keeps
// times to two seconds may change it again within one stamp.
std::optional<uint64_t> TrustedLastWrite(const std::string& path);

}  // namespace tavi
