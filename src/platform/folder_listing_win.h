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
};

}  // namespace tavi
