#pragma once
#include "app/bar_services.h"
#include "app/bar_tools.h"
#include "app/menu_main.h"
#include "menus/command_windows.h"
#include "platform/platform.h"

namespace tavi {

// The windows the menu commands open, each over the bar window.
class Win32CommandWindows final : public CommandWindows {
public:
    Win32CommandWindows(MenuMain& state, Platform& platform, BarServices& bar, BarTools& tools)
        : state_(state), platform_(platform), bar_(bar), tools_(tools) {}

    void ShowNewApp() override;
    void ShowFileInfomation() override;
    int ShowOptionSet() override;
    void ShowFDFormat() override;
    void ShowMemorySpace() override;

private:
    MenuMain& state_;
    Platform& platform_;
    BarServices& bar_;
    BarTools& tools_;
};

}  // namespace tavi
