#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tavi {

// Folder contents for the menus' run-time lists and the backup folder. Paths are UTF-8 with "\".
class FolderListing {
public:
    virtual ~FolderListing() = default;
    // The user's desktop folder; empty when the shell cannot name one.
    virtual std::string DesktopDirectory() = 0;
    // Names in `folder` matching `pattern` ("*.*", "*.scr"), files and folders
    // alike, in the order the system lists them; "." and ".." come as the
    // system gives them. Empty when the folder cannot be read.
    virtual std::vector<std::string> FindFiles(const std::string& folder, const std::string& pattern) = 0;
    // The short (8.3) form of an existing path; the path itself when the
    // system has no short form for it.
    virtual std::string ShortPathName(const std::string& path) = 0;
    // When a folder's names or a file's contents last changed, in the
    // system's own units. Empty when the time cannot be read or is too recent
    // to trust: a coarse file system (two seconds on FAT) can change a path
    // again without changing its time, so a fresh time tells nothing.
    virtual std::optional<uint64_t> LastWriteStamp(const std::string& path) = 0;
    // Makes the folder when it is missing (its parent must exist); true when
    // it exists afterwards.
    virtual bool MakeFolder(const std::string& path) = 0;
};

}  // namespace tavi
