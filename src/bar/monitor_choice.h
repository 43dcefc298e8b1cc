#pragma once
#include <string_view>
#include <vector>

#include "platform/monitors.h"

namespace tavi {

// The monitor the bar docks on: the one whose device name the setting holds,
// else the primary, else the first listed. With no monitor listed at all (a
// system that cannot enumerate them) the fallback describes the screen.
MonitorInfo ChooseMonitor(std::string_view setting, const std::vector<MonitorInfo>& monitors,
                          const MonitorInfo& fallback);

// True when the taskbar, in virtual-screen pixels, lies on `monitor`: its
// centre is inside the monitor's rectangle.
bool TaskbarOnMonitor(const Rect& taskbarPixels, const Rect& monitor);

}  // namespace tavi
