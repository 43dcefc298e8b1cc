#pragma once
#include <cstdint>
#include <optional>
#include <string>

namespace tavi {

// When something happened to a file, in the local time of the system.
struct FileStamp {
    int year = 0;
    int month = 0;
    int day = 0;
    int dayOfWeek = 0;  // Sunday = 0
    int hour = 0;
    int minute = 0;
    int second = 0;
};

// File attribute bits as the system reports them.
inline constexpr uint32_t kAttributeReadOnly = 0x1;
inline constexpr uint32_t kAttributeHidden = 0x2;
inline constexpr uint32_t kAttributeSystem = 0x4;
inline constexpr uint32_t kAttributeDirectory = 0x10;
inline constexpr uint32_t kAttributeArchive = 0x20;
inline constexpr uint32_t kAttributeCompressed = 0x800;

// What an opened file tells about itself.
struct FileFacts {
    uint64_t size = 0;
    uint32_t attributes = 0;
    std::optional<FileStamp> created;
    std::optional<FileStamp> modified;
    std::optional<FileStamp> accessed;
};

// Facts about one file or folder for the properties dialog.
class FileDetails {
public:
    virtual ~FileDetails() = default;
    // The attributes of a path, nothing when it cannot be read.
    virtual std::optional<uint32_t> Attributes(const std::string& path) = 0;
    // The MS-DOS (8.3) form of a path; empty text when the system has none.
    virtual std::string ShortPath(const std::string& path) = 0;
    // Opens the file for reading (others may read it too) and asks it; nothing
    // when it cannot be opened, as a folder or a file locked by another program.
    virtual std::optional<FileFacts> Open(const std::string& path) = 0;
    // The pause between two attempts to open a busy file.
    virtual void Wait(int milliseconds) = 0;
};

}  // namespace tavi
