#pragma once
#include <string>

#include "platform/file_system.h"
#include "platform/folder_listing.h"
#include "platform/clock.h"

namespace tavi {

// Every save of the program's files passes here: before "Launch.ini" (with
// its UTF-8 companion), "TaviMenu2.INI" or "TaviLaunch.ini" in the program's
// folder is replaced, its previous content is kept in the backup folder (one
// copy per clock hour, the newest kKeptBackups of each). A copy that cannot
// be made never stops the save; when the file was replaced without it, it
// sets `copyFailed`, which a successful copy clears, so the user can be told.
class BackupKeepingFiles final : public FileSystem {
public:
    BackupKeepingFiles(FileSystem& files, FolderListing& folders, const std::string& applicationPath, Clock& clock,
                       bool& copyFailed);

    FileContents Read(const std::string& path) override { return files_.Read(path); }
    [[nodiscard]] bool ReplaceAll(const std::string& path, std::string_view bytes) override;
    bool FileExists(const std::string& path) override { return files_.FileExists(path); }
    bool RemoveFile(const std::string& path) override { return files_.RemoveFile(path); }
    std::string CurrentDirectory() override { return files_.CurrentDirectory(); }

private:
    // The name of a kept file `path` names, or empty.
    std::string KeptName(const std::string& path) const;
    // False when a copy was due and could not be made.
    bool KeepPrevious(const std::string& path, const std::string& name, std::string_view next);

    FileSystem& files_;
    FolderListing& folders_;
    std::string folder_;  // the program's folder, ending in a separator
    std::string backup_;
    Clock& clock_;
    bool& copyFailed_;
};

}  // namespace tavi
