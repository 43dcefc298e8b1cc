#pragma once
#include <string>
#include <vector>

#include "platform/rect.h"

namespace tavi {

// One monitor as the system reports it, in virtual-screen pixels.
struct MonitorInfo {
    std::string deviceName;  // such as "\\.\DISPLAY2"
    Rect monitor;
    Rect workArea;
    int dpi = 96;
    bool primary = false;
    bool operator==(const MonitorInfo&) const = default;
};

// The monitors attached now, in the order the system enumerates them.
class Monitors {
public:
    virtual ~Monitors() = default;
    virtual std::vector<MonitorInfo> List() = 0;
};

}  // namespace tavi
