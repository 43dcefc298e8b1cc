#include "search/reading_cache.h"

#include <algorithm>
#include <unordered_set>

#include "platform/text.h"
#include "platform/unicode.h"

namespace tavi {
namespace {

constexpr std::string_view kHeader = "TaviMenu2 yomi 1";

bool IsHan(char32_t c) {
    return (c >= 0x3005 && c <= 0x3007) || (c >= 0x3400 && c <= 0x4DBF) || (c >= 0x4E00 && c <= 0x9FFF) ||
           (c >= 0xF900 && c <= 0xFAFF) || (c >= 0x20000 && c <= 0x3FFFF);
}

// The answer as the file can hold it: one line, no tab, not endless.
std::string CleanReading(std::string_view reading) {
    std::string clean;
    size_t offset = 0;
    size_t count = 0;
    while (offset < reading.size() && count < ReadingCache::kReadingLimit) {
        const char32_t c = NextCodePoint(reading, offset);
        if (c < 0x20 || (c >= 0x7F && c <= 0x9F)) continue;
        AppendUtf8(clean, c);
        ++count;
    }
    return clean;
}

}  // namespace

std::string ReadingCachePath(const std::string& applicationPath) {
    return AddBackslash(applicationPath) + std::string(kReadingCacheFile);
}

bool NeedsReading(std::string_view title) {
    size_t offset = 0;
    while (offset < title.size())
        if (IsHan(NextCodePoint(title, offset))) return true;
    return false;
}

void ReadingCache::Load(FileSystem& files, const std::string& path) {
    readings_.clear();
    dirty_ = false;
    const FileContents contents = files.Read(path);
    if (contents.outcome != ReadOutcome::Whole || contents.bytes.size() > kFileLimit) return;
    // The header, then lines of readings (and maybe a blank or damaged one among them).
    const std::vector<std::string_view> lines = FileLines(contents.bytes, 2 * kMostReadings + 1);
    // Not ours, or a later form: left to be replaced.
    if (lines.empty() || lines.front() != kHeader) return;
    for (size_t n = 1; n < lines.size() && readings_.size() < kMostReadings; ++n) {
        const std::string_view line = lines[n];
        const size_t tab = line.find('\t');
        if (tab == std::string_view::npos || tab == line.size() - 1) continue;
        readings_[std::string(line.substr(tab + 1))] = CleanReading(line.substr(0, tab));
    }
}

std::string ReadingCache::ReadingOf(const std::string& title) const {
    const auto found = readings_.find(title);
    return found == readings_.end() ? std::string() : found->second;
}

std::vector<std::string> ReadingCache::Unasked(const std::vector<std::string>& titles) const {
    std::vector<std::string> unasked;
    std::unordered_set<std::string> seen;
    for (const std::string& title : titles)
        if (NeedsReading(title) && !readings_.contains(title) && seen.insert(title).second) unasked.push_back(title);
    return unasked;
}

void ReadingCache::Add(const std::string& title, std::string_view reading) {
    if (title.empty() || title.find_first_of("\r\n") != std::string::npos) return;
    readings_[title] = CleanReading(reading);
    dirty_ = true;
}

bool ReadingCache::Save(FileSystem& files, const std::string& path, const std::vector<std::string>& titles) {
    if (!dirty_) return true;
    std::vector<std::string> kept;
    std::unordered_set<std::string> seen;
    for (const std::string& title : titles)
        if (readings_.contains(title) && seen.insert(title).second) kept.push_back(title);
    std::sort(kept.begin(), kept.end());
    std::string bytes = std::string(kHeader) + "\r\n";
    for (const std::string& title : kept) bytes += readings_.at(title) + "\t" + title + "\r\n";
    if (!files.ReplaceAll(path, bytes)) return false;
    dirty_ = false;
    return true;
}

}  // namespace tavi
