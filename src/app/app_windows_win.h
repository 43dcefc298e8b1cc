#pragma once
#include <memory>

#include "app/splash_win.h"
#include "app/startup.h"
#include "bar/bar_window_win.h"

namespace tavi {

// The windows of the program as start-up sees them.
class Win32AppWindows final : public AppWindows {
public:
    Win32AppWindows(MenuMain& state, Platform& platform, BarTools& tools);
    ~Win32AppWindows() override;

    bool AnotherInstanceRunning() override;
    void ShowSplash() override;
    void CloseSplash() override;
    BarLoadResult ShowBar() override;
    void HideBar() override;
    void UnloadBar() override;
    void ApplyStartTopMost(bool topMost) override;
    void StartTimers(bool wallpaperTimer) override;
    void BuildWallpaperMenu() override;

    TaviMenu2* Bar() { return bar_.get(); }

private:
    MenuMain& state_;
    Platform& platform_;
    BarTools& tools_;
    HANDLE instanceMutex_ = nullptr;
    Openning splash_;
    std::unique_ptr<TaviMenu2> bar_;
};

}  // namespace tavi
