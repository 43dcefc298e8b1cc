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
    // The shell's display name of a drive root, empty when it has none.
    virtual std::string DriveDisplayName(const std::string& root) = 0;
    // This PC's name on the network, empty when the system gives none.
    virtual std::string ComputerName() = 0;
};

}  // namespace tavi
