#pragma once
#include <memory>

namespace tavi {

enum class VolumeAccess { Read, ReadWrite };

// The device controls that take a medium out of a drive, in the order they
// are issued.
enum class VolumeControl {
    Lock,          // fails while any file on the volume is open
    Dismount,
    AllowRemoval,  // undoes a "prevent removal" left by another program
    Eject,
};

// An open volume; closed (and so unlocked) when destroyed.
class VolumeDevice {
public:
    virtual ~VolumeDevice() = default;
    // True when the device carried the control out.
    virtual bool Control(VolumeControl control) = 0;
};

// Volumes by drive letter ("\\.\E:").
class VolumeDevices {
public:
    virtual ~VolumeDevices() = default;
    // Nothing when the volume cannot be opened.
    virtual std::unique_ptr<VolumeDevice> Open(char letter, VolumeAccess access) = 0;
};

}  // namespace tavi
