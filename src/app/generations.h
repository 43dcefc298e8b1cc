#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tools/local_time.h"

namespace tavi {

// Earlier versions of the lists are kept in this folder beside the program,
// so that a user can go back to an earlier bar by hand.
inline constexpr std::string_view kBackupFolderName = "backup";
// Copies kept of each file; older ones are removed.
inline constexpr size_t kKeptGenerations = 30;

std::string BackupFolderPath(const std::string& applicationPath);

// The name of the copy of `fileName` kept at `at`: "Launch.ini" at
// 2026-12-08 20:42 is "Launch_20261208_2042.ini". Names sort by their time.
std::string GenerationName(std::string_view fileName, const LocalTime& at);
// The stamp ("20261208_2042") of a copy of `fileName` named `name`, compared
// without case as the file system does; nothing for any other name.
std::optional<std::string> GenerationStamp(std::string_view fileName, std::string_view name);
// Whether `names` (a folder's files) hold a copy of `fileName` made in the
// clock hour of `now`: one copy per hour is kept at most.
bool HourHasGeneration(const std::vector<std::string>& names, std::string_view fileName, const LocalTime& now);
// The copies of `fileName` among `names` beyond the newest `keep`, oldest
// first: those to remove. Other names are never chosen.
std::vector<std::string> GenerationsToPrune(const std::vector<std::string>& names, std::string_view fileName,
                                            size_t keep);

}  // namespace tavi
