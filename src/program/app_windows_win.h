#pragma once
#include <windows.h>

#include <ole2.h>

#include <memory>

#include "app/splash_win.h"
#include "app/startup.h"
#include "bar/bar_window_win.h"
#include "platform/handles_win.h"

namespace tavi {

// The windows of the program as start-up sees them.
class Win32AppWindows final : public AppWindows {
public:
    Win32AppWindows(MenuMain& state, Platform& platform, BarTools& tools, AlarmCheck& alarm);
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
    void AfterFirstPaint(std::function<void()> work) override;
    void FinishBar() override;
    void RegisterUpCheck() override;

    TaviMenu2* Bar() { return bar_.get(); }

private:
    // The thread's OLE apartment, from the first paint on: shell extensions
    // that ShellExecute loads expect one, and the bar takes files dropped
    // from the shell. Left after the bar is gone.
    struct OleApartment {
        HRESULT result = E_FAIL;
        ~OleApartment() {
            if (SUCCEEDED(result)) OleUninitialize();
        }
    };

    MenuMain& state_;
    Platform& platform_;
    BarTools& tools_;
    AlarmCheck& alarm_;
    OwnedHandle instanceMutex_;
    OleApartment ole_;
    SplashWindow splash_;
    std::unique_ptr<TaviMenu2> bar_;
};

}  // namespace tavi
