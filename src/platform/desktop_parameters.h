#pragma once
#include <optional>
#include <string>

namespace tavi {

// The user's desktop settings that the wallpaper and screen-saver menus change.
// Changes are stored in the user's profile and announced to every window.
class DesktopParameters {
public:
    virtual ~DesktopParameters() = default;
    // The wallpaper's path as the system keeps it, empty when there is none;
    // nothing when the system cannot tell.
    virtual std::optional<std::string> Wallpaper() = 0;
    // Makes `path` the wallpaper; an empty path removes it.
    [[nodiscard]] virtual bool SetWallpaper(const std::string& path) = 0;
    [[nodiscard]] virtual bool SetScreenSaverActive(bool active) = 0;
};

}  // namespace tavi
