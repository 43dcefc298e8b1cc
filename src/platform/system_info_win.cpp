#include "platform/win32_adapters_win.h"

#include <shellapi.h>

#include "platform/wide_win.h"

namespace tavi {
namespace {

// Calls a "fill this buffer" function with a buffer large enough for its answer.
template <typename Fill>
std::wstring FillBuffer(Fill fill) {
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        const UINT used = fill(buffer.data(), static_cast<UINT>(buffer.size()));
        if (used == 0) return {};
        if (used < buffer.size()) {
            buffer.resize(used);
            return buffer;
        }
        buffer.resize(used + 1);
    }
}

}  // namespace

std::string Win32SystemInfo::WindowsDirectory() {
    return Narrow(FillBuffer([](wchar_t* b, UINT n) { return GetWindowsDirectoryW(b, n); }));
}

std::string Win32SystemInfo::SystemDirectory() {
    return Narrow(FillBuffer([](wchar_t* b, UINT n) { return GetSystemDirectoryW(b, n); }));
}

bool Win32SystemInfo::IsWindowsNT() {
    // Every system this build runs on is of the NT family; the platform id
    // from GetVersionEx is kept as the test so the answer stays honest.
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof info;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    if (!GetVersionExW(&info)) return true;
#pragma GCC diagnostic pop
    return info.dwPlatformId == VER_PLATFORM_WIN32_NT;
}

std::vector<std::string> Win32SystemInfo::LogicalDriveRoots() {
    // Sized from the system's own answer, so any number of drives fits.
    const std::wstring list =
        FillBuffer([](wchar_t* b, UINT n) { return static_cast<UINT>(GetLogicalDriveStringsW(n, b)); });
    std::vector<std::string> roots;
    for (size_t start = 0; start < list.size();) {
        const size_t end = list.find(L'\0', start);
        const size_t stop = end == std::wstring::npos ? list.size() : end;
        if (stop == start) break;
        roots.push_back(Narrow(std::wstring_view(list).substr(start, stop - start)));
        start = stop + 1;
    }
    return roots;
}

DriveType Win32SystemInfo::DriveTypeOf(const std::string& root) {
    const UINT type = ::GetDriveTypeW(Widen(root).c_str());
    return type <= DRIVE_RAMDISK ? static_cast<DriveType>(type) : DriveType::Unknown;
}

std::vector<std::string> Win32SystemInfo::DriveDisplayNames(const std::vector<std::string>& roots) {
    return driveNames_.Of(roots);
}

std::string Win32SystemInfo::ComputerName() {
    wchar_t name[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD size = MAX_COMPUTERNAME_LENGTH + 1;
    if (!::GetComputerNameW(name, &size)) return {};
    return Narrow(std::wstring(name, size));
}

}  // namespace tavi
