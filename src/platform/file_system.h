#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/fnv_hash.h"

namespace tavi {

// What reading a file found. Only an absent file is a first run: a file that
// exists but could not be read must never be taken for an empty one.
enum class ReadOutcome {
    Absent,      // no such file
    Whole,       // every byte read
    Unreadable,  // held by another program, no access, a read error, or too large
};

struct FileContents {
    ReadOutcome outcome = ReadOutcome::Absent;
    std::string bytes;  // with Whole only
    bool operator==(const FileContents&) const = default;
};

// What tells one content of a file from another without keeping its bytes:
// a file that is only compared costs no memory of its own size.
struct ContentStamp {
    ReadOutcome outcome = ReadOutcome::Absent;
    uint64_t size = 0;
    uint64_t hash = 0;
    bool operator==(const ContentStamp&) const = default;
};
inline ContentStamp StampOf(const FileContents& file) {
    return {file.outcome, file.bytes.size(), Fnv1a64(file.bytes)};
}

// No file of ours comes near this; a larger one is not read, so a damaged or
// foreign file cannot take the memory of every start.
inline constexpr uint64_t kReadLimitBytes = uint64_t{64} << 20;

// Whole-file access. Paths are UTF-8; contents are raw bytes.
class FileSystem {
public:
    virtual ~FileSystem() = default;
    virtual FileContents Read(const std::string& path) = 0;
    // Writes a temporary file beside `path`, flushes it and moves it over
    // `path`, so that readers see either the old or the new file, never half.
    [[nodiscard]] virtual bool ReplaceAll(const std::string& path, std::string_view bytes) = 0;
    virtual bool FileExists(const std::string& path) = 0;
    // True when the file is gone afterwards (also when it never existed).
    virtual bool RemoveFile(const std::string& path) = 0;
    virtual std::string CurrentDirectory() = 0;

    // The bytes of a file read whole; nothing when it is absent or unreadable.
    std::optional<std::string> ReadAll(const std::string& path) {
        FileContents contents = Read(path);
        if (contents.outcome != ReadOutcome::Whole) return std::nullopt;
        return std::move(contents.bytes);
    }
};

}  // namespace tavi
