#pragma once
#include <windows.h>

#include "platform/system_commands.h"

namespace tavi {

class Win32SystemCommands final : public SystemCommands {
public:
    bool RunProgram(const std::string& commandLine) override;
    PrinterSetupResult PrinterSetup(NativeWindow owner) override;
    uint32_t ConnectNetworkDrive(NativeWindow owner) override;
    uint32_t DisconnectNetworkDrive(NativeWindow owner) override;
    uint32_t SendMediaCommand(const std::string& command) override;
    bool CloseProgramManager() override;
    void Wait(int milliseconds) override;
};

}  // namespace tavi
