#pragma once
#include <windows.h>

#include "platform/desktop_parameters.h"

namespace tavi {

// The desktop settings through SystemParametersInfoW, stored in the user's
// profile and announced with WM_SETTINGCHANGE.
class Win32DesktopParameters final : public DesktopParameters {
public:
    std::optional<std::string> Wallpaper() override;
    bool SetWallpaper(const std::string& path) override;
    bool SetScreenSaverActive(bool active) override;
};

}  // namespace tavi
