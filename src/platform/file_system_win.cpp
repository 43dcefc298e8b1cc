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

bool Win32FileSystem::ReplaceAll(const std::string& path, std::string_view bytes) {
    const std::wstring target = Widen(path);
    const std::wstring temporary = target + L".new";
    // The temporary file is closed before it is moved or deleted.
    const bool written = [&] {
        const OwnedFile file(
            CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file.Valid()) return false;
        for (size_t done = 0; done < bytes.size();) {
            const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 20));
            DWORD count = 0;
            if (!WriteFile(file.Get(), bytes.data() + done, chunk, &count, nullptr) || count == 0) return false;
            done += count;
        }
        return FlushFileBuffers(file.Get()) != FALSE;
    }();
    if (!written) {
        DeleteFileW(temporary.c_str());
        return false;
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
