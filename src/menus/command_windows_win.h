#pragma once
#include "app/bar_services.h"
#include "app/bar_tools.h"
#include "app/menu_main.h"
#include "menus/command_windows.h"
#include "platform/platform.h"
#include "tools/memory_space_win.h"

namespace tavi {

// The windows the menu commands open, each over the bar window.
class Win32CommandWindows final : public CommandWindows {
public:
    Win32CommandWindows(MenuMain& state, Platform& platform, BarServices& bar, BarTools& tools)
        : state_(state), platform_(platform), bar_(bar), tools_(tools), meter_(platform, tools.memory, tools.resources) {}

    void ShowNewApp() override;
    void ShowFileInfomation() override;
    int ShowOptionSet() override;
    void ShowFDFormat() override;
    void ShowMemorySpace() override;
    void ImportShortcuts() override;

    // The modeless memory meter, whose keys the message loop passes through
    // IsDialogMessage; null while it is not open.
    HWND ModelessWindow() const { return meter_.Handle(); }

private:
    MenuMain& state_;
    Platform& platform_;
    BarServices& bar_;
    BarTools& tools_;
    frmMemorySpace meter_;
};

}  // namespace tavi
