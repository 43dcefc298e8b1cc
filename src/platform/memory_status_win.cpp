#include "platform/memory_status_win.h"

#include <string>

namespace tavi {

std::optional<MemoryFigures> Win32MemoryStatus::Physical() {
    MEMORYSTATUSEX status{};
    status.dwLength = sizeof status;
    if (!GlobalMemoryStatusEx(&status)) return std::nullopt;
    return MemoryFigures{status.dwMemoryLoad, status.ullTotalPhys, status.ullAvailPhys};
}

std::optional<int> Win32SystemResources::FreePercent(ResourceKind kind) {
    wchar_t folder[MAX_PATH] = {};
    const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return std::nullopt;
    // By its full path, so no library of that name elsewhere is picked up.
    const std::wstring library = std::wstring(folder) + L"\\rsrc32.dll";
    const HMODULE module = LoadLibraryExW(library.c_str(), nullptr, 0);
    if (!module) return std::nullopt;
    using Query = WORD(WINAPI*)(DWORD);
    auto query = reinterpret_cast<Query>(
        reinterpret_cast<void*>(GetProcAddress(module, "_MyGetFreeSystemResources32@4")));
    if (!query)
        query = reinterpret_cast<Query>(reinterpret_cast<void*>(GetProcAddress(module, "MyGetFreeSystemResources32")));
    std::optional<int> percent;
    if (query) percent = static_cast<int>(query(static_cast<DWORD>(kind)));
    FreeLibrary(module);
    return percent;
}

}  // namespace tavi
