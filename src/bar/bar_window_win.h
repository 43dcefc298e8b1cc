#pragma once
#include <array>
#include <string>
#include <vector>

#include "app/entry_buttons.h"
#include "app/menu_main.h"
#include "app/startup.h"
#include "bar/appbar_win.h"
#include "bar/auto_hide.h"
#include "bar/bar_buttons.h"
#include "bar/bar_geometry.h"
#include "bar/bar_icons_win.h"
#include "bar/edge_trigger_win.h"
#include "bar/tray_icon_win.h"
#include "platform/platform.h"
#include "platform/window_win.h"

namespace tavi {

// The bar window `TaviMenu2`: the toolbar `tbrIcon` of entry buttons, the
// three command buttons `CmdMainEnd`, its shell registration, tray icon,
// timers and the edge strip it leaves while hidden.
class TaviMenu2 final : public Window, public EntryButtons, private BarShutdown {
public:
    TaviMenu2(MenuMain& state, Platform& platform);
    ~TaviMenu2() override;

    // Creates the window and its controls, loads the entries, registers with
    // the shell, lays the bar out and shows it. False when a control could
    // not be created (GetLastError tells why).
    bool Load();
    void StartTimers(bool wallpaperTimer);
    void ApplyStartTopMost(bool topMost);

    void SetButtonTip(int position, const std::string& tip) override;
    void ShowEntryIcon(int position, bool useCache) override;
    void ClearButtonImage(int position) override;

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    // Shutdown, in the order the closing sequence calls them.
    void StopTimers() override;
    void EjectMedia() override;
    std::pair<int, int> BarPositionTwips() override;
    void RemoveTrayIcon() override;
    void RemoveAppBar(bool autoHide) override;
    void Close();

    // Controls and layout (bar_layout_win.cpp).
    bool CreateControls();
    ScreenInfo CurrentScreen() const;
    DockEdge Edge() const;
    int IconSizeIndex() const;
    void Layout(bool keepButtons);
    void ReDock(bool force);
    void PlaceEdgeTrigger();
    bool DpiChanged() const;
    int ButtonCount() const;
    void AddButton(int number);
    void RemoveExtraButtons();
    void ApplyButtonSize();
    void ResetImageLists();
    void Redraw();
    void DrawCommandButton(const DRAWITEMSTRUCT& item);

    // Behaviour (bar_window_win.cpp).
    void Activate();
    void OnButtonClick(int buttonNumber);
    void Page(PageCommand command);
    void OnKeyDown(int virtualKey);
    void OnTimer1();
    void SetVisible();
    void ApplyTopMost();
    void BringBarToFront();
    void OnTrayMessage(UINT mouseMessage);
    void ShowTrayMenu();
    void OnFullScreenApp(bool entering);
    bool FullScreenInFront() const;
    void OnWheel(uint32_t wParam);
    void OnShellRestarted();
    static LRESULT CALLBACK ChildProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                           DWORD_PTR bar);

    static constexpr int kCmdFirstId = 101;  // CmdMainEnd(0..2) are 101..103

    MenuMain& state_;
    Platform& platform_;

    HWND toolbar_ = nullptr;                 // tbrIcon
    std::array<HWND, 3> cmdMainEnd_{};       // close, next, previous
    std::vector<std::wstring> tips_;         // per button position
    BarIcons icons_;
    TrayIcon tray_;
    frmActiveDummy trigger_;
    AppBar appBar_;
    AutoHideState autoHide_;
    Rect taskbarRect_;                       // TaskbarRect of the last layout
    int dpi_ = 96;                           // of the last layout
    BarMetrics metrics_ = MetricsFor(0);     // of the last layout, at its dpi
    int smallIconPixels_ = 16;
    WheelSum wheel_;
    HICON main2Small_ = nullptr;
    HICON main2Large_ = nullptr;
    bool toolbarFlat_ = true;
    bool started_ = false;
    bool inWndProc_ = false;
    bool inTrayMenu_ = false;
    bool behindFullScreen_ = false;
    UINT taskbarCreated_ = 0;
};

}  // namespace tavi
