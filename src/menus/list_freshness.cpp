#include "menus/list_freshness.h"

#include <initializer_list>

namespace tavi {
namespace {

// Each folder with its stamp, one per line; empty when a stamp is unknown.
std::optional<std::string> FoldersSource(FolderListing& folders, std::initializer_list<std::string> paths) {
    std::string source;
    for (const std::string& path : paths) {
        if (path.empty()) {
            source += "\n";
            continue;
        }
        const std::optional<uint64_t> stamp = folders.LastWriteStamp(path);
        if (!stamp) return std::nullopt;
        source += path + "\t" + std::to_string(*stamp) + "\n";
    }
    return source;
}

}  // namespace

std::optional<std::string> DeskTopSource(FolderListing& folders) {
    return FoldersSource(folders, {folders.DesktopDirectory()});
}

std::optional<std::string> ScreenSaverSource(SystemInfo& system, FolderListing& folders) {
    return FoldersSource(folders, {system.WindowsDirectory(), system.SystemDirectory()});
}

std::string DriveSource(SystemInfo& system) {
    std::string source;
    for (const std::string& root : system.LogicalDriveRoots()) source += root + "\n";
    return source;
}

}  // namespace tavi
