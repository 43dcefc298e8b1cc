#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace tavi {

// Whole-file access. Paths are UTF-8; contents are raw bytes.
class FileSystem {
public:
    virtual ~FileSystem() = default;
    // The file's bytes, or nothing when it cannot be opened.
    virtual std::optional<std::string> ReadAll(const std::string& path) = 0;
    // Writes a temporary file beside `path`, flushes it and moves it over
    // `path`, so that readers see either the old or the new file, never half.
    [[nodiscard]] virtual bool ReplaceAll(const std::string& path, std::string_view bytes) = 0;
    virtual bool FileExists(const std::string& path) = 0;
    // True when the file is gone afterwards (also when it never existed).
    virtual bool RemoveFile(const std::string& path) = 0;
    virtual std::string CurrentDirectory() = 0;
};

}  // namespace tavi
