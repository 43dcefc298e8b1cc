#pragma once
#include <functional>
#include <string_view>

#include "app/menu_main.h"
#include "menus/media_tools.h"
#include "platform/system_info.h"
#include "platform/volume_devices.h"

namespace tavi {

// Pause between two drives: a drive busy ejecting is given time before the
// next request reaches the same controller.
inline constexpr int kEjectPauseMilliseconds = 500;

// Takes media out of removable drives by device control. A volume is
// dismounted only after it was locked, which fails while any program has a
// file open on it: such a drive keeps its medium, so nobody loses data.
class MediaEject final : public MediaTools {
public:
    // `wait` pauses the calling thread for the given milliseconds.
    MediaEject(const MenuMain& state, SystemInfo& system, VolumeDevices& volumes,
               std::function<void(int milliseconds)> wait)
        : state_(state), system_(system), volumes_(volumes), wait_(std::move(wait)) {}

    // Ejects the medium of the drive whose letter starts `driveName`
    // ("E", "e:\"); anything that is not a drive letter does nothing.
    // Failures are silent.
    void EjectMedia(std::string_view driveName);

    // Every drive of RemovableDrives in order, with the pause between two
    // drives; only when `force` or the MediaEject setting is not "0".
    void EjectRemovableDrives(bool force) override;

private:
    const MenuMain& state_;
    SystemInfo& system_;
    VolumeDevices& volumes_;
    std::function<void(int)> wait_;
};

}  // namespace tavi
