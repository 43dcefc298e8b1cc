#include <vector>

#include "platform/wide_win.h"
#include "platform/win32_adapters_win.h"

namespace tavi {
namespace {

// Closes a file handle when it goes out of scope.
struct FileHandle {
    HANDLE handle;
    explicit FileHandle(HANDLE h) : handle(h) {}
    ~FileHandle() {
        if (handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    bool Valid() const { return handle != INVALID_HANDLE_VALUE; }
};

}  // namespace

std::optional<std::string> Win32FileSystem::ReadAll(const std::string& path) {
    FileHandle file(CreateFileW(Widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid()) return std::nullopt;
    std::string bytes;
    char buffer[65536];
    DWORD read = 0;
    while (ReadFile(file.handle, buffer, sizeof buffer, &read, nullptr) && read > 0) bytes.append(buffer, read);
    return bytes;
}

bool Win32FileSystem::ReplaceAll(const std::string& path, std::string_view bytes) {
    const std::wstring target = Widen(path);
    const std::wstring temporary = target + L".new";
    {
        FileHandle file(CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file.Valid()) return false;
        size_t done = 0;
        while (done < bytes.size()) {
            const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 20));
            DWORD written = 0;
            if (!WriteFile(file.handle, bytes.data() + done, chunk, &written, nullptr) || written == 0) {
                CloseHandle(file.handle);
                file.handle = INVALID_HANDLE_VALUE;
                DeleteFileW(temporary.c_str());
                return false;
            }
            done += written;
        }
        if (!FlushFileBuffers(file.handle)) {
            CloseHandle(file.handle);
            file.handle = INVALID_HANDLE_VALUE;
            DeleteFileW(temporary.c_str());
            return false;
        }
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
