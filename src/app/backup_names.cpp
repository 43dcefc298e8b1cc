#include "app/backup_names.h"

#include <algorithm>
#include <cstdio>
#include <tuple>
#include <utility>

#include "platform/text.h"

namespace tavi {
namespace {

constexpr size_t kStampLength = 13;  // "yyyymmdd_hhmm"

// "Launch.ini" is "Launch" and ".ini", and "Launch.ini.utf8" is "Launch" and
// ".ini.utf8", so that the companion's copies sort beside the list's; a name
// without a dot has no extension.
std::pair<std::string_view, std::string_view> SplitExtension(std::string_view fileName) {
    const size_t dot = fileName.find('.', 1);
    if (dot == std::string_view::npos) return {fileName, {}};
    return {fileName.substr(0, dot), fileName.substr(dot)};
}

bool IsStamp(std::string_view text) {
    if (text.size() != kStampLength) return false;
    for (size_t i = 0; i < text.size(); ++i) {
        if (i == 8) {
            if (text[i] != '_') return false;
        } else if (text[i] < '0' || text[i] > '9') {
            return false;
        }
    }
    return true;
}

std::string Stamp(const LocalTime& at) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%04d%02d%02d_%02d%02d", at.year, at.month, at.day, at.hour, at.minute);
    return std::string(buffer, kStampLength);
}

}  // namespace

std::string BackupFolderPath(const std::string& applicationPath) {
    return AddBackslash(applicationPath) + std::string(kBackupFolderName);
}

std::string BackupName(std::string_view fileName, const LocalTime& at) {
    const auto [stem, extension] = SplitExtension(fileName);
    return std::string(stem) + "_" + Stamp(at) + std::string(extension);
}

std::optional<std::string> BackupStamp(std::string_view fileName, std::string_view name) {
    const auto [stem, extension] = SplitExtension(fileName);
    const size_t length = stem.size() + 1 + kStampLength + extension.size();
    if (name.size() != length) return std::nullopt;
    if (!SamePathText(name.substr(0, stem.size()), stem) || name[stem.size()] != '_' ||
        !SamePathText(name.substr(length - extension.size()), extension))
        return std::nullopt;
    const std::string_view stamp = name.substr(stem.size() + 1, kStampLength);
    if (!IsStamp(stamp)) return std::nullopt;
    return std::string(stamp);
}

bool HourHasBackup(const std::vector<std::string>& names, std::string_view fileName, const LocalTime& now) {
    // The hour is the stamp without its minutes.
    const std::string hour = Stamp(now).substr(0, kStampLength - 2);
    return std::any_of(names.begin(), names.end(), [&](const std::string& name) {
        const std::optional<std::string> stamp = BackupStamp(fileName, name);
        return stamp && StartsWith(*stamp, hour);
    });
}

std::vector<std::string> BackupsToPrune(const std::vector<std::string>& names, std::string_view fileName,
                                        size_t keep, const LocalTime& now, std::string_view kept) {
    const std::string current = Stamp(now);
    struct Copy {
        bool fromTheFuture;
        std::string stamp;
        std::string name;
        bool operator<(const Copy& other) const {
            // Copies from the future first: they are the oldest as far as this clock can tell.
            if (fromTheFuture != other.fromTheFuture) return fromTheFuture;
            return std::tie(stamp, name) < std::tie(other.stamp, other.name);
        }
    };
    std::vector<Copy> copies;
    for (const std::string& name : names)
        if (std::optional<std::string> stamp = BackupStamp(fileName, name))
            copies.push_back({*stamp > current, *stamp, name});
    std::sort(copies.begin(), copies.end());
    std::vector<std::string> prune;
    size_t excess = copies.size() > keep ? copies.size() - keep : 0;
    for (const Copy& copy : copies) {
        if (excess == 0) break;
        if (copy.name == kept) continue;
        prune.push_back(copy.name);
        --excess;
    }
    return prune;
}

}  // namespace tavi
