#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/clock.h"

namespace tavi {

// Earlier versions of the lists are kept in this folder beside the program,
// so that a user can go back to an earlier bar by hand.
inline constexpr std::string_view kBackupFolderName = "backup";
// Copies kept of each file; older ones are removed.
inline constexpr size_t kKeptBackups = 30;
// The files the user's lists and settings live in, each kept in the backup
// folder and followed when another program changes it. The list's UTF-8
// companion goes with it: without it, a kept list would lose the text the
// code page lacks.
inline constexpr std::string_view kProgramFiles[] = {"Launch.ini", "Launch.ini.utf8", "TaviMenu2.INI",
                                                     "TaviLaunch.ini"};

std::string BackupFolderPath(const std::string& applicationPath);

// The name of the copy of `fileName` kept at `at`: "Launch.ini" at
// 2026-12-08 20:42 is "Launch_20261208_2042.ini". Names sort by their time.
std::string BackupName(std::string_view fileName, const LocalTime& at);
// The stamp ("20261208_2042") of a copy of `fileName` named `name`, compared
// without case as the file system does; nothing for any other name.
std::optional<std::string> BackupStamp(std::string_view fileName, std::string_view name);
// Whether `names` (a folder's files) hold a copy of `fileName` made in the
// clock hour of `now`: one copy per hour is kept at most.
bool HourHasBackup(const std::vector<std::string>& names, std::string_view fileName, const LocalTime& now);
// The copies of `fileName` among `names` beyond the newest `keep`, oldest
// first: those to remove. Other names are never chosen, nor `kept` (the copy
// just made). A copy stamped later than `now` (the clock was set back, or
// the copy came from another machine) counts as the oldest, so a clock set
// back never makes the newest copy the first to go.
std::vector<std::string> BackupsToPrune(const std::vector<std::string>& names, std::string_view fileName,
                                        size_t keep, const LocalTime& now, std::string_view kept = {});

}  // namespace tavi
