#pragma once
#include "app/entry_buttons.h"
#include "app/menu_main.h"
#include "app/startup.h"
#include "platform/platform.h"
#include "platform/window_win.h"

namespace tavi {

// The bar window `TaviMenu2`.
class TaviMenu2 final : public Window, public EntryButtons, private BarShutdown {
public:
    TaviMenu2(MenuMain& state, Platform& platform);
    ~TaviMenu2() override;

    // Creates, loads and shows the bar; false when the window could not be made.
    bool Load();
    void StartTimers(bool wallpaperTimer);

    void SetButtonTip(int position, const std::string& tip) override;
    void ShowEntryIcon(int position, bool useCache) override;
    void ClearButtonImage(int position) override;

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void StopTimers() override;
    void EjectMedia() override;
    std::pair<int, int> BarPositionTwips() override;
    void RemoveTrayIcon() override;
    void RemoveAppBar(bool autoHide) override;
    void OnTimer(UINT_PTR id);

    MenuMain& state_;
    Platform& platform_;
    bool started_ = false;
};

}  // namespace tavi
