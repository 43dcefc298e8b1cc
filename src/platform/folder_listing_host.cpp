#include "platform/folder_listing_host.h"

#include <chrono>
#include <filesystem>
#include <string_view>
#include <system_error>

namespace tavi {
namespace {

char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool Match(std::string_view name, std::string_view pattern) {
    // Iterative match with one backtrack point for the last "*".
    size_t n = 0, p = 0, starP = std::string_view::npos, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            starP = p++;
            starN = n;
        } else if (p < pattern.size() && (pattern[p] == '?' || Upper(pattern[p]) == Upper(name[n]))) {
            ++p;
            ++n;
        } else if (starP != std::string_view::npos) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') ++p;
    return p == pattern.size();
}

}  // namespace

bool MatchesWildcard(std::string_view name, std::string_view pattern) {
    // A trailing ".*" also matches names without any dot, as on the system.
    if (pattern.size() >= 2 && pattern.substr(pattern.size() - 2) == ".*" &&
        Match(name, pattern.substr(0, pattern.size() - 2)))
        return true;
    return Match(name, pattern);
}

namespace {

std::filesystem::path NativePath(const std::string& path) {
#ifdef _WIN32
    return std::filesystem::u8path(path);
#else
    std::string native = path;
    for (char& c : native)
        if (c == '\\') c = '/';
    return native;
#endif
}

}  // namespace

std::optional<uint64_t> HostFolderListing::LastWriteStamp(const std::string& path) {
    using namespace std::chrono_literals;
    std::error_code error;
    const auto written = std::filesystem::last_write_time(NativePath(path), error);
    if (error) return std::nullopt;
    const auto now = std::filesystem::file_time_type::clock::now();
    if (written > now || now - written < 3s) return std::nullopt;
    return static_cast<uint64_t>(written.time_since_epoch().count());
}

std::vector<std::string> HostFolderListing::FindFiles(const std::string& folder, const std::string& pattern) {
    const std::filesystem::path native = NativePath(folder);
    std::vector<std::string> names;
    std::error_code error;
    for (std::filesystem::directory_iterator it(native, error), end; !error && it != end; it.increment(error)) {
        const std::u8string utf8 = it->path().filename().u8string();
        std::string name(utf8.begin(), utf8.end());
        if (MatchesWildcard(name, pattern)) names.push_back(std::move(name));
    }
    return names;
}

bool HostFolderListing::MakeFolder(const std::string& path) {
    std::error_code error;
    std::filesystem::create_directory(NativePath(path), error);
    return std::filesystem::is_directory(NativePath(path), error);
}

}  // namespace tavi
