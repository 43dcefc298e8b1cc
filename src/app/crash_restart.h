#pragma once
#include <chrono>
#include <string>
#include <string_view>

// The bar asks the system to start it again when it crashed, hung or was
// closed for an update, so a user who relies on it finds it back with its
// lists. A bar that crashes again soon after such a start is left ended:
// it would only crash again, and again.
namespace tavi {

// What the system is asked to do; the command line is what the new start gets.
struct RestartRequest {
    std::string commandLine;
    bool afterCrash = false;
    bool afterHang = false;
    bool afterUpdate = false;
    // Never after a logoff or a reboot: the user's own start with Windows
    // brings the bar back then, and a second start would only be refused.
    bool afterReboot = false;

    bool operator==(const RestartRequest&) const = default;
};

// Marks a start that the system made after a crash, a hang or an update.
inline constexpr std::string_view kRestartedArgument = "/restarted";
// How long a restarted bar must run before a crash counts as a new one.
inline constexpr std::chrono::minutes kRestartSettlesAfter{10};

// Whether the program's command line (its arguments, without the program)
// holds kRestartedArgument as an argument of its own, in either case.
bool IsRestartedStart(std::string_view arguments);

// What to ask: a start by the user, or a restarted one that has run for
// kRestartSettlesAfter, comes back after a crash; a restarted one that has
// not settled yet comes back only after an update.
RestartRequest RestartRequestFor(bool restartedStart, bool settled);

}  // namespace tavi
