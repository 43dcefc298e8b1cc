#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "app/entry_store.h"
#include "platform/file_details.h"
#include "platform/registry.h"

// The file properties dialog `FileInformation`: what the file behind a bar
// entry is, where it lies, how large it is, its times and attributes. It only
// reads; every value it cannot get shows as unknown.
namespace tavi {

inline constexpr int kFileOpenAttempts = 2;
inline constexpr int kFileOpenRetryMs = 500;

struct FileInformationView {
    std::string caption;
    std::string fileName;                // LblFileName
    std::array<std::string, 3> place;    // LblFilePlace: type, folder, size
    std::array<std::string, 4> access;   // LblFileAcsess: MS-DOS name, created, modified, accessed
    std::array<bool, 5> attributes{};    // LblFileAttribute enabled: read-only, hidden, archive, system, compressed
    std::string iconPath;                // the entry's icon, drawn 32 x 32
    int iconIndex = 0;
};

// What the entry itself tells, its file untouched: shown at once.
FileInformationView FileInformationFrame(const LaunchEntry& entry);
// What the entry's file tells, read from its drive (which may not answer).
void FileInformationRead(FileInformationView& view, const LaunchEntry& entry, FileDetails& details, Registry& registry,
                         std::string_view thousandsSeparator = ",");
// Both.
FileInformationView FileInformationLoad(const LaunchEntry& entry, FileDetails& details, Registry& registry,
                                      std::string_view thousandsSeparator = ",");

// The type description the shell's classes give a path's extension.
std::string GetTypeName(const std::string& path, FileDetails& details, Registry& registry);

// "2003年4月5日 土曜日 9:5:7"
std::string FormatFileTime(const FileStamp& time);
// The whole size with thousands separators, then "ﾊﾞｲﾄ"; zero shows no digits.
std::string FormatFileSize(uint64_t bytes, std::string_view thousandsSeparator = ",");
// The path up to its last separator: the folder that holds the file.
std::string FolderOfPath(std::string_view path);

}  // namespace tavi
