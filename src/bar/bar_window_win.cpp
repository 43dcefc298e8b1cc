// The bar window's life: load, the first showing, paging, keys and wheel,
// the auto-hide timer, the tray icon, shell notices and closing.
#include "bar/bar_window_win.h"

#include <commctrl.h>
#include <windowsx.h>

#include <ctime>

#include "app/backup_names.h"
#include "app/launcher.h"
#include "platform/messages.h"
#include "app/phase_trace.h"
#include "platform/text.h"
#include "menus/popup_menu_win.h"
#include "platform/program_icon_ids.h"
#include "platform/wide_win.h"

namespace tavi {
namespace {

// Drive names are read again when the pointer comes to the bar or the tray
// icon, at most this often: before any press, without a cost per move.
constexpr ULONGLONG kDriveNamesAge = 2000;

// Physical buttons, which is what a drag holds whichever way they are swapped.
bool AnyMouseButtonHeld() {
    for (const int button : {VK_LBUTTON, VK_RBUTTON, VK_MBUTTON})
        if (GetAsyncKeyState(button) & 0x8000) return true;
    return false;
}

}  // namespace

TaviMenu2::TaviMenu2(MenuMain& state, Platform& platform, BarTools& tools, const BarWiring& wiring)
    : state_(state),
      platform_(platform),
      tools_(tools),
      windows_(wiring.makeWindows(services_)),
      lists_(DesktopListPorts{state, platform, tools.folders, tools.desktop, tools.display, tools.restart,
                              tools.rebootPrompt, services_}),
      commands_(MenuCommandPorts{state, platform, services_, *windows_, tools.system, tools.folders, tools.media,
                                 lists_}),
      alarm_(wiring.alarm) {
    lists_.AttachDisplayList(commands_.Lists().displayModes);
    icons_.OnArrival([this](bool redrawn) { ShowArrivedPictures(redrawn); });
}

namespace {

// The program's own icon at a size, from the sizes its resource holds.
HICON LoadProgramIcon(int size) {
    return static_cast<HICON>(
        LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_TAVIMENU2), IMAGE_ICON, size, size, 0));
}

}  // namespace

TaviMenu2::~TaviMenu2() {
    state_.entries.AttachView(nullptr);
}

bool TaviMenu2::Load() {
    if (started_) return true;
    TracePhase("bar load");
    // The lists are read before the window is made: a window whose thread is
    // still reading a large file would leave whoever sends it a message waiting.
    state_.page.Reset();
    autoHide_ = AutoHideState{};
    autoHide_.lastReleasePosition = 20;
    state_.entries.Open(state_.ApplicationPath, state_.notices, platform_);
    TracePhase("entries loaded");
    main2Small_.Reset(LoadProgramIcon(GetSystemMetrics(SM_CXSMICON)));
    main2Large_.Reset(LoadProgramIcon(GetSystemMetrics(SM_CXICON)));
    if (!RegisterClassOnce(L"TaviMenu2", nullptr, main2Large_.Get())) return false;
    if (!CreateWindowOf(L"TaviMenu2", Widen(text::kAppTitle).c_str(), WS_POPUP | WS_CLIPCHILDREN,
                        WS_EX_TOOLWINDOW, 0, 0, 0, 0))
        return false;
    SendMessageW(Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(main2Small_.Get()));
    SendMessageW(Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(main2Large_.Get()));
    taskbarCreated_ = RegisterWindowMessageW(L"TaskbarCreated");
    TracePhase("bar window");

    state_.entries.AttachView(&listView_);
    LoadIconCache();
    TracePhase("icon cache");

    toolbarFlat_ = state_.settings.Values().ButtonFlat == "1";
    if (!CreateControls()) return false;
    dragDrop_ = std::make_unique<BarDragDrop>(strip_, state_, platform_, services_, autoHide_, shortcuts_);
    trigger_.OnPointer([this] { ArmTimer1(); });
    TracePhase("controls");
    appBar_.Attach(Handle(), kAppBarCallbackMessage);
    appBar_.SetEdge(ShellEdgeOf(Edge()));
    (void)appBar_.New();
    ClaimAutoHide();
    const bool autoHide = AutoHides(state_);
    if (autoHide) {
        trigger_.Create(nullptr);
        PlaceEdgeTrigger();
    }
    Layout(false);
    TracePhase("docked");
    ResetImageLists();
    ReloadButtonIcons(state_, *this);
    TracePhase("page icons");
    if (autoHide) autoHide_.lastReleasePosition = -2;

    ShowWindow(Handle(), SW_SHOWNORMAL);
    UpdateWindow(Handle());
    TracePhase("painted");
    Activate();
    return true;
}

void TaviMenu2::AfterFirstPaint(std::function<void()> work) {
    afterFirstPaint_ = std::move(work);
    // Posted, so it runs once the loop has taken over and nothing sooner
    // (the first paint is already done: UpdateWindow paints at once).
    if (!PostMessageW(Handle(), kAfterFirstPaint, 0, 0)) {
        auto now = std::move(afterFirstPaint_);
        afterFirstPaint_ = nullptr;
        if (now) now();
    }
}

// A folder that takes no file only costs that start the drawing.
void TaviMenu2::KeepIconCache() {
    iconCacheDue_ = false;
    if (const std::optional<std::string> keep = icons_.CacheToKeep())
        (void)platform_.files.ReplaceAll(IconCachePath(), *keep);
}

void TaviMenu2::FinishStart() {
    // The first page's pictures for the next start, once they have all come.
    iconCacheDue_ = true;
    if (icons_.Coming() == 0) KeepIconCache();
    icons_.ForgetCache();
    startFinished_ = true;
    lists_.SetChgDisplay();
    tray_.Add(Handle(), kTrayMessage, main2Small_.Get(), TrayTipNow());
    RegisterHotKeyFromSettings();
    siblings_.Attach(Handle(), kBarEnded);
    siblings_.Refresh();
    siblings_.Announce();
    if (state_.AutoHideRefused) TellAutoHideRefused();
    (void)watch_.Start(state_.ApplicationPath, {std::begin(kProgramFiles), std::end(kProgramFiles)}, Handle(),
                       kFilesChanged);
}

std::string TaviMenu2::TrayTipNow() const {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_s(&local, &now);
    // With bars from other folders the tip says which folder this one is.
    return TrayTip(local.tm_hour, local.tm_min, local.tm_sec,
                   siblings_.Count() > 0 ? std::string_view(state_.ApplicationPath) : std::string_view());
}

std::string TaviMenu2::IconCachePath() const { return AddBackslash(state_.ApplicationPath) + kIconCacheFile; }

void TaviMenu2::LoadIconCache() {
    // Its size is looked at first: a file that cannot be a cache of ours is not read into memory.
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(Widen(IconCachePath()).c_str(), GetFileExInfoStandard, &data) ||
        data.nFileSizeHigh != 0 || data.nFileSizeLow > kIconCacheMostBytes)
        return;
    if (const auto bytes = platform_.files.ReadAll(IconCachePath()))
        if (auto cache = ReadIconCache(*bytes)) icons_.UseCache(std::move(*cache));
}

// The menus' lists are read while nothing waits for them, once the pointer
// comes to the bar or the tray icon, so that a press finds them ready; a
// press still reads whatever changed since.
void TaviMenu2::PostRefreshLists() { PostMessageW(Handle(), kRefreshLists, 0, 0); }

void TaviMenu2::RefreshListsNow() {
    // An open menu holds indices into its lists: they stay until it closes.
    if (menuOpen_ || inTrayMenu_ || state_.Closing) return;
    commands_.RefreshLists();
}

void TaviMenu2::PointerCame() {
    ArmTimer1();
    ReadyForDrops();
    const ULONGLONG now = GetTickCount64();
    if (now - drivesReadAt_ < kDriveNamesAge) return;
    drivesReadAt_ = now;
    commands_.ForgetDrives();
    PostRefreshLists();
}

// Under Wine the drop target costs 1.5 MiB (the system marshals it for other
// processes), so the bar becomes one only when a drag may be coming: the
// pointer over the bar or the tray icon, a mouse button held anywhere (the
// timer looks), or the bar shown from hiding. A drag reaches a window without
// any message to it first, so the button held is the early sign.
void TaviMenu2::ReadyForDrops() {
    if (dragDrop_ && startFinished_) dragDrop_->RegisterDrops();
}

// The first showing: the command buttons are painted. The tray icon follows
// after the first paint (FinishStart).
void TaviMenu2::Activate() {
    if (started_) return;
    for (const CommandButton& button : cmdMainEnd_) InvalidateRect(button.Handle(), nullptr, TRUE);
}

void TaviMenu2::StartTimers(bool wallpaperTimer) {
    ArmTimer1();
    // A start within an alarm minute still rings it, as the first tick always did.
    alarm_.Check();
    ScheduleAlarm();
    if (wallpaperTimer) services_.SetWallpaperTimer(true);
}

void TaviMenu2::ArmTimer1() {
    // Set once: setting it again at every pointer message would put its tick off for ever.
    if (timer1Running_ || timer1Paused_ || state_.Closing) return;
    timer1Running_ = SetTimer(Handle(), kTimer1, kTimer1Interval, nullptr) != 0;
}

void TaviMenu2::PauseTimer1() {
    timer1Paused_ = true;
    timer1Running_ = false;
    KillTimer(Handle(), kTimer1);
}

void TaviMenu2::ScheduleAlarm() {
    KillTimer(Handle(), kTimerAlarm);
    if (state_.Closing) return;
    if (const std::optional<int> seconds = alarm_.SecondsToNext())
        SetTimer(Handle(), kTimerAlarm, static_cast<UINT>(*seconds) * 1000u, nullptr);
}

void TaviMenu2::BuildWallpaperMenu() { lists_.BuildWallpaperMenu(commands_.Lists().wallPapers); }

void TaviMenu2::ApplyStartTopMost(bool topMost) {
    if (topMost)
        BringBarToFront();
    else
        SetWindowPos(Handle(), HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

// Windows refuses the foreground to a program that is not in it; joining the
// input of the foreground thread for the moment of the call gets around that.
// The threads are detached again so another program's hang cannot freeze the bar.
void TaviMenu2::BringBarToFront() {
    const DWORD barThread = GetWindowThreadProcessId(Handle(), nullptr);
    HWND foreground = GetForegroundWindow();
    const DWORD foregroundThread = foreground ? GetWindowThreadProcessId(foreground, nullptr) : 0;
    const bool attach = foregroundThread && foregroundThread != barThread &&
                        AttachThreadInput(foregroundThread, barThread, TRUE);
    BringWindowToTop(Handle());
    SetWindowPos(Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    if (attach) AttachThreadInput(foregroundThread, barThread, FALSE);
}

void TaviMenu2::ApplyTopMost() {
    if (behindFullScreen_) return;  // a full-screen program keeps the front until it ends
    if (state_.settings.Values().TopMost != "1")
        SetWindowPos(Handle(), HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    else
        BringBarToFront();
    SetFocus(strip_.Handle());
}

void TaviMenu2::SetVisible() {
    // Shown however it came (the edge, the tray, the key): it counts toward hiding again.
    ArmTimer1();
    ReadyForDrops();
    ShowWindow(Handle(), SW_SHOW);
    ApplyTopMost();
    if (!behindFullScreen_) SetForegroundWindow(Handle());
    trigger_.Hide();
    for (const CommandButton& button : cmdMainEnd_) InvalidateRect(button.Handle(), nullptr, TRUE);
}

void TaviMenu2::OnTimer1() {
    started_ = true;
    // A modal window of ours is up (a start's failure reported when the shell
    // came back, say): the bar stays as it is until it closes, as if paused.
    if (!IsWindowEnabled(Handle())) return;
    TickInput input;
    input.screen = CurrentScreen();
    // Where the pointer is now, not where it was when the last message was
    // stamped: over windows of other programs (or, under Wine, over no window
    // at all) the message positions can lag behind, and a bar that polls them
    // may wait for ever for the pointer to leave.
    POINT cursor{};
    input.pointer = GetCursorPos(&cursor) ? PixelPoint{cursor.x, cursor.y} : PointFromMessagePos(GetMessagePos());
    RECT window{};
    GetWindowRect(Handle(), &window);
    if (PtInRect(&window, POINT{input.pointer.x, input.pointer.y}) || AnyMouseButtonHeld()) ReadyForDrops();
    input.barWindow = {window.left * input.screen.twipsPerPixelX, window.top * input.screen.twipsPerPixelY,
                       window.right * input.screen.twipsPerPixelX, window.bottom * input.screen.twipsPerPixelY};
    input.edge = Edge();
    input.autoHide = AutoHides(state_);
    input.delayIndex = LeadingInt(state_.settings.Values().AutoHideDelayIndex);
    input.fullScreenApp = FullScreenInFront();
    // Re-docking and the tray can show or hide the windows between ticks.
    autoHide_.barVisible = IsWindowVisible(Handle()) != FALSE;
    autoHide_.triggerVisible = trigger_.Visible();
    // Brought up by the global key, the bar waits for the keys, not the pointer.
    if (keyboardHeld_) autoHide_.ShownByUser();
    for (const AutoHideAction& action : autoHide_.Tick(input)) {
        switch (action.kind) {
            case AutoHideAction::ShowEdgeTrigger: trigger_.Show(); break;
            case AutoHideAction::PlaceEdgeTrigger: trigger_.Place(action.rect); break;
            case AutoHideAction::EdgeTriggerTopmost: trigger_.MakeTopmost(); break;
            case AutoHideAction::SetVisible: SetVisible(); break;
            case AutoHideAction::ToolbarNotTopmost:
                SetWindowPos(Handle(), HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
                break;
            case AutoHideAction::HideBar: ShowWindow(Handle(), SW_HIDE); break;
            case AutoHideAction::EdgeTriggerToBottom: trigger_.SendToBottom(); break;
        }
    }
    // Nothing left to count or to wait for: the bar sleeps until the pointer's
    // next message on it or on its edge strip.
    if (autoHide_.Settled(input) && !keyboardHeld_ && !AnyMouseButtonHeld()) {
        KillTimer(Handle(), kTimer1);
        timer1Running_ = false;
    }
}

void TaviMenu2::ResumeTimer1() {
    timer1Paused_ = false;
    ArmTimer1();
}

void TaviMenu2::OnButtonClick(int buttonNumber, bool byKey) {
    TracePhase("click");
    // A click that ended a move by dragging does not start the entry too.
    if (menuOpen_ || (!byKey && dragDrop_ && !dragDrop_->ClickArmed())) return;
    // No auto-hide while a click is handled: a message box may be up.
    PauseTimer1();
    // Shift always starts another copy.
    const bool shift = byKey ? GetKeyState(VK_SHIFT) < 0 : strip_.ClickShifted();
    const int index = state_.page.IndexAt(buttonNumber - 1);
    if (BringsToFront(state_.settings.Values()) && !shift && state_.entries.Has(index) &&
        BringForward(state_.entries.At(index).PathName)) {
        ResumeTimer1();
        return;
    }
    const ClickOutcome outcome = ClickButton(state_, platform_, buttonNumber);
    if (outcome == ClickOutcome::OpenGroup) {
        // The group box pauses and resumes Timer1 itself, on every way out.
        windows_->OpenGroup(buttonNumber - 1, byKey);
        return;
    }
    if (outcome == ClickOutcome::OpenFolderMenu) {
        // As the entry menu does: nothing else of the bar's while it is up, and
        // no button's tip over it; Timer1 as the group box.
        menuOpen_ = true;
        ShowKeyTip(-1);
        HWND tips = strip_.ToolTips();
        if (tips) SendMessageW(tips, TTM_ACTIVATE, FALSE, 0);
        windows_->OpenFolderMenu(buttonNumber - 1, byKey);
        if (tips) SendMessageW(tips, TTM_ACTIVATE, TRUE, 0);
        menuOpen_ = false;
        return;
    }
    ResumeTimer1();
}

void TaviMenu2::Page(PageCommand command) {
    switch (PageButtons(state_, platform_, command)) {
        case PageOutcome::Close:
            PauseTimer1();
            Close();
            break;
        case PageOutcome::Refresh: RefreshButtons(state_, *this); break;
        case PageOutcome::Unchanged: break;
    }
}

void TaviMenu2::OnKeyDown(int virtualKey) {
    const std::optional<KeyCommand> command = KeyDownCommand(virtualKey, GetKeyState(VK_CONTROL) < 0);
    if (!command) return;
    switch (*command) {
        case KeyCommand::PreviousPage: Page(PageCommand::Previous); break;
        case KeyCommand::NextPage: Page(PageCommand::Next); break;
        case KeyCommand::Redraw: commands_.Dispatch(static_cast<uint32_t>(MenuCommand::mnuAppReDraw)); break;
        case KeyCommand::NewEntry: commands_.Dispatch(static_cast<uint32_t>(MenuCommand::mnuAppNewIn)); break;
        case KeyCommand::Undo: commands_.Dispatch(static_cast<uint32_t>(MenuCommand::mnuAppUndo)); break;
        case KeyCommand::Redo: commands_.Dispatch(static_cast<uint32_t>(MenuCommand::mnuAppRedo)); break;
        case KeyCommand::FindEntry: OpenEntrySearch(); break;
    }
}

void TaviMenu2::OnWheel(uint32_t wParam) {
    const int notches = wheel_.Notches(wParam);
    const int step = notches > 0 ? 1 : -1;
    for (int left = notches; left != 0 && !state_.Closing; left -= step)
        if (const auto command = WheelCommand(state_, step)) Page(*command);
}

void TaviMenu2::OnTrayMessage(UINT mouseMessage) {
    switch (mouseMessage) {
        case WM_MOUSEMOVE:
            tray_.SetTip(TrayTipNow());
            PointerCame();
            break;
        case WM_LBUTTONDBLCLK:
            SetVisible();
            // The pointer is at the tray, far from the bar: the hide delay
            // starts now, with a fresh timer period, not at the next tick.
            autoHide_.ShownByUser();
            ResumeTimer1();
            break;
        case WM_RBUTTONDOWN: ShowTrayMenu(); break;
        default: break;
    }
}

// Pops a menu up at the pointer and carries out the chosen item once it has
// closed, so the command's own windows are not nested in the menu's loop.
void TaviMenu2::RunMenu(const MenuModel& model, std::optional<POINT> at) {
    POINT pointer{};
    GetCursorPos(&pointer);
    if (const uint32_t id = ShowPopupMenu(Handle(), model, at.value_or(pointer))) {
        commands_.Dispatch(id);
        PostRefreshLists();  // the command made the lists read again
    }
}

// `mnuPopUpMenu`. While one of our modal windows is open the core refuses
// its commands, so a tray click cannot start one a second time.
void TaviMenu2::ShowTrayMenu() {
    if (inTrayMenu_) return;
    inTrayMenu_ = true;
    RunMenu(commands_.PrepareTrayMenu());
    inTrayMenu_ = false;
}

// `mnuAppMenu`: a right press on the button at page position `position`.
void TaviMenu2::ShowEntryMenu(int position, std::optional<POINT> at) {
    if (menuOpen_ || inTrayMenu_) return;
    PauseTimer1();
    menuOpen_ = true;
    TracePhase("entry menu");
    const MenuModel model = commands_.PrepareEntryMenu(position);
    TracePhase("menu built");
    RunMenu(model, at);
    menuOpen_ = false;
    ResumeTimer1();
}

void TaviMenu2::OnFullScreenApp(bool entering) {
    behindFullScreen_ = entering;
    if (state_.settings.Values().TopMost != "1") return;
    if (entering) {
        SetWindowPos(Handle(), HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        SetWindowPos(Handle(), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    } else {
        SetWindowPos(Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
}

// A window in front that covers the bar's whole monitor without a caption is
// a full-screen program: a second signal beside ABN_FULLSCREENAPP, which the
// shell does not always send.
bool TaviMenu2::FullScreenInFront() const {
    if (behindFullScreen_) return true;
    HWND front = GetForegroundWindow();
    if (!front || front == GetDesktopWindow() || front == GetShellWindow()) return false;
    DWORD process = 0;
    GetWindowThreadProcessId(front, &process);
    if (process == GetCurrentProcessId()) return false;
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    RECT window{};
    if (!GetMonitorInfoW(MonitorFromWindow(Handle(), MONITOR_DEFAULTTONEAREST), &monitor) ||
        !GetWindowRect(front, &window))
        return false;
    const LONG style = GetWindowLongW(front, GWL_STYLE);
    return CoversMonitor({window.left, window.top, window.right, window.bottom},
                         {monitor.rcMonitor.left, monitor.rcMonitor.top, monitor.rcMonitor.right,
                          monitor.rcMonitor.bottom},
                         (style & WS_CAPTION) == WS_CAPTION);
}

// Explorer restarted, perhaps with the taskbar elsewhere: its appbar list and
// tray are new and empty, so the bar registers and lays itself out in full.
void TaviMenu2::OnShellRestarted() {
    // The new shell knows no appbar: the bar registers afresh.
    registrationLost_ = true;
    ForgetScreen();
    ReDock(true);
    tray_.Restore();
}

void TaviMenu2::StopTimers() {
    KillTimer(Handle(), kTimWallPaper);
    KillTimer(Handle(), kTimerAlarm);
    PauseTimer1();
}

void TaviMenu2::EjectMedia() { tools_.media.EjectRemovableDrives(false); }

std::pair<int, int> TaviMenu2::BarPositionTwips() {
    RECT rect{};
    GetWindowRect(Handle(), &rect);
    const ScreenInfo screen = CurrentScreen();
    return {rect.left * screen.twipsPerPixelX, rect.top * screen.twipsPerPixelY};
}

void TaviMenu2::RemoveTrayIcon() { tray_.Remove(); }

void TaviMenu2::RemoveAppBar(bool autoHide) {
    if (autoHide) appBar_.RemoveAutoHideClaim();
    appBar_.Unregister();
}

void TaviMenu2::Close() {
    if (state_.Closing) return;
    commands_.RestorePendingCut();
    UnregisterGlobalKeys();
    RunShutdown(state_, platform_, *this);
    dragDrop_.reset();  // revokes the drop registration while the strip still exists
    strip_.SetPictures(nullptr);
    DestroyWindow(trigger_.Handle());
    DestroyWindow(Handle());
}

std::optional<LRESULT> TaviMenu2::ChildMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    const bool strip = hwnd == strip_.Handle();
    // Drags see the buttons' mouse first; a move from the menu may use up a click.
    if (strip && dragDrop_ && dragDrop_->ToolbarMessage(message, wParam, lParam)) return 0;
    if (strip && StripKey(message, wParam)) return 0;
    // Keys and the wheel belong to the bar whichever control has the focus.
    if (message == WM_KEYDOWN && KeyDownCommand(static_cast<int>(wParam), GetKeyState(VK_CONTROL) < 0)) {
        OnKeyDown(static_cast<int>(wParam));
        return 0;
    }
    if (message == WM_RBUTTONDOWN && strip) {
        // Off every button there is no entry to act on: no menu.
        if (const std::optional<int> position = dragDrop_ ? dragDrop_->PressedPosition() : std::nullopt)
            ShowEntryMenu(*position);
        return 0;
    }
    if (message == WM_MOUSEWHEEL) return SendMessageW(Handle(), message, wParam, lParam);
    return std::nullopt;
}

}  // namespace tavi
