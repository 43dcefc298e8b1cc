#pragma once

namespace tavi {

// Removable-media ejection, as the drive tools provide it.
class MediaTools {
public:
    virtual ~MediaTools() = default;
    // Ejects the medium of every drive in RemovableDrives; `force` ejects
    // regardless of the MediaEject setting (the MO-eject command).
    virtual void EjectRemovableDrives(bool force) = 0;
};

}  // namespace tavi
