#include <gtest/gtest.h>

#include <initializer_list>
#include <set>
#include <string>
#include <vector>

#include "fakes/fakes.h"
#include "fakes/tool_fakes.h"
#include "tools/media_eject.h"

using namespace tavi;
using Log = std::vector<std::string>;

namespace {

// What a drive that does everything asked of it records.
Log Ejected(char letter, const char* access = "read-write") {
    const std::string d = std::string(1, letter) + ":";
    return {"open " + d + " " + access, d + " lock", d + " dismount", d + " allow-removal", d + " eject", "close " + d};
}

Log Joined(std::initializer_list<Log> parts) {
    Log all;
    for (const Log& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

class MediaEjectTest : public ::testing::Test {
protected:
    MenuMain state;
    fakes::FakeSystemInfo system;
    fakes::RecordingVolumeDevices volumes;
    // Waits land in the volumes' log, so their place between drives shows.
    MediaEject eject{state, system, volumes, [this](int ms) { volumes.log.push_back("wait " + std::to_string(ms)); }};

    void SetUp() override {
        system.drives = {{"A:\\", DriveType::Removable, ""}, {"E:\\", DriveType::Removable, ""},
                         {"F:\\", DriveType::CdRom, ""},     {"G:\\", DriveType::Removable, ""}};
        volumes.present = {'A', 'E', 'F', 'G'};
    }
    Log EjectOne(const char* driveName) {
        volumes.log.clear();
        eject.EjectMedia(driveName);
        return volumes.log;
    }
};

}  // namespace

TEST_F(MediaEjectTest, OnlyTheFirstCharacterNamesTheDriveAndItMustBeALetter) {
    const struct {
        const char* name;
        Log log;
    } cases[] = {
        {"E", Ejected('E')}, {"e:\\", Ejected('E')}, {"Exx", Ejected('E')},
        {"F:\\", Ejected('F', "read")},  // a CD-ROM drive opens for reading only
        {"", {}}, {"1", {}}, {"@", {}}, {"[", {}}, {" E", {}}, {"Ｅ", {}},
    };
    for (const auto& c : cases) EXPECT_EQ(EjectOne(c.name), c.log) << "\"" << c.name << "\"";
}

TEST_F(MediaEjectTest, AVolumeThatCannotBeLockedKeepsItsMedium) {
    const struct {
        const char* why;
        std::set<VolumeControl> refused;
        Log log;
    } cases[] = {
        {"a file is open on it", {VolumeControl::Lock}, {"open E: read-write", "E: lock", "close E:"}},
        // Once locked, a failing step does not stop the next.
        {"no dismount", {VolumeControl::Dismount}, Ejected('E')},
        {"only the lock works", {VolumeControl::Dismount, VolumeControl::AllowRemoval, VolumeControl::Eject},
         Ejected('E')},
    };
    for (const auto& c : cases) {
        volumes.refused['E'] = c.refused;
        EXPECT_EQ(EjectOne("E"), c.log) << c.why;
    }
    volumes.present.erase('E');
    EXPECT_EQ(EjectOne("E"), Log({"open E: read-write"})) << "cannot be opened";
}

TEST_F(MediaEjectTest, EjectsEveryListedDriveInOrderWhenForcedOrWhenTheSettingAsks) {
    state.RemovableDrives = {"E:\\", "", "G:\\", "  ", "A:\\"};
    const Log everyDrive = Joined({Ejected('E'), {"wait 500"}, Ejected('G'), {"wait 500"}, Ejected('A')});
    const struct {
        const char* setting;
        bool force;
        bool ejects;
    } cases[] = {
        {"0", false, false},  // closing the bar with the option off
        {"1", false, true},   // closing the bar with the option on
        {"0", true, true},    // the MO-eject command
    };
    for (const auto& c : cases) {
        fakes::SetSetting(state, &Settings::MediaEject, c.setting);
        volumes.log.clear();
        eject.EjectRemovableDrives(c.force);
        EXPECT_EQ(volumes.log, c.ejects ? everyDrive : Log{}) << "MediaEject " << c.setting << " force " << c.force;
    }

    volumes.log.clear();
    state.RemovableDrives = {""};
    eject.EjectRemovableDrives(true);
    EXPECT_EQ(volumes.log, Log{}) << "no removable drives";

    // The pause follows a drive that could not be opened just the same.
    state.RemovableDrives = {"E:\\", "G:\\"};
    volumes.present = {'G'};
    eject.EjectRemovableDrives(true);
    EXPECT_EQ(volumes.log, Joined({{"open E: read-write", "wait 500"}, Ejected('G')}));
}
