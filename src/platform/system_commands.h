#pragma once
#include <cstdint>
#include <string>

#include "platform/native_window.h"

namespace tavi {

// What the printer setup dialog gave back.
struct PrinterSetupResult {
    bool accepted = false;  // the user confirmed a printer
    uint32_t error = 0;     // the common dialog's error code when it failed; 0 for a plain cancel
};

// The single system calls behind the menus' system commands.
class SystemCommands {
public:
    virtual ~SystemCommands() = default;
    // Starts a program from a fixed command line, in a normal focused window.
    // No command interpreter is involved. True when the process started.
    virtual bool RunProgram(const std::string& commandLine) = 0;
    // The printer setup dialog, owned by `owner`.
    virtual PrinterSetupResult PrinterSetup(NativeWindow owner) = 0;
    // The system's dialogs for mapping and disconnecting network disk drives;
    // each returns the system's result code (0 when done).
    virtual uint32_t ConnectNetworkDrive(NativeWindow owner) = 0;
    virtual uint32_t DisconnectNetworkDrive(NativeWindow owner) = 0;
    // One media control command string; returns the media control's error code (0 on success).
    virtual uint32_t SendMediaCommand(const std::string& command) = 0;
    // Asks the shell's program-manager window to close, which makes the shell
    // offer its shut-down dialog. False when there is no such window.
    virtual bool CloseProgramManager() = 0;
    virtual void Wait(int milliseconds) = 0;
};

}  // namespace tavi
