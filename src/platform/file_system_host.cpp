#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
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

std::optional<std::string> HostFileSystem::ReadAll(const std::string& path) {
    std::ifstream in(ToPath(path), std::ios::binary);
    if (!in) return std::nullopt;
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
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
