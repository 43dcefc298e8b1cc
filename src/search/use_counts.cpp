#include "search/use_counts.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "platform/text.h"
#include "platform/unicode.h"

namespace tavi {
namespace {

constexpr std::string_view kHeader = "TaviMenu2 pc 1";
constexpr std::string_view kHeaderName = "TaviMenu2 pc ";
constexpr std::string_view kUsesSection = "[Uses]";
// No real score comes near: one start a minute for years stays below.
constexpr double kScoreLimit = 1e7;

bool IsSection(std::string_view line) { return line.size() >= 2 && line.front() == '[' && line.back() == ']'; }

// Clock minutes from the file: a year 1970..9999 local minute.
constexpr int64_t kMinuteLimit = int64_t{8030} * 366 * 24 * 60;

std::string LowerAscii(std::string_view text) {
    std::string lower(text);
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return lower;
}

}  // namespace

std::string PcFilePath(const std::string& applicationPath, std::string_view computerName) {
    // Only what a file name may hold: a name the system should never give
    // still makes a file beside the lists.
    std::string name;
    size_t offset = 0;
    while (offset < computerName.size()) {
        const char32_t c = NextCodePoint(computerName, offset);
        if (c < 0x20 || c == 0x7F || c == 0xFFFD || std::u32string_view(U"\\/:*?\"<>|").find(c) != std::u32string_view::npos)
            continue;
        AppendUtf8(name, c);
    }
    name = TrimSpaces(name);
    while (!name.empty() && name.back() == '.') name.pop_back();
    if (name.empty()) name = "PC";
    return AddBackslash(applicationPath) + "TaviMenu2." + name + ".pc";
}

std::string UseKey(std::string_view path, std::string_view parameters) {
    std::string key = LowerAscii(TrimSpaces(path));
    key = std::string(Unquoted(key));
    std::replace(key.begin(), key.end(), '/', '\\');
    return key + "\t" + TrimSpaces(parameters);
}

void UseCounts::Load(const std::string& path) {
    path_ = path;
    uses_.clear();
    otherLines_.clear();
    readable_ = false;
    ++changes_;
    const FileContents contents = files_.Read(path);
    if (contents.outcome == ReadOutcome::Absent) {
        readable_ = true;
        return;
    }
    if (contents.outcome != ReadOutcome::Whole || contents.bytes.size() > kFileLimit) return;
    const std::vector<std::string_view> lines = FileLines(contents.bytes);
    if (lines.empty()) return;  // an empty file is no file of ours either
    // Not ours, or a later form this version cannot write back whole.
    if (lines.front() != kHeader) {
        uses_.clear();
        return;
    }
    bool inUses = false;
    for (size_t n = 1; n < lines.size(); ++n) {
        const std::string_view line = lines[n];
        if (IsSection(line)) inUses = line == kUsesSection;
        if (!inUses) {
            otherLines_.emplace_back(line);
            continue;
        }
        if (IsSection(line)) continue;
        // minute TAB score TAB path TAB parameters; a line that is not is dropped.
        const size_t tab1 = line.find('\t');
        const size_t tab2 = tab1 == std::string_view::npos ? tab1 : line.find('\t', tab1 + 1);
        if (tab2 == std::string_view::npos) continue;
        int64_t minute = 0;
        double score = 0;
        const auto [minuteEnd, minuteError] = std::from_chars(line.data(), line.data() + tab1, minute);
        const auto [scoreEnd, scoreError] = std::from_chars(line.data() + tab1 + 1, line.data() + tab2, score);
        if (minuteError != std::errc() || minuteEnd != line.data() + tab1 || scoreError != std::errc() ||
            scoreEnd != line.data() + tab2)
            continue;
        if (minute < 0 || minute > kMinuteLimit || !std::isfinite(score) || score <= 0 || score > kScoreLimit) continue;
        const std::string_view rest = line.substr(tab2 + 1);
        const size_t tab3 = rest.find('\t');
        if (tab3 == std::string_view::npos || TrimSpaces(rest.substr(0, tab3)).empty()) continue;
        uses_[UseKey(rest.substr(0, tab3), rest.substr(tab3 + 1))] = {minute, score};
    }
    readable_ = true;
}

double UseCounts::Decayed(const Use& use, int64_t now) const {
    // A clock set back counts no age, rather than a negative one.
    const double age = static_cast<double>(std::max<int64_t>(0, now - use.minute));
    return use.score * std::exp2(-age / static_cast<double>(kHalfLife));
}

double UseCounts::ScoreOf(const std::string& key) const {
    const auto found = uses_.find(key);
    return found == uses_.end() ? 0 : Decayed(found->second, LocalMinute(clock_.Now()));
}

void UseCounts::Started(std::string_view path, std::string_view parameters) {
    if (TrimSpaces(path).empty()) return;
    const int64_t now = LocalMinute(clock_.Now());
    Use& use = uses_[UseKey(path, parameters)];
    use.score = std::min(kScoreLimit, Decayed(use, now) + 1);
    use.minute = now;
    if (uses_.size() > kEntryLimit) {
        // The least used go, so the file stays small.
        std::vector<std::pair<double, std::string>> ranked;
        for (const auto& [key, kept] : uses_) ranked.emplace_back(Decayed(kept, now), key);
        std::sort(ranked.begin(), ranked.end());
        for (size_t i = 0; i + kEntryLimit < ranked.size(); ++i) uses_.erase(ranked[i].second);
    }
    ++changes_;
    (void)Save();
}

void UseCounts::KeepOnly(const std::unordered_set<std::string>& live) {
    const size_t before = uses_.size();
    std::erase_if(uses_, [&live](const auto& use) { return !live.contains(use.first); });
    if (uses_.size() == before) return;
    ++changes_;
    (void)Save();
}

bool UseCounts::Clear() {
    uses_.clear();
    ++changes_;
    return Save();
}

bool UseCounts::Save() {
    // A file that could not be read is left as it is, whatever was counted since.
    if (!readable_ || path_.empty()) return false;
    std::vector<std::string> keys;
    for (const auto& [key, use] : uses_) keys.push_back(key);
    std::sort(keys.begin(), keys.end());
    std::string bytes = std::string(kHeader) + "\r\n";
    for (const std::string& line : otherLines_) bytes += line + "\r\n";
    bytes += std::string(kUsesSection) + "\r\n";
    for (const std::string& key : keys) {
        const Use& use = uses_.at(key);
        char score[32];
        const auto written = std::to_chars(score, score + sizeof score, use.score, std::chars_format::general, 9);
        bytes += std::to_string(use.minute) + "\t" + std::string(score, written.ptr) + "\t" + key + "\r\n";
    }
    return files_.ReplaceAll(path_, bytes);
}

}  // namespace tavi
