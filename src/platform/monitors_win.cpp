#include "platform/monitors_win.h"

#include "platform/wide_win.h"
#include "platform/window_win.h"

namespace tavi {
namespace {

Rect FromRect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

// GetDpiForMonitor lives in shcore.dll from Windows 8.1; before that, and
// where it fails, every monitor has the system's dpi.
int MonitorDpi(HMONITOR monitor) {
    using GetDpiForMonitorFn = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
    static const auto forMonitor = [] {
        const HMODULE shcore = LoadLibraryW(L"shcore.dll");
        return shcore ? reinterpret_cast<GetDpiForMonitorFn>(
                            reinterpret_cast<void*>(GetProcAddress(shcore, "GetDpiForMonitor")))
                      : nullptr;
    }();
    UINT x = 0, y = 0;
    if (forMonitor && SUCCEEDED(forMonitor(monitor, 0 /* MDT_EFFECTIVE_DPI */, &x, &y)) && y > 0)
        return static_cast<int>(y);
    return WindowDpi(nullptr);  // the system's
}

BOOL CALLBACK AddMonitor(HMONITOR handle, HDC, LPRECT, LPARAM data) {
    MONITORINFOEXW info{};
    info.cbSize = sizeof info;
    if (!GetMonitorInfoW(handle, &info)) return TRUE;
    MonitorInfo monitor;
    monitor.deviceName = Narrow(info.szDevice);
    monitor.monitor = FromRect(info.rcMonitor);
    monitor.workArea = FromRect(info.rcWork);
    monitor.dpi = MonitorDpi(handle);
    monitor.primary = (info.dwFlags & MONITORINFOF_PRIMARY) != 0;
    reinterpret_cast<std::vector<MonitorInfo>*>(data)->push_back(monitor);
    return TRUE;
}

}  // namespace

std::vector<MonitorInfo> Win32Monitors::List() {
    std::vector<MonitorInfo> monitors;
    EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&monitors));
    return monitors;
}

}  // namespace tavi
