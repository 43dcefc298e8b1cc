#pragma once
#include <optional>
#include <string>
#include <string_view>

#include "menus/reboot_prompt.h"
#include "menus/run_time_lists.h"
#include "platform/display_modes.h"
#include "platform/message_box.h"
#include "platform/native_window.h"
#include "platform/system_restart.h"

// The display mode submenus "画面(&G)..." of both menus: one item per mode
// the driver reports, and the change to the mode an item names.
namespace tavi {

// " 800x600 (60 kHz) (256色)"; the rate part only when the mode has one;
// 4 and 8 bits per pixel as colour counts, other depths as bit counts.
std::string DisplayModeCaption(const DisplayMode& mode);
// The mode a caption names (its rate 0 when it shows none); nothing when the
// text is not a mode's caption.
std::optional<DisplayMode> ParseDisplayModeCaption(std::string_view caption);

// SetChgDisplay: item 0 "ﾃﾞｨｽﾌﾟﾚｲﾌﾟﾛﾊﾟﾃｨの設定...", a separator, then the
// modes in the driver's order with a separator wherever the colour depth
// changes and the current mode checked; a disabled "(なし)" after item 0
// when the driver reports none. A mode the driver repeats is listed once.
void SetChgDisplay(DisplayModes& display, RunTimeList& list);

enum class DisplayModeOutcome {
    NotFound,       // the caption names no mode the driver offers now
    Applied,        // the screen shows the mode, which is also stored
    Refused,        // the system's test refused the mode; nothing changed
    Failed,         // the test passed but setting or storing the mode failed
    Stored,         // stored for the next start, as the user chose
    Restarting,     // stored, and the system accepted the restart
    RestartFailed,  // stored, but the system refused the restart
    Cancelled,      // the user cancelled the restart question
};

struct DisplayModeResult {
    DisplayModeOutcome outcome = DisplayModeOutcome::NotFound;
    DisplayChange code = DisplayChange::Successful;  // the system's answer behind a refusal or failure
    bool operator==(const DisplayModeResult&) const = default;
};

struct DisplayModePorts {
    DisplayModes& display;
    RebootPrompt& prompt;
    SystemRestart& restart;
    NativeWindow owner;  // of the restart question
};

// ChgDisplaySet: finds the mode the caption names and tests it; a mode that
// passes is set and stored, one that needs a restart asks RebootDialog first.
// A mode whose test fails is never set.
DisplayModeResult ChgDisplaySet(const std::string& caption, const DisplayModePorts& ports);

// What the user is told about a result, when anything.
std::optional<MessageRequest> DisplayModeMessage(const DisplayModeResult& result, const std::string& caption);

}  // namespace tavi
