#pragma once
#include <string>
#include <string_view>

#include "app/menu_main.h"
#include "bar/bar_buttons.h"

namespace tavi {

// What screen readers are told of the bar's buttons; the strip's accessible
// object turns it into roles and states of the system's own.
enum class AccessibleRole { PushButton, ButtonMenu };

struct ButtonDescription {
    std::string name;
    AccessibleRole role = AccessibleRole::PushButton;
    bool focused = false;
    bool unavailable = false;   // an empty slot: nothing to start
    std::string defaultAction;  // empty: none
    bool running = false;       // a window of its program is open
    bool operator==(const ButtonDescription&) const = default;
};

// The name of a registered entry: its title, or when that is empty the
// name its path ends with (a group's without its brackets).
std::string AccessibleEntryName(const LaunchEntry& entry);
// The same for any title and path, as a group's members have.
std::string AccessibleName(std::string_view title, std::string_view path);

// The button at 0-based page `position`, with `focused` the strip's focused
// position (-1: none). Positions past the page or the entries are empty slots.
ButtonDescription DescribeButton(const MenuMain& state, int position, int focused);

// The paging and close buttons, named by their captions.
std::string_view PageButtonName(PageCommand command);

}  // namespace tavi
