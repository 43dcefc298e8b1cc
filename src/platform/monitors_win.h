#pragma once
#include <windows.h>

#include "platform/monitors.h"

namespace tavi {

// EnumDisplayMonitors with each monitor's own dpi where the system can say.
class Win32Monitors final : public Monitors {
public:
    std::vector<MonitorInfo> List() override;
};

}  // namespace tavi
