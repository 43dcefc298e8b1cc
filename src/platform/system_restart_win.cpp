#include "platform/system_restart_win.h"

#include "platform/handles_win.h"

namespace tavi {

bool EnableShutdownPrivilege() {
    HANDLE opened = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &opened)) return false;
    const OwnedHandle token(opened);
    TOKEN_PRIVILEGES privileges{};
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    bool enabled = LookupPrivilegeValueW(nullptr, SE_SHUTDOWN_NAME, &privileges.Privileges[0].Luid) &&
                   AdjustTokenPrivileges(token.Get(), FALSE, &privileges, sizeof privileges, nullptr, nullptr);
    // AdjustTokenPrivileges succeeds even when the token lacks the privilege.
    enabled = enabled && GetLastError() != ERROR_NOT_ALL_ASSIGNED;
    return enabled;
}

bool Win32SystemRestart::Restart() {
    if (!EnableShutdownPrivilege()) return false;
    return ExitWindowsEx(EWX_REBOOT | EWX_FORCEIFHUNG,
                         SHTDN_REASON_MAJOR_APPLICATION | SHTDN_REASON_MINOR_RECONFIG | SHTDN_REASON_FLAG_PLANNED) !=
           FALSE;
}

}  // namespace tavi
