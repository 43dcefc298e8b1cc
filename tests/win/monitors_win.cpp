// The monitors adapter against the system's own view of the screen.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>

#include "platform/monitors_win.h"

using namespace tavi;

TEST(Win32Monitors, ListsEveryMonitorWithOnePrimaryAtTheOrigin) {
    const std::vector<MonitorInfo> monitors = Win32Monitors().List();
    ASSERT_EQ(static_cast<int>(monitors.size()), GetSystemMetrics(SM_CMONITORS));
    ASSERT_EQ(std::count_if(monitors.begin(), monitors.end(), [](const MonitorInfo& m) { return m.primary; }), 1);
    for (const MonitorInfo& m : monitors) {
        EXPECT_EQ(m.deviceName.rfind("\\\\.\\", 0), 0u) << m.deviceName;
        EXPECT_GT(m.monitor.Width(), 0) << m.deviceName;
        EXPECT_GE(m.workArea.left, m.monitor.left) << m.deviceName;
        EXPECT_LE(m.workArea.right, m.monitor.right) << m.deviceName;
        EXPECT_GE(m.dpi, 96 / 2) << m.deviceName;
        if (!m.primary) continue;
        EXPECT_EQ(m.monitor, (Rect{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}));
    }
}
