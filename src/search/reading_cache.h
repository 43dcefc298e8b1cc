#pragma once
#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/file_system.h"

// Readings of titles written in kanji, as the input method gave them, kept
// in "TaviMenu2.yomi" beside the lists so that the input method is asked once
// per title and not at every start. The file is the program's own: UTF-8, a
// first line that names it, then one "reading TAB title" per line; it is
// replaced whole in one step and may be deleted at any time.
namespace tavi {

inline constexpr std::string_view kReadingCacheFile = "TaviMenu2.yomi";
std::string ReadingCachePath(const std::string& applicationPath);

// Whether only an input method can tell how `title` is read: it holds kanji.
bool NeedsReading(std::string_view title);

class ReadingCache {
public:
    // A file larger than this is not read; it cannot be one of ours.
    static constexpr size_t kFileLimit = size_t{8} << 20;
    static constexpr size_t kReadingLimit = 512;
    // Readings kept from a file at most: far more titles than a full bar and
    // its groups show, and a few MiB of memory whatever the file holds.
    static constexpr size_t kMostReadings = 20000;

    // What the file holds; a missing, unreadable or foreign file leaves the
    // cache empty (and is replaced by the next save).
    void Load(FileSystem& files, const std::string& path);
    // The reading kept for `title`: empty when none is known.
    std::string ReadingOf(const std::string& title) const;
    // Of `titles`, those that need a reading and were never asked, each once,
    // in their order.
    std::vector<std::string> Unasked(const std::vector<std::string>& titles) const;
    // The input method's answer for `title`; an empty one is kept too, so the
    // title is not asked again. Control characters are dropped.
    void Add(const std::string& title, std::string_view reading);
    // Writes the file whole when answers were added since it was read,
    // keeping the readings of `titles` (those no list holds any longer go).
    // True when nothing needed writing or the file was written.
    bool Save(FileSystem& files, const std::string& path, const std::vector<std::string>& titles);
    bool Dirty() const { return dirty_; }

private:
    std::unordered_map<std::string, std::string> readings_;
    bool dirty_ = false;
};

}  // namespace tavi
