#pragma once
#include "platform/code_page.h"
#include "platform/drive_space.h"
#include "platform/file_system.h"

namespace tavi {

// Files through the C++ library. Windows-style "\" separators in paths are
// accepted, so the core's paths work unchanged on a POSIX host.
class HostFileSystem final : public FileSystem {
public:
    FileContents Read(const std::string& path) override;
    [[nodiscard]] bool ReplaceAll(const std::string& path, std::string_view bytes) override;
    bool FileExists(const std::string& path) override;
    bool RemoveFile(const std::string& path) override;
    std::string CurrentDirectory() override;
};

// Sizes of the file system that holds a path, through the C++ library.
class HostDriveSpaces final : public DriveSpaces {
public:
    std::optional<DriveSpace> SpaceOf(const std::string& root) override;
};

#ifndef _WIN32
// Code page 932 through iconv, as Japanese Windows converts it.
class IconvCodePage final : public CodePage {
public:
    std::string ToUtf8(std::string_view ansi) override;
    std::string FromUtf8(std::string_view utf8) override;
};
#endif

}  // namespace tavi
