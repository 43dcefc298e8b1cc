#include "platform/folder_identity_win.h"

#include "platform/handles_win.h"
#include "platform/wide_win.h"

namespace tavi {

std::string ResolvedFolder(const std::string& folder) {
    std::wstring resolved = Widen(folder);
    const OwnedFile handle(CreateFileW(resolved.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                       nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (handle.Valid()) {
        std::wstring finalPath = GrowingWideString([&](wchar_t* buffer, DWORD size) {
            return GetFinalPathNameByHandleW(handle.Get(), buffer, size, FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
        });
        if (!finalPath.empty()) resolved = std::move(finalPath);
    }
    // Names compare as the file system does, without case, in every script.
    if (!resolved.empty()) CharUpperBuffW(resolved.data(), static_cast<DWORD>(resolved.size()));
    return Narrow(resolved);
}

}  // namespace tavi
