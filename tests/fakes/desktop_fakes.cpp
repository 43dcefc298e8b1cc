#include "fakes/desktop_fakes.h"

namespace tavi::fakes {

std::string Describe(const DisplayMode& mode) {
    return std::to_string(mode.width) + "x" + std::to_string(mode.height) + "@" + std::to_string(mode.bitsPerPel) +
           "/" + std::to_string(mode.frequency);
}

std::optional<DisplayMode> FakeDisplayModes::Mode(int number) {
    if (number < 0 || static_cast<size_t>(number) >= modes.size()) return std::nullopt;
    return modes[static_cast<size_t>(number)];
}

DisplayChange FakeDisplayModes::Change(const DisplayMode& mode, DisplayChangeKind kind) {
    switch (kind) {
        case DisplayChangeKind::Test: log_.push_back("test " + Describe(mode)); return testAnswer;
        case DisplayChangeKind::Apply:
            log_.push_back("apply " + Describe(mode));
            if (applyAnswer == DisplayChange::Successful) {
                current = mode;
                if (mode.frequency == 0) current.frequency = 60;  // the driver's choice
            }
            return applyAnswer;
        case DisplayChangeKind::StoreOnly: log_.push_back("store " + Describe(mode)); return storeAnswer;
    }
    return DisplayChange::BadParam;
}

bool FakeDesktopParameters::SetWallpaper(const std::string& path) {
    log_.push_back("set wallpaper " + path);
    if (failSets) return false;
    wallpaper = path;
    return true;
}

bool FakeDesktopParameters::SetScreenSaverActive(bool active) {
    log_.push_back(active ? "screen saver on" : "screen saver off");
    if (failSets) return false;
    screenSaverActive = active;
    return true;
}

}  // namespace tavi::fakes
