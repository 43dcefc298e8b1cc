#include "app/backup_copies.h"

#include <string_view>
#include <utility>

#include "app/backup_names.h"
#include "platform/text.h"

namespace tavi {
namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

}  // namespace

BackupKeepingFiles::BackupKeepingFiles(FileSystem& files, FolderListing& folders,
                                       const std::string& applicationPath, Clock& clock, bool& copyFailed)
    : files_(files),
      folders_(folders),
      folder_(applicationPath),
      backup_(BackupFolderPath(applicationPath)),
      clock_(clock),
      copyFailed_(copyFailed) {
    if (folder_.empty() || !IsSeparator(folder_.back())) folder_ += '\\';
}

bool BackupKeepingFiles::ReplaceAll(const std::string& path, std::string_view bytes) {
    const std::string name = KeptName(path);
    const bool kept = name.empty() || KeepPrevious(path, name, bytes);
    const bool replaced = files_.ReplaceAll(path, bytes);
    // A missing copy matters only once the file it would have kept is gone:
    // a file another program holds can be neither read nor replaced, and
    // then the failed save is all there is to tell.
    if (!kept && replaced) copyFailed_ = true;
    return replaced;
}

std::string BackupKeepingFiles::KeptName(const std::string& path) const {
    const std::string_view whole(path);
    if (whole.size() <= folder_.size() || !SamePathText(whole.substr(0, folder_.size()), folder_)) return {};
    for (std::string_view kept : kProgramFiles)
        if (SamePathText(whole.substr(folder_.size()), kept)) return std::string(kept);
    return {};
}

bool BackupKeepingFiles::KeepPrevious(const std::string& path, const std::string& name, std::string_view next) {
    const FileContents previous = files_.Read(path);
    // A first save has nothing to keep; a file that cannot be read cannot be kept.
    if (previous.outcome != ReadOutcome::Whole) return previous.outcome == ReadOutcome::Absent;
    // A save that changes nothing keeps nothing: the hour's copy is then
    // the state before its first real change.
    if (previous.bytes == next) return true;
    const LocalTime now = clock_.Now();
    if (!folders_.MakeFolder(backup_)) return false;
    const std::string folder = backup_ + "\\";
    std::vector<std::string> names = folders_.FindFiles(backup_, "*");
    if (HourHasBackup(names, name, now)) return true;
    const std::string copy = BackupName(name, now);
    if (!files_.ReplaceAll(folder + copy, previous.bytes)) return false;
    copyFailed_ = false;
    names.push_back(copy);
    // A copy that cannot be removed now is chosen again at the next one.
    for (const std::string& old : BackupsToPrune(names, name, kKeptBackups, now, copy))
        (void)files_.RemoveFile(folder + old);
    return true;
}

}  // namespace tavi
