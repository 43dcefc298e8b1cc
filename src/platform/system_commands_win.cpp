#include "platform/system_commands_win.h"

#include <commdlg.h>
#include <mmsystem.h>
#include <winnetwk.h>

#include "platform/handles_win.h"
#include "platform/wide_win.h"

namespace tavi {
namespace {

HWND OwnerWindow(NativeWindow owner) {
    HWND window = reinterpret_cast<HWND>(owner);
    return window && IsWindow(window) ? window : nullptr;
}

}  // namespace

bool Win32SystemCommands::RunProgram(const std::string& commandLine) {
    // CreateProcessW may write into the command line, so it gets its own copy.
    std::wstring line = Widen(commandLine);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return false;
    // Without this the new window would open behind the one that has the focus.
    AllowSetForegroundWindow(process.dwProcessId);
    const OwnedHandle thread(process.hThread), started(process.hProcess);
    return true;
}

PrinterSetupResult Win32SystemCommands::PrinterSetup(NativeWindow owner) {
    PRINTDLGW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = OwnerWindow(owner);
    dialog.Flags = PD_PRINTSETUP;
    PrinterSetupResult result;
    result.accepted = PrintDlgW(&dialog) != FALSE;
    if (!result.accepted) result.error = CommDlgExtendedError();
    // The dialog hands back the chosen printer's settings in global memory.
    if (dialog.hDevMode) GlobalFree(dialog.hDevMode);
    if (dialog.hDevNames) GlobalFree(dialog.hDevNames);
    return result;
}

uint32_t Win32SystemCommands::ConnectNetworkDrive(NativeWindow owner) {
    return WNetConnectionDialog(OwnerWindow(owner), RESOURCETYPE_DISK);
}

uint32_t Win32SystemCommands::DisconnectNetworkDrive(NativeWindow owner) {
    return WNetDisconnectDialog(OwnerWindow(owner), RESOURCETYPE_DISK);
}

uint32_t Win32SystemCommands::SendMediaCommand(const std::string& command) {
    wchar_t answer[512] = {};
    return mciSendStringW(Widen(command).c_str(), answer, static_cast<UINT>(std::size(answer)), nullptr);
}

bool Win32SystemCommands::CloseProgramManager() {
    HWND programManager = FindWindowW(L"PROGMAN", nullptr);
    if (!programManager) return false;
    return PostMessageW(programManager, WM_CLOSE, 0, 0) != FALSE;
}

void Win32SystemCommands::Wait(int milliseconds) {
    if (milliseconds > 0) Sleep(static_cast<DWORD>(milliseconds));
}

}  // namespace tavi
