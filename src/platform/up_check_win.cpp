#include "platform/up_check_win.h"

#include <string_view>

#include "platform/program_version_win.h"
#include "platform/registry_win.h"
#include "platform/up_check.h"
#include "platform/wide_win.h"

namespace tavi {
namespace {

// A file name without its folder and last extension ("C:\\x\\a.b.exe" gives
// "a.b"); a name that starts with its only dot keeps it. Plain string work:
// std::filesystem would bring the whole of the library's locale machinery
// into the program for this one call.
std::wstring Stem(std::wstring_view path) {
    const size_t slash = path.find_last_of(L"\\/");
    const std::wstring_view name = slash == std::wstring_view::npos ? path : path.substr(slash + 1);
    const size_t dot = name.rfind(L'.');
    return std::wstring(dot == std::wstring_view::npos || dot == 0 ? name : name.substr(0, dot));
}

}  // namespace

void RegisterUpCheckAtStart(MessageBoxes& messages, const std::string& programFolder) {
    wchar_t path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    // The program's name as it was started, without its extension.
    const std::string exeName =
        length > 0 && length < MAX_PATH ? Narrow(Stem(path)) : "TaviMenu2";
    Win32Registry registry;
    try {
        RegisterUpCheck(registry, messages, ReadProgramVersion(), programFolder, exeName, UpdateContactOfBuild());
    } catch (...) {
        // Nothing of the registration may keep the bar from starting.
    }
}

}  // namespace tavi
