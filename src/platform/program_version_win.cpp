#include "platform/program_version_win.h"

#include <vector>

#include "platform/wide_win.h"

namespace tavi {

std::wstring RunningProgramFile() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return {};
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

ProgramVersion ReadProgramVersion() {
    const std::wstring path = RunningProgramFile();
    return path.empty() ? ProgramVersion{} : ReadProgramVersionOf(path);
}

ProgramVersion ReadProgramVersionOf(const std::wstring& path) {
    ProgramVersion version;
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
    if (size == 0) return version;
    std::vector<BYTE> block(size);
    if (!GetFileVersionInfoW(path.c_str(), 0, size, block.data())) return version;

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT fixedSize = 0;
    if (VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &fixedSize) && fixed &&
        fixedSize >= sizeof(VS_FIXEDFILEINFO)) {
        version.major = HIWORD(fixed->dwFileVersionMS);
        version.minor = LOWORD(fixed->dwFileVersionMS);
        version.revision = HIWORD(fixed->dwFileVersionLS);
    }
    struct Translation {
        WORD language;
        WORD codePage;
    }* translation = nullptr;
    UINT translationSize = 0;
    if (!VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation),
                        &translationSize) ||
        translationSize < sizeof(Translation))
        return version;
    wchar_t query[64] = {};
    swprintf(query, 64, L"\\StringFileInfo\\%04x%04x\\ProductName", translation->language, translation->codePage);
    wchar_t* name = nullptr;
    UINT nameLength = 0;
    if (VerQueryValueW(block.data(), query, reinterpret_cast<void**>(&name), &nameLength) && name && nameLength > 0)
        version.productName = Narrow(std::wstring(name, wcsnlen(name, nameLength)));
    return version;
}

std::string ThousandsSeparator() {
    wchar_t separator[8] = {};
    if (GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_STHOUSAND, separator, 8) <= 1) return ",";
    return Narrow(separator);
}

}  // namespace tavi
