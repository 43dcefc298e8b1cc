#include "bar/monitor_choice.h"

namespace tavi {

MonitorInfo ChooseMonitor(std::string_view setting, const std::vector<MonitorInfo>& monitors,
                          const MonitorInfo& fallback) {
    if (!setting.empty())
        for (const MonitorInfo& m : monitors)
            if (m.deviceName == setting) return m;
    for (const MonitorInfo& m : monitors)
        if (m.primary) return m;
    return monitors.empty() ? fallback : monitors.front();
}

bool TaskbarOnMonitor(const Rect& tb, const Rect& monitor) {
    if (tb.Width() <= 0 || tb.Height() <= 0) return false;
    const int64_t x2 = static_cast<int64_t>(tb.left) + tb.right;  // twice the centre
    const int64_t y2 = static_cast<int64_t>(tb.top) + tb.bottom;
    return x2 >= 2LL * monitor.left && x2 < 2LL * monitor.right && y2 >= 2LL * monitor.top &&
           y2 < 2LL * monitor.bottom;
}

}  // namespace tavi
