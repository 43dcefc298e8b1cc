#pragma once
#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/bar_services.h"
#include "app/entry_buttons.h"
#include "app/menu_main.h"
#include "app/running_watch_win.h"
#include "app/startup.h"
#include "bar/alarm_check.h"
#include "bar/appbar_win.h"
#include "bar/auto_hide.h"
#include "bar/bar_buttons.h"
#include "bar/bar_drag_drop_win.h"
#include "bar/bar_geometry.h"
#include "bar/bar_icons_win.h"
#include "bar/bar_keys.h"
#include "bar/button_strip_win.h"
#include "bar/command_button_win.h"
#include "bar/edge_trigger_win.h"
#include "bar/hot_key.h"
#include "bar/shortcut_win.h"
#include "bar/sibling_bars_win.h"
#include "bar/tray_icon_win.h"
#include "menus/bar_tools.h"
#include "menus/command_windows.h"
#include "menus/desktop_list_handlers.h"
#include "menus/menu_commands.h"
#include "platform/folder_watch_win.h"
#include "platform/platform.h"
#include "platform/window_win.h"

namespace tavi {

// What the program puts into the bar from the layers above it: the windows
// the commands open (made for the bar's services) and the alarm its timer asks.
struct BarWiring {
    std::function<std::unique_ptr<CommandWindows>(BarServices&)> makeWindows;
    AlarmCheck& alarm;
};

// The bar window `TaviMenu2`: the toolbar `tbrIcon` of entry buttons, the
// three command buttons `CmdMainEnd`, its shell registration, tray icon,
// timers and the edge strip it leaves while hidden.
class TaviMenu2 final : public Window, public EntryButtons, private BarShutdown {
public:
    TaviMenu2(MenuMain& state, Platform& platform, BarTools& tools, const BarWiring& wiring);
    ~TaviMenu2() override;

    // Creates the window and its controls, loads the entries, registers with
    // the shell, lays the bar out and shows it painted with the pictures of
    // its first page. False when a control could not be created (GetLastError
    // tells why).
    bool Load();
    // Whether a layout has placed the bar: a load that could not leaves it unshown.
    bool LaidOut() const { return laidOut_; }
    // Runs `work` from the message loop once the first paint is done; not at
    // all when the bar closes first.
    void AfterFirstPaint(std::function<void()> work);
    // What Load leaves until after the first paint: the icon cache, the
    // display mode's check mark and the tray icon. The drop target and the
    // menus' lists wait for the pointer (PointerCame, ReadyForDrops).
    void FinishStart();
    void StartTimers(bool wallpaperTimer);
    // A modeless window of the bar's (the memory meter) that takes its keys
    // through IsDialogMessage, or null.
    HWND ModelessWindow() const { return reinterpret_cast<HWND>(windows_->ModelessWindow()); }
    // The wallpaper list of the tray menu, at start-up.
    void BuildWallpaperMenu();
    void ApplyStartTopMost(bool topMost);
    // A program the bar started, for the running marks; the bar owns `process` from here on.
    void ProgramStarted(HANDLE process);

    void SetButtonTip(int position, const std::string& tip) override;
    void ShowEntryIcon(int position, bool useCache) override;
    void ClearButtonImage(int position) override;
    // Pictures came from the workers: the buttons still showing the generic one take theirs.
    void ShowArrivedPictures(bool redrawn);
    void KeepIconCache();

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    // What the bar offers the menus, commands and dialogs (bar_services_win.cpp).
    class Services final : public BarServices {
    public:
        explicit Services(TaviMenu2& bar) : bar_(bar) {}
        NativeWindow Handle() const override;
        EntryButtons& Buttons() override { return bar_; }
        void RefreshButtons() override;
        void Redraw() override;
        void FullRebuild() override;
        void ReDock(bool force) override;
        void BringToFront() override;
        void PauseTimer() override;
        void ResumeTimer() override;
        Rect ButtonRect(int position) override;
        Rect WindowRect() const override;
        BarButtonSizes ButtonSizes() const override { return ButtonSizesOf(bar_.layout_); }
        bool Visible() const override;
        void Show() override;
        void ApplyTopMost(bool topMost) override;
        void SetWallpaperTimer(bool running) override;
        void ScheduleAlarm() override;
        void ReRegisterHotKey() override;
        void RepaintCommandButtons() override;
        void BeginEntryMove(int index) override;
        void Close() override;
        bool ProgramRuns(const std::string& path) const override;
        void BringProgramForward(const std::string& path) override;
        void CloseProgramWindows(const std::string& path) override;
        void FollowRunning(std::function<void()> changed) override;

    private:
        TaviMenu2& bar_;
    };

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
    // Asks the shell for the edge's auto-hide when the settings want it;
    // AutoHideRefused tells whether another bar has it.
    void ClaimAutoHide();
    void TellAutoHideRefused();
    void PlaceEdgeTrigger();
    bool DpiChanged() const;
    int ButtonCount() const;
    void AddButtons(const std::vector<int>& numbers);
    void RemoveExtraButtons();
    void ApplyButtonSize();
    void ResetImageLists();
    void Redraw();
    void DrawCommandButton(const DRAWITEMSTRUCT& item);
    std::optional<POINT> TipOrigin(int position, SIZE size) const;
    bool PlaceTip(HWND tip, int position) const;
    void OnColourSetting(UINT message, WPARAM wParam, LPARAM lParam);
    void EraseBackground(HDC dc) const;

    // Behaviour (bar_window_win.cpp).
    void Activate();
    // `byKey`: Enter, which no drag can have used up.
    void OnButtonClick(int buttonNumber, bool byKey = false);
    void Page(PageCommand command);
    void OnKeyDown(int virtualKey);
    void OnTimer1();
    void SetVisible();
    void ApplyTopMost();
    void BringBarToFront();
    void OnTrayMessage(UINT mouseMessage);
    void ShowTrayMenu();
    void ShowEntryMenu(int position, std::optional<POINT> at = std::nullopt);
    void RunMenu(const MenuModel& model, std::optional<POINT> at = std::nullopt);
    void PostRefreshLists();
    std::string IconCachePath() const;
    std::string TrayTipNow() const;
    void LoadIconCache();
    void RefreshListsNow();
    void PointerCame();
    void ReadyForDrops();
    // Timer1 runs only while the pointer is at the bar or its edge, or a
    // count toward showing or hiding is under way; paused while a menu or a
    // modal window of ours is open.
    void ArmTimer1();
    void PauseTimer1();
    void ResumeTimer1();
    // The alarm's timer, set for the next alarm minute.
    void ScheduleAlarm();
    // The monitors and the taskbar are read again at the next look.
    void ForgetScreen() { screen_.reset(); }
    void OnFullScreenApp(bool entering);
    bool FullScreenInFront() const;
    void OnWheel(uint32_t wParam);
    void OnShellRestarted();
    std::optional<LRESULT> ChildMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    // The keyboard and the global key (bar_keyboard_win.cpp).
    bool StripKey(UINT message, WPARAM wParam);
    void OnBarKey(BarKey key, char32_t typed = 0);
    void RegisterHotKeyFromSettings();
    void RegisterGlobalKey(int id, const std::string& setting, GlobalKey key, bool& registered);
    void UnregisterGlobalKeys();
    void OnHotKey();
    void TakeKeyboard();
    void ReleaseKeyboard(bool giveBack);
    void FocusButton(int position);
    void ShowKeyTip(int position);

    // The entry search (bar_search_win.cpp): Ctrl+F and its global key.
    void OpenEntrySearch();
    void OnSearchKey();

    // Message handlers, one per message (bar_messages_win.cpp); nothing
    // leaves the message to the default window procedure.
    template <typename Body>
    std::optional<LRESULT> Unnested(Body body);
    std::optional<LRESULT> WmAppBar(WPARAM notice, LPARAM lParam);
    std::optional<LRESULT> WmMouseWheel(WPARAM wParam, LPARAM);
    std::optional<LRESULT> WmCommand(WPARAM wParam, LPARAM lParam);
    std::optional<LRESULT> WmNotify(WPARAM, LPARAM lParam);
    std::optional<LRESULT> WmDrawItem(WPARAM, LPARAM lParam);
    std::optional<LRESULT> WmKeyDown(WPARAM key, LPARAM);
    std::optional<LRESULT> WmHotKey(WPARAM key, LPARAM);
    std::optional<LRESULT> WmActivateApp(WPARAM active, LPARAM);
    std::optional<LRESULT> WmTimer(WPARAM timer, LPARAM);
    std::optional<LRESULT> WmTray(WPARAM, LPARAM mouseMessage);
    std::optional<LRESULT> WmAfterFirstPaint(WPARAM, LPARAM);
    std::optional<LRESULT> WmRefreshLists(WPARAM, LPARAM);
    std::optional<LRESULT> WmFilesChanged(WPARAM, LPARAM);
    std::optional<LRESULT> WmRunningChanged(WPARAM, LPARAM);
    std::optional<LRESULT> WmShortcutRead(WPARAM, LPARAM);
    // By an entry's or member's path as written (bar_running_win.cpp).
    std::optional<RunningEntry> RunningEntryOf(const std::string& path) const;
    bool EntryRuns(int index) const;
    bool ProgramRuns(const std::string& path) const;
    bool BringForward(const std::string& path);
    void CloseWindowsOf(const std::string& path);
    void RunningChanged();
    std::optional<LRESULT> WmSetCursor(WPARAM, LPARAM lParam);
    std::optional<LRESULT> WmDeviceChange(WPARAM, LPARAM);
    std::optional<LRESULT> WmDisplayChange(WPARAM, LPARAM);
    std::optional<LRESULT> WmDpiChanged(WPARAM, LPARAM);
    std::optional<LRESULT> WmSysColorChange(WPARAM wParam, LPARAM lParam);
    std::optional<LRESULT> WmEraseBkgnd(WPARAM dc, LPARAM);
    std::optional<LRESULT> WmSettingChange(WPARAM wParam, LPARAM lParam);
    std::optional<LRESULT> WmEndSession(WPARAM ending, LPARAM);
    std::optional<LRESULT> WmClose(WPARAM, LPARAM);
    std::optional<LRESULT> WmDestroy(WPARAM, LPARAM);
    std::optional<LRESULT> WmBarEnded(WPARAM bar, LPARAM);
    std::optional<LRESULT> WmTimeChange(WPARAM, LPARAM);
    std::optional<LRESULT> WmPowerBroadcast(WPARAM event, LPARAM);

    static constexpr UINT kTrayMessage = WM_APP + 1;
    static constexpr UINT kAfterFirstPaint = WM_APP + 2;
    static constexpr UINT kRefreshLists = WM_APP + 3;
    static constexpr UINT kBarEnded = WM_APP + 4;
    static constexpr UINT kRunningChanged = WM_APP + 5;
    static constexpr UINT kShortcutRead = WM_APP + 6;  // lParam: a ShortcutRead the bar takes over
    static constexpr UINT kFilesChanged = WM_APP + 7;
    // Sync tools write in several steps: the files are read once they have
    // been quiet this long.
    static constexpr UINT kFollowQuietMs = 400;
    static constexpr UINT_PTR kTimerFollow = 4;
    static constexpr int kCmdFirstId = 101;  // CmdMainEnd(0..2) are 101..103
    static constexpr UINT_PTR kTimer1 = 1;
    static constexpr UINT kTimer1Interval = 500;  // ms: auto-hide polls twice a second
    static constexpr UINT_PTR kTimWallPaper = 2;
    static constexpr UINT_PTR kTimerAlarm = 3;
    static constexpr int kHotKeyId = 1;      // the global key of the settings
    static constexpr int kSearchKeyId = 2;   // the entry search's global key

    MenuMain& state_;
    Platform& platform_;
    BarTools& tools_;
    Services services_{*this};
    BarListView listView_{state_, services_};
    std::unique_ptr<CommandWindows> windows_;
    DesktopListHandlers lists_;
    MenuCommands commands_;
    AlarmCheck& alarm_;
    BarLayout layout_;                       // the last layout: TaskbarRect, dpi, metrics
    Rect askedStrip_;                        // the strip asked of the shell, at the edge
    StackOffset stackOffset_;                // where the shell's answer put it
    bool registrationLost_ = false;          // the shell restarted: register afresh
    mutable std::optional<ScreenInfo> screen_;  // kept between the notices that change it
    bool timer1Running_ = false;
    bool timer1Paused_ = false;

    ButtonStrip strip_;                      // tbrIcon
    std::array<CommandButton, 3> cmdMainEnd_;  // close, next, previous
    std::vector<std::wstring> tips_;         // per button position
    BarIcons icons_{tools_.pictures};
    TrayIcon tray_;
    EdgeTriggerWindow trigger_;
    AppBar appBar_;
    SiblingBars siblings_;
    FolderWatch watch_;  // the program folder, for files changed by other programs
    AutoHideState autoHide_;
    Win32Shortcuts shortcuts_;
    std::unique_ptr<BarDragDrop> dragDrop_;  // after the toolbar, gone before it
    std::unique_ptr<RunningWatch> running_;  // after the toolbar, unhooked before it goes
    HWND lastBrought_ = nullptr;             // repeated clicks cycle from it
    // What shortcut entries start, by the shortcut's comparable path ("": not
    // read, or unreadable), read away from the UI thread; asked once each.
    mutable std::unordered_map<std::string, std::string> shortcutTargets_;
    std::function<void()> runningFollower_;  // an open group box, told after the buttons
    WheelSum wheel_;
    OwnedIcon main2Small_;
    OwnedIcon main2Large_;
    bool toolbarFlat_ = true;
    bool started_ = false;
    bool startFinished_ = false;  // FinishStart has run: OLE is ready for the drop target
    bool iconCacheDue_ = false;   // the start is done, but the first page's pictures are still coming
    bool inWndProc_ = false;
    bool inTrayMenu_ = false;
    bool laidOut_ = false;                   // a layout has placed the bar
    bool menuOpen_ = false;                  // MenuOpen: the entry menu is up, clicks are ignored
    bool behindFullScreen_ = false;
    UINT taskbarCreated_ = 0;
    ULONGLONG drivesReadAt_ = 0;             // when the pointer last had drive names read
    std::function<void()> afterFirstPaint_;
    bool hotKeyRegistered_ = false;
    bool searchKeyRegistered_ = false;
    bool keyboardHeld_ = false;          // the global key brought the bar up; it stays while keys choose
    HWND previousForeground_ = nullptr;  // the window the global key took the focus from
    TipWindow keyTip_;                   // the tooltip that follows the keyboard's focus
};

}  // namespace tavi
