#pragma once
#include <optional>

namespace tavi {

// One mode of a display: its size in pixels, colour depth and refresh rate.
struct DisplayMode {
    int width = 0;
    int height = 0;
    int bitsPerPel = 0;
    int frequency = 0;  // Hz; 0 when the driver reports no rate
    bool operator==(const DisplayMode&) const = default;
};

// What the system answers to a mode change, with the values it uses.
enum class DisplayChange {
    Successful = 0,
    Restart = 1,       // the change needs the computer to restart
    Failed = -1,       // the driver could not set the mode
    BadMode = -2,      // the display does not offer the mode
    NotUpdated = -3,   // the registry could not be written
    BadFlags = -4,
    BadParam = -5,
    BadDualView = -6,
};

enum class DisplayChangeKind {
    Test,           // only asks whether the mode could be set
    Apply,          // sets it now and keeps it for the next start
    StoreOnly,      // keeps it for the next start without changing the screen now
};

// The primary display's modes, as its driver reports them.
class DisplayModes {
public:
    virtual ~DisplayModes() = default;
    // Mode `number` in the driver's order; nothing past the last one.
    virtual std::optional<DisplayMode> Mode(int number) = 0;
    // The mode the display shows now.
    virtual DisplayMode Current() = 0;
    // Size and depth of `mode` always; its rate only when it is not 0.
    [[nodiscard]] virtual DisplayChange Change(const DisplayMode& mode, DisplayChangeKind kind) = 0;
};

}  // namespace tavi
