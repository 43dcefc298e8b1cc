#pragma once
#include <cstdint>
#include <optional>
#include <string>

namespace tavi {

struct DriveSpace {
    uint64_t totalBytes = 0;
    uint64_t freeBytes = 0;  // all free bytes, not only those the user may fill
};

// Sizes of drives by root ("C:\"); nothing when the drive cannot be asked.
class DriveSpaces {
public:
    virtual ~DriveSpaces() = default;
    virtual std::optional<DriveSpace> SpaceOf(const std::string& root) = 0;
};

}  // namespace tavi
