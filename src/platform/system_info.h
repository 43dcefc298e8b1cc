#pragma once
#include <string>
#include <vector>

namespace tavi {

enum class DriveType { Unknown = 0, NoRootDir = 1, Removable = 2, Fixed = 3, Remote = 4, CdRom = 5, RamDisk = 6 };

// Facts about the running system that the core asks for.
class SystemInfo {
public:
    virtual ~SystemInfo() = default;
    virtual std::string WindowsDirectory() = 0;  // without a trailing "\" as the system gives it
    virtual std::string SystemDirectory() = 0;
    virtual bool IsWindowsNT() = 0;
    // Root paths such as "C:\", in the system's order.
    virtual std::vector<std::string> LogicalDriveRoots() = 0;
    virtual DriveType DriveTypeOf(const std::string& root) = 0;
    // The shell's display names of drive roots, in their order; empty for a
    // root the shell names nothing. Asking never waits on a drive for long:
    // a name the shell has not given within a short wait (a CD drive that
    // spins up, a network drive that does not answer) is the last one it
    // gave for that drive, or the plain "(C:)" form.
    virtual std::vector<std::string> DriveDisplayNames(const std::vector<std::string>& roots) = 0;
    // This PC's name on the network, empty when the system gives none.
    virtual std::string ComputerName() = 0;
};

}  // namespace tavi
