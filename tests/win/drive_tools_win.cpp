#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "platform/host_adapters.h"
#include "platform/tool_adapters_win.h"
#include "platform/win32_adapters_win.h"
#include "temp_folder_win.h"
#include "tools/media_eject.h"

using namespace tavi;

namespace {

constexpr uint64_t kGiB = uint64_t{1} << 30;

// A drive letter the system does not have.
std::string MissingRoot() {
    const DWORD present = GetLogicalDrives();
    for (int i = 25; i >= 0; --i)
        if (!(present & (1u << i))) return std::string(1, static_cast<char>('A' + i)) + ":\\";
    return {};
}

// Passes everything to the real volumes and notes what the system answered.
class AnsweredVolumes final : public VolumeDevices {
public:
    explicit AnsweredVolumes(VolumeDevices& real) : real_(real) {}
    std::vector<std::string> log;

    std::unique_ptr<VolumeDevice> Open(char letter, VolumeAccess access) override {
        auto volume = real_.Open(letter, access);
        log.push_back(std::string("open ") + (volume ? "ok" : "failed"));
        if (!volume) return nullptr;
        return std::make_unique<Answered>(std::move(volume), log);
    }

private:
    class Answered final : public VolumeDevice {
    public:
        Answered(std::unique_ptr<VolumeDevice> real, std::vector<std::string>& log)
            : real_(std::move(real)), log_(log) {}
        bool Control(VolumeControl control) override {
            const bool done = real_->Control(control);
            static const char* const kNames[] = {"lock", "dismount", "allow-removal", "eject"};
            log_.push_back(std::string(kNames[static_cast<int>(control)]) + (done ? " ok" : " failed"));
            return done;
        }

    private:
        std::unique_ptr<VolumeDevice> real_;
        std::vector<std::string>& log_;
    };
    VolumeDevices& real_;
};

double SecondsFor(const std::function<void()>& call) {
    const auto began = std::chrono::steady_clock::now();
    call();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
}

}  // namespace

TEST(DriveSpacesWin, SizesOfTheSystemDriveAreWholeSixtyFourBitNumbers) {
    Win32DriveSpaces spaces;
    const auto system = spaces.SpaceOf("C:\\");
    ASSERT_TRUE(system.has_value());
    // The test machine's disk is far larger than 4 GB: a size cut to 32 bits
    // or to a cluster product would be smaller.
    EXPECT_GT(system->totalBytes, 4 * kGiB);
    EXPECT_LE(system->freeBytes, system->totalBytes);
    // The C++ library's own answer for the same drive.
    HostDriveSpaces library;
    const auto same = library.SpaceOf("C:\\");
    ASSERT_TRUE(same.has_value());
    EXPECT_EQ(same->totalBytes, system->totalBytes);

    const std::string missing = MissingRoot();
    ASSERT_FALSE(missing.empty());
    EXPECT_EQ(spaces.SpaceOf(missing), std::nullopt) << missing;
}

TEST(SoundWin, AMissingWaveFileDoesNotHoldTheCaller) {
    TempFolder folder;
    const std::string missing = folder.PathOf("ありません.wav");
    const std::string notWave = folder.PathOf("壊れた.wav");
    std::ofstream(tavi::Widen(notWave).c_str(), std::ios::binary) << "RIFF????WAVEjunk";
    Win32Sound sound;
    for (const std::string& path : {missing, notWave}) {
        // Asynchronous playback returns at once whatever the file; a
        // synchronous one at most plays the system's short default sound.
        EXPECT_LT(SecondsFor([&] { sound.PlayWave(path, true); }), 2.0) << path;
        EXPECT_LT(SecondsFor([&] { sound.PlayWave(path, false); }), 5.0) << path;
        EXPECT_LT(SecondsFor([&] { sound.StopWave(); }), 2.0) << path;
    }
}

TEST(VolumeDevicesWin, AFixedDriveIsNeverEjectedAndStaysUsable) {
    TempFolder folder;
    const std::string letter = folder.PathOf("x").substr(0, 1);
    Win32SystemInfo system;
    ASSERT_EQ(system.DriveTypeOf(letter + ":\\"), DriveType::Fixed);

    Win32VolumeDevices real;
    AnsweredVolumes volumes(real);
    MenuMain state;
    state.RemovableDrives = {letter + ":\\"};
    int waits = 0;
    MediaEject eject(state, system, volumes, [&](int) { ++waits; });
    eject.EjectRemovableDrives(true);

    ASSERT_FALSE(volumes.log.empty());
    for (const std::string& answer : volumes.log) EXPECT_NE(answer, "eject ok") << "the fixed drive was ejected";
    EXPECT_EQ(waits, 0);
    // The volume was closed and unlocked: its files are still there to use.
    const std::string file = folder.PathOf("after.txt");
    std::ofstream(tavi::Widen(file).c_str()) << "still here";
    EXPECT_NE(GetFileAttributesW(tavi::Widen(file).c_str()), INVALID_FILE_ATTRIBUTES);

    EXPECT_EQ(real.Open('1', VolumeAccess::Read), nullptr);
}
