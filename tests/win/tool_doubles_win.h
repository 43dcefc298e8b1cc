#pragma once
// Doubles of the ports the options dialog and the memory meter take, for
// the Windows tests: sound, drive sizes, the shell and memory figures.
#include <windows.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/drive_space.h"
#include "platform/memory_status.h"
#include "platform/shell.h"
#include "platform/sound.h"

namespace tool_doubles {

class RecordingSound final : public tavi::Sound {
public:
    std::vector<std::string> calls;
    bool PlayWave(const std::string& path, bool asynchronous) override {
        calls.push_back("play " + path + (asynchronous ? " async" : " sync"));
        return true;
    }
    void StopWave() override { calls.push_back("stop"); }
};

class TableDrives final : public tavi::DriveSpaces {
public:
    std::map<std::string, tavi::DriveSpace> spaces;
    std::optional<tavi::DriveSpace> SpaceOf(const std::string& root) override {
        const auto found = spaces.find(root);
        if (found == spaces.end()) return std::nullopt;
        return found->second;
    }
};

// Records what would have been opened; starts nothing.
class RecordingShell final : public tavi::Shell {
public:
    std::vector<tavi::ShellOpenRequest> opened;
    int Open(const tavi::ShellOpenRequest& request) override {
        opened.push_back(request);
        return 42;
    }
    Association AssociatedProgram(const std::string&) override { return {31, ""}; }
};

class FixedMemory final : public tavi::MemoryStatus {
public:
    std::optional<tavi::MemoryFigures> figures;
    std::optional<tavi::MemoryFigures> Physical() override { return figures; }
};

}  // namespace tool_doubles
