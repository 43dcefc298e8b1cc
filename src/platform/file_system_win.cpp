#include <vector>

#include "platform/handles_win.h"
#include "platform/wide_win.h"
#include "platform/win32_adapters_win.h"

namespace tavi {

FileContents Win32FileSystem::Read(const std::string& path) {
    const OwnedFile file(CreateFileW(Widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                     OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid()) {
        // Anything but a missing file (held by another program, no access, a
        // folder of that name) is a file that exists and could not be read.
        const DWORD error = GetLastError();
        const bool missing = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
        return {missing ? ReadOutcome::Absent : ReadOutcome::Unreadable, {}};
    }
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.Get(), &size) || static_cast<uint64_t>(size.QuadPart) > kReadLimitBytes)
        return {ReadOutcome::Unreadable, {}};
    std::string bytes;
    bytes.reserve(static_cast<size_t>(size.QuadPart));
    char buffer[65536];
    for (;;) {
        DWORD read = 0;
        // A failed read is an error, not the end of the file: the text so far is not the file.
        if (!ReadFile(file.Get(), buffer, sizeof buffer, &read, nullptr)) return {ReadOutcome::Unreadable, {}};
        if (read == 0) break;
        bytes.append(buffer, read);
        if (bytes.size() > kReadLimitBytes) return {ReadOutcome::Unreadable, {}};
    }
    return {ReadOutcome::Whole, std::move(bytes)};
}

namespace {

// Writes `bytes` as the whole file and flushes it; the file is closed on return.
bool WriteWhole(const std::wstring& path, DWORD disposition, std::string_view bytes) {
    const OwnedFile file(CreateFileW(path.c_str(), GENERIC_WRITE, disposition == CREATE_ALWAYS ? 0 : FILE_SHARE_READ,
                                     nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid()) return false;
    for (size_t done = 0; done < bytes.size();) {
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 20));
        DWORD count = 0;
        if (!WriteFile(file.Get(), bytes.data() + done, chunk, &count, nullptr) || count == 0) return false;
        done += count;
    }
    return FlushFileBuffers(file.Get()) != FALSE;
}

DWORD LinkCount(const std::wstring& path) {
    const OwnedFile file(CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES,
                                     FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                     FILE_ATTRIBUTE_NORMAL, nullptr));
    BY_HANDLE_FILE_INFORMATION facts{};
    return file.Valid() && GetFileInformationByHandle(file.Get(), &facts) ? facts.nNumberOfLinks : 0;
}

}  // namespace

bool Win32FileSystem::ReplaceAll(const std::string& path, std::string_view bytes) {
    const std::wstring target = Widen(path);
    const std::wstring temporary = target + L".new";
    if (!WriteWhole(temporary, CREATE_ALWAYS, bytes)) {
        DeleteFileW(temporary.c_str());
        return false;
    }
    // A file with other names (the hard link a package manager such as Scoop
    // keeps to the copy it carries over updates) is written through, so that
    // every name sees the new content: a move would leave them on the old. A
    // write that fails on the way puts the old content back.
    if (LinkCount(target) > 1) {
        const FileContents old = Read(path);
        const bool through = old.outcome == ReadOutcome::Whole && WriteWhole(target, TRUNCATE_EXISTING, bytes);
        if (!through && old.outcome == ReadOutcome::Whole) (void)WriteWhole(target, TRUNCATE_EXISTING, old.bytes);
        DeleteFileW(temporary.c_str());
        return through;
    }
    if (!MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        DeleteFileW(temporary.c_str());
        return false;
    }
    return true;
}

bool Win32FileSystem::FileExists(const std::string& path) {
    const DWORD attributes = GetFileAttributesW(Widen(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool Win32FileSystem::RemoveFile(const std::string& path) {
    return DeleteFileW(Widen(path).c_str()) != FALSE || GetLastError() == ERROR_FILE_NOT_FOUND;
}

std::string Win32FileSystem::CurrentDirectory() {
    return Narrow(GrowingWideString([](wchar_t* buffer, DWORD size) { return GetCurrentDirectoryW(size, buffer); }));
}

}  // namespace tavi
