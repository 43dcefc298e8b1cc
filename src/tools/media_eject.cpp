#include "tools/media_eject.h"

#include <memory>
#include <string>
#include <vector>

#include "platform/text.h"

namespace tavi {

void MediaEject::EjectMedia(std::string_view driveName) {
    if (driveName.empty()) return;
    char letter = driveName[0];
    if (letter >= 'a' && letter <= 'z') letter = static_cast<char>(letter - 'a' + 'A');
    if (letter < 'A' || letter > 'Z') return;

    // A CD-ROM drive opens for reading only; other drives need write access
    // for the lock.
    const DriveType type = system_.DriveTypeOf(std::string(1, letter) + ":\\");
    const VolumeAccess access = type == DriveType::CdRom ? VolumeAccess::Read : VolumeAccess::ReadWrite;
    const std::unique_ptr<VolumeDevice> volume = volumes_.Open(letter, access);
    if (!volume) return;
    if (!volume->Control(VolumeControl::Lock)) return;
    // Once locked the volume is ours alone; each later step is tried even if
    // the one before failed, as a drive may eject without being dismounted.
    volume->Control(VolumeControl::Dismount);
    volume->Control(VolumeControl::AllowRemoval);
    volume->Control(VolumeControl::Eject);
}

void MediaEject::EjectRemovableDrives(bool force) {
    if (!force && state_.settings.Values().MediaEject == "0") return;
    std::vector<std::string> drives;
    for (const std::string& root : state_.RemovableDrives)
        if (!IsBlank(root)) drives.push_back(TrimLeadingSpaces(root));
    for (size_t i = 0; i < drives.size(); ++i) {
        if (i > 0 && wait_) wait_(kEjectPauseMilliseconds);
        EjectMedia(drives[i]);
    }
}

}  // namespace tavi
