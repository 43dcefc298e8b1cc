#include "platform/folder_listing_win.h"

#include <knownfolders.h>
#include <shlobj.h>

#include "platform/wide_win.h"

namespace tavi {

std::string Win32FolderListing::DesktopDirectory() {
    PWSTR path = nullptr;
    const HRESULT result = SHGetKnownFolderPath(FOLDERID_Desktop, 0, nullptr, &path);
    // The shell allocates the path even on some failures; it is freed either way.
    std::string desktop = SUCCEEDED(result) && path ? Narrow(path) : std::string();
    CoTaskMemFree(path);
    return desktop;
}

std::vector<std::string> Win32FolderListing::FindFiles(const std::string& folder, const std::string& pattern) {
    std::wstring query = Widen(folder);
    if (!query.empty() && query.back() != L'\\') query += L'\\';
    query += Widen(pattern);
    std::vector<std::string> names;
    WIN32_FIND_DATAW found{};
    const HANDLE search = FindFirstFileW(query.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        names.push_back(Narrow(found.cFileName));
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return names;
}

std::optional<uint64_t> Win32FolderListing::LastWriteStamp(const std::string& path) { return TrustedLastWrite(path); }

bool Win32FolderListing::MakeFolder(const std::string& path) {
    const std::wstring folder = Widen(path);
    if (CreateDirectoryW(folder.c_str(), nullptr)) return true;
    const DWORD attributes = GetFileAttributesW(folder.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::optional<uint64_t> TrustedLastWrite(const std::string& path) {
    // FAT keeps times to two seconds; a little more covers a network share's clock.
    constexpr uint64_t kTrustedAfter = 3ULL * 10'000'000;  // 100-ns units
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(Widen(path).c_str(), GetFileExInfoStandard, &data)) return std::nullopt;
    FILETIME nowTime{};
    GetSystemTimeAsFileTime(&nowTime);
    const auto value = [](FILETIME time) { return (uint64_t{time.dwHighDateTime} << 32) | time.dwLowDateTime; };
    const uint64_t written = value(data.ftLastWriteTime);
    const uint64_t now = value(nowTime);
    if (written > now || now - written < kTrustedAfter) return std::nullopt;
    return written;
}

std::string Win32FolderListing::ShortPathName(const std::string& path) {
    const std::wstring longPath = Widen(path);
    std::wstring shortPath(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetShortPathNameW(longPath.c_str(), shortPath.data(), static_cast<DWORD>(shortPath.size()));
        if (length == 0) return path;
        if (length < shortPath.size()) {
            shortPath.resize(length);
            return Narrow(shortPath);
        }
        shortPath.resize(length);  // the needed size, terminating NUL included
    }
}

}  // namespace tavi
