#include "app/kept_generations.h"

#include <string_view>
#include <utility>

#include "app/generations.h"
#include "app/text.h"

namespace tavi {
namespace {

// The list's UTF-8 companion goes with it: without it, a kept list would lose
// the text the code page lacks.
constexpr std::string_view kKeptFiles[] = {"Launch.ini", "Launch.ini.utf8", "TaviMenu2.INI"};

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

}  // namespace

GenerationKeepingFiles::GenerationKeepingFiles(FileSystem& files, FolderListing& folders,
                                               const std::string& applicationPath, std::function<LocalTime()> clock,
                                               bool& copyFailed)
    : files_(files),
      folders_(folders),
      folder_(applicationPath),
      backup_(BackupFolderPath(applicationPath)),
      clock_(std::move(clock)),
      copyFailed_(copyFailed) {
    if (folder_.empty() || !IsSeparator(folder_.back())) folder_ += '\\';
}

bool GenerationKeepingFiles::ReplaceAll(const std::string& path, std::string_view bytes) {
    const std::string name = KeptName(path);
    const bool kept = name.empty() || KeepPrevious(path, name, bytes);
    const bool replaced = files_.ReplaceAll(path, bytes);
    // A missing copy matters only once the file it would have kept is gone:
    // a file another program holds can be neither read nor replaced, and
    // then the failed save is all there is to tell.
    if (!kept && replaced) copyFailed_ = true;
    return replaced;
}

std::string GenerationKeepingFiles::KeptName(const std::string& path) const {
    const std::string_view whole(path);
    if (whole.size() <= folder_.size() || !SamePathText(whole.substr(0, folder_.size()), folder_)) return {};
    for (std::string_view kept : kKeptFiles)
        if (SamePathText(whole.substr(folder_.size()), kept)) return std::string(kept);
    return {};
}

bool GenerationKeepingFiles::KeepPrevious(const std::string& path, const std::string& name, std::string_view next) {
    const std::optional<std::string> previous = files_.ReadAll(path);
    if (!previous) return !files_.FileExists(path);  // a first save has nothing to keep
    // A save that changes nothing keeps nothing: the hour's copy is then
    // the state before its first real change.
    if (*previous == next) return true;
    const LocalTime now = clock_();
    if (!folders_.MakeFolder(backup_)) return false;
    const std::string folder = backup_ + "\\";
    std::vector<std::string> names = folders_.FindFiles(backup_, "*");
    if (HourHasGeneration(names, name, now)) return true;
    const std::string copy = GenerationName(name, now);
    if (!files_.ReplaceAll(folder + copy, *previous)) return false;
    copyFailed_ = false;
    names.push_back(copy);
    // A copy that cannot be removed now is chosen again at the next one.
    for (const std::string& old : GenerationsToPrune(names, name, kKeptGenerations)) (void)files_.RemoveFile(folder + old);
    return true;
}

}  // namespace tavi
