#include "platform/file_details_win.h"

#include <string>

#include "platform/handles_win.h"
#include "platform/wide_win.h"

namespace tavi {
namespace {

std::optional<FileStamp> ToLocalTime(const FILETIME& universal) {
    FILETIME local{};
    SYSTEMTIME time{};
    if (!FileTimeToLocalFileTime(&universal, &local) || !FileTimeToSystemTime(&local, &time)) return std::nullopt;
    return FileStamp{time.wYear, time.wMonth, time.wDay, time.wDayOfWeek, time.wHour, time.wMinute, time.wSecond};
}

}  // namespace

std::optional<uint32_t> Win32FileDetails::Attributes(const std::string& path) {
    const DWORD attributes = GetFileAttributesW(Widen(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return std::nullopt;
    return static_cast<uint32_t>(attributes);
}

std::string Win32FileDetails::ShortPath(const std::string& path) {
    const std::wstring wide = Widen(path);
    return Narrow(GrowingWideString(
        [&](wchar_t* buffer, DWORD size) { return GetShortPathNameW(wide.c_str(), buffer, size); }));
}

std::optional<FileFacts> Win32FileDetails::Open(const std::string& path) {
    SECURITY_ATTRIBUTES security{};
    security.nLength = sizeof security;
    security.bInheritHandle = FALSE;
    const OwnedFile file(
        CreateFileW(Widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ, &security, OPEN_EXISTING, 0, nullptr));
    BY_HANDLE_FILE_INFORMATION info{};
    if (!file.Valid() || !GetFileInformationByHandle(file.Get(), &info)) return std::nullopt;
    FileFacts facts;
    facts.size = (static_cast<uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
    facts.attributes = info.dwFileAttributes;
    facts.created = ToLocalTime(info.ftCreationTime);
    facts.modified = ToLocalTime(info.ftLastWriteTime);
    facts.accessed = ToLocalTime(info.ftLastAccessTime);
    return facts;
}

void Win32FileDetails::Wait(int milliseconds) { Sleep(static_cast<DWORD>(milliseconds)); }

}  // namespace tavi
