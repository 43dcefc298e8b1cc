#include "fakes/tool_fakes.h"

namespace tavi::fakes {
namespace {

const char* NameOf(VolumeControl control) {
    switch (control) {
        case VolumeControl::Lock: return "lock";
        case VolumeControl::Dismount: return "dismount";
        case VolumeControl::AllowRemoval: return "allow-removal";
        case VolumeControl::Eject: return "eject";
    }
    return "?";
}

class RecordingVolume final : public VolumeDevice {
public:
    RecordingVolume(RecordingVolumeDevices& owner, char letter) : owner_(owner), letter_(letter) {}
    ~RecordingVolume() override { owner_.log.push_back("close " + Drive()); }

    bool Control(VolumeControl control) override {
        owner_.log.push_back(Drive() + " " + NameOf(control));
        const auto refused = owner_.refused.find(letter_);
        return refused == owner_.refused.end() || !refused->second.count(control);
    }

private:
    std::string Drive() const { return std::string(1, letter_) + ":"; }
    RecordingVolumeDevices& owner_;
    char letter_;
};

}  // namespace

std::unique_ptr<VolumeDevice> RecordingVolumeDevices::Open(char letter, VolumeAccess access) {
    log.push_back(std::string("open ") + letter + ": " + (access == VolumeAccess::Read ? "read" : "read-write"));
    if (!present.count(letter)) return nullptr;
    return std::make_unique<RecordingVolume>(*this, letter);
}

}  // namespace tavi::fakes
