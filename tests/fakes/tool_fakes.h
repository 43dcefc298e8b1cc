#pragma once
// Recording doubles of the drive and sound ports the tools use.
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/disk_format.h"
#include "platform/drive_space.h"
#include "platform/sound.h"
#include "platform/volume_devices.h"

namespace tavi::fakes {

class FakeSound final : public Sound {
public:
    struct Play {
        std::string path;
        bool asynchronous;
    };
    std::vector<Play> plays;
    int stops = 0;
    bool answer = true;  // what PlayWave reports

    bool PlayWave(const std::string& path, bool asynchronous) override {
        plays.push_back({path, asynchronous});
        return answer;
    }
    void StopWave() override { ++stops; }
};

class FakeDriveSpaces final : public DriveSpaces {
public:
    std::map<std::string, DriveSpace> drives;  // by root
    std::optional<DriveSpace> SpaceOf(const std::string& root) override {
        const auto found = drives.find(root);
        if (found == drives.end()) return std::nullopt;
        return found->second;
    }
};

// Volumes that log every open, control and close into one list, in order:
// "open E: read-write", "E: lock", "E: eject", "close E:". A drive letter
// missing from `present` cannot be opened; a control listed in `refused`
// for it fails.
class RecordingVolumeDevices final : public VolumeDevices {
public:
    std::vector<std::string> log;
    std::set<char> present;
    std::map<char, std::set<VolumeControl>> refused;

    std::unique_ptr<VolumeDevice> Open(char letter, VolumeAccess access) override;
};

class RecordingDiskFormatter final : public DiskFormatter {
public:
    struct Call {
        NativeWindow owner;
        int drive;
    };
    std::vector<Call> calls;
    uint32_t answer = 0xFFFFFFFDu;
    uint32_t FormatDrive(NativeWindow owner, int drive) override {
        calls.push_back({owner, drive});
        return answer;
    }
};

}  // namespace tavi::fakes
