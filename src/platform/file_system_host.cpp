#include <cstdio>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "platform/host_adapters.h"

#ifndef _WIN32
#include <unistd.h>
#endif

namespace tavi {
namespace {

std::filesystem::path ToPath(const std::string& path) {
#ifdef _WIN32
    return std::filesystem::u8path(path);
#else
    std::string native = path;
    for (char& c : native)
        if (c == '\\') c = '/';
    return std::filesystem::path(native);
#endif
}

}  // namespace

FileContents HostFileSystem::Read(const std::string& path) {
    const std::filesystem::path file = ToPath(path);
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(file, error);
    if (!std::filesystem::exists(status)) {
        const bool missing = !error || error == std::errc::no_such_file_or_directory || error == std::errc::not_a_directory;
        return {missing ? ReadOutcome::Absent : ReadOutcome::Unreadable, {}};
    }
    const std::uintmax_t size = std::filesystem::file_size(file, error);
    if (error || !std::filesystem::is_regular_file(status) || size > kReadLimitBytes) return {ReadOutcome::Unreadable, {}};
    std::ifstream in(file, std::ios::binary);
    if (!in) return {ReadOutcome::Unreadable, {}};
    std::string bytes(static_cast<size_t>(size), '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<size_t>(in.gcount()));
    // A file that grew since its size was taken is read to its end, within the limit.
    char more[4096];
    while (!in.bad() && in.read(more, sizeof more).gcount() > 0) {
        bytes.append(more, static_cast<size_t>(in.gcount()));
        if (bytes.size() > kReadLimitBytes) return {ReadOutcome::Unreadable, {}};
    }
    if (in.bad()) return {ReadOutcome::Unreadable, {}};
    return {ReadOutcome::Whole, std::move(bytes)};
}

bool HostFileSystem::ReplaceAll(const std::string& path, std::string_view bytes) {
    const std::filesystem::path target = ToPath(path);
    std::filesystem::path temporary = target;
    temporary += ".new";
    {
        FILE* file = std::fopen(temporary.string().c_str(), "wb");
        if (!file) return false;
        const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size() &&
                             std::fflush(file) == 0
#ifndef _WIN32
                             && ::fsync(fileno(file)) == 0
#endif
            ;
        if (std::fclose(file) != 0 || !written) {
            std::error_code ignored;
            std::filesystem::remove(temporary, ignored);
            return false;
        }
    }
    std::error_code error;
    // A file with other names (a package manager's hard link) is written
    // through, so that every name sees the new content; a write that fails on
    // the way puts the old content back.
    if (std::filesystem::hard_link_count(target, error) > 1 && !error) {
        const FileContents old = Read(path);
        const auto writeThrough = [&](std::string_view content) {
            FILE* file = std::fopen(target.string().c_str(), "r+b");
            if (!file) return false;
            const bool written = std::fwrite(content.data(), 1, content.size(), file) == content.size() &&
                                 std::fflush(file) == 0;
            const bool closed = std::fclose(file) == 0;
            std::filesystem::resize_file(target, content.size(), error);
            return written && closed && !error;
        };
        const bool through = old.outcome == ReadOutcome::Whole && writeThrough(bytes);
        if (!through && old.outcome == ReadOutcome::Whole) (void)writeThrough(old.bytes);
        std::filesystem::remove(temporary, error);
        return through;
    }
    error.clear();
    std::filesystem::rename(temporary, target, error);
    if (error) {
        std::error_code ignored;
        std::filesystem::remove(temporary, ignored);
        return false;
    }
    return true;
}

bool HostFileSystem::FileExists(const std::string& path) {
    std::error_code error;
    return std::filesystem::is_regular_file(ToPath(path), error);
}

bool HostFileSystem::RemoveFile(const std::string& path) {
    std::error_code error;
    std::filesystem::remove(ToPath(path), error);
    return !error;
}

std::string HostFileSystem::CurrentDirectory() {
    std::error_code error;
    return std::filesystem::current_path(error).string();
}

}  // namespace tavi
