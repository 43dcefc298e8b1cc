#include "platform/up_check_win.h"

#include <filesystem>

#include "platform/program_version_win.h"
#include "platform/registry_win.h"
#include "platform/up_check.h"
#include "platform/wide_win.h"

namespace tavi {

void RegisterUpCheckAtStart(MessageBoxes& messages, const std::string& programFolder) {
    wchar_t path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    // The program's name as it was started, without its extension.
    const std::string exeName =
        length > 0 && length < MAX_PATH ? Narrow(std::filesystem::path(path).stem().wstring()) : "TaviMenu2";
    Win32Registry registry;
    try {
        RegisterUpCheck(registry, messages, ReadProgramVersion(), programFolder, exeName);
    } catch (...) {
        // Nothing of the registration may keep the bar from starting.
    }
}

}  // namespace tavi
