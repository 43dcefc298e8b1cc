#pragma once
#include <windows.h>

#include "platform/display_modes.h"

namespace tavi {

// The primary display through EnumDisplaySettingsW and ChangeDisplaySettingsW.
class Win32DisplayModes final : public DisplayModes {
public:
    std::optional<DisplayMode> Mode(int number) override;
    DisplayMode Current() override;
    DisplayChange Change(const DisplayMode& mode, DisplayChangeKind kind) override;
};

}  // namespace tavi
