#pragma once
#include "platform/folder_listing.h"

namespace tavi {

// Folders through the C++ library, with the system's wildcard rules for "*"
// and "?" (letters compared without case, "*.*" matching every name). There
// are no short names on the host, so a path is its own short form.
class HostFolderListing final : public FolderListing {
public:
    explicit HostFolderListing(std::string desktop = {}) : desktop_(std::move(desktop)) {}
    std::string DesktopDirectory() override { return desktop_; }
    std::vector<std::string> FindFiles(const std::string& folder, const std::string& pattern) override;
    std::string ShortPathName(const std::string& path) override { return path; }
    std::optional<uint64_t> LastWriteStamp(const std::string& path) override;
    bool MakeFolder(const std::string& path) override;

private:
    std::string desktop_;
};

// Whether a file name matches a wildcard pattern the way FindFirstFile matches long names.
bool MatchesWildcard(std::string_view name, std::string_view pattern);

}  // namespace tavi
