#pragma once
#include <windows.h>

#include <shellapi.h>

#include <string>

namespace tavi {

// The notification-area icon of the bar.
class TrayIcon {
public:
    TrayIcon() = default;
    TrayIcon(const TrayIcon&) = delete;
    TrayIcon& operator=(const TrayIcon&) = delete;
    ~TrayIcon();

    // Adds the icon once; later calls (a second activation) do nothing.
    void Add(HWND owner, UINT callbackMessage, HICON icon, const std::string& tip);
    void SetTip(const std::string& tip);
    void Remove();
    // The shell came back (explorer restarted): add the icon again, or modify
    // it when the shell kept the old one.
    void Restore();

private:
    NOTIFYICONDATAW data_{};
    bool added_ = false;
};

}  // namespace tavi
