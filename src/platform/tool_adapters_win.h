#pragma once
#include <windows.h>

#include "platform/disk_format.h"
#include "platform/drive_space.h"
#include "platform/sound.h"
#include "platform/volume_devices.h"

namespace tavi {

// Wave files through PlaySoundW.
class Win32Sound final : public Sound {
public:
    bool PlayWave(const std::string& path, bool asynchronous) override;
    void StopWave() override;
};

// GetDiskFreeSpaceExW: 64-bit sizes, so drives of 2 GB and more come out whole.
class Win32DriveSpaces final : public DriveSpaces {
public:
    std::optional<DriveSpace> SpaceOf(const std::string& root) override;
};

// "\\.\X:" and DeviceIoControl.
class Win32VolumeDevices final : public VolumeDevices {
public:
    std::unique_ptr<VolumeDevice> Open(char letter, VolumeAccess access) override;
};

// SHFormatDrive.
class Win32DiskFormatter final : public DiskFormatter {
public:
    uint32_t FormatDrive(NativeWindow owner, int drive) override;
};

// While alive, a drive without a medium makes the calls of this thread fail
// instead of asking the user to insert a disk.
class QuietDriveErrors {
public:
    QuietDriveErrors() { SetThreadErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX, &previous_); }
    ~QuietDriveErrors() { SetThreadErrorMode(previous_, nullptr); }
    QuietDriveErrors(const QuietDriveErrors&) = delete;
    QuietDriveErrors& operator=(const QuietDriveErrors&) = delete;

private:
    DWORD previous_ = 0;
};

}  // namespace tavi
