// The bar window's messages, one handler each. A handler answers the message
// or returns nothing, which leaves it to the default window procedure.
#include "bar/bar_window_win.h"

#include <commctrl.h>

#include <algorithm>

#include "platform/text.h"

namespace tavi {

LRESULT TaviMenu2::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    using Handler = std::optional<LRESULT> (TaviMenu2::*)(WPARAM, LPARAM);
    static constexpr std::pair<UINT, Handler> kHandlers[] = {
        {kAppBarCallbackMessage, &TaviMenu2::WmAppBar},
        {WM_MOUSEWHEEL, &TaviMenu2::WmMouseWheel},
        {WM_COMMAND, &TaviMenu2::WmCommand},
        {WM_NOTIFY, &TaviMenu2::WmNotify},
        {WM_DRAWITEM, &TaviMenu2::WmDrawItem},
        {WM_KEYDOWN, &TaviMenu2::WmKeyDown},
        {WM_HOTKEY, &TaviMenu2::WmHotKey},
        {WM_ACTIVATEAPP, &TaviMenu2::WmActivateApp},
        {WM_TIMER, &TaviMenu2::WmTimer},
        {kTrayMessage, &TaviMenu2::WmTray},
        {kAfterFirstPaint, &TaviMenu2::WmAfterFirstPaint},
        {kRefreshLists, &TaviMenu2::WmRefreshLists},
        {kFilesChanged, &TaviMenu2::WmFilesChanged},
        {kRunningChanged, &TaviMenu2::WmRunningChanged},
        {kShortcutRead, &TaviMenu2::WmShortcutRead},
        {WM_SETCURSOR, &TaviMenu2::WmSetCursor},
        {WM_DEVICECHANGE, &TaviMenu2::WmDeviceChange},
        {WM_DISPLAYCHANGE, &TaviMenu2::WmDisplayChange},
        {WM_DPICHANGED, &TaviMenu2::WmDpiChanged},
        {WM_SYSCOLORCHANGE, &TaviMenu2::WmSysColorChange},
        {WM_ERASEBKGND, &TaviMenu2::WmEraseBkgnd},
        {WM_SETTINGCHANGE, &TaviMenu2::WmSettingChange},
        {WM_ENDSESSION, &TaviMenu2::WmEndSession},
        {WM_CLOSE, &TaviMenu2::WmClose},
        {WM_DESTROY, &TaviMenu2::WmDestroy},
        {kBarEnded, &TaviMenu2::WmBarEnded},
        {WM_TIMECHANGE, &TaviMenu2::WmTimeChange},
        {WM_POWERBROADCAST, &TaviMenu2::WmPowerBroadcast},
    };
    std::optional<LRESULT> answer;
    // The shell's restart and another bar's start are registered at run
    // time, so they have no place in the table.
    if (taskbarCreated_ != 0 && message == taskbarCreated_) {
        OnShellRestarted();
        answer = 0;
    } else if (siblings_.StartedMessage() != 0 && message == siblings_.StartedMessage()) {
        if (reinterpret_cast<HWND>(lParam) != Handle()) siblings_.Refresh();
        answer = 0;
    } else {
        for (const auto& [handled, handler] : kHandlers) {
            if (handled != message) continue;
            answer = (this->*handler)(wParam, lParam);
            break;
        }
    }
    return answer ? *answer : Window::HandleMessage(message, wParam, lParam);
}

// Paging and re-docking send further messages to this window; those are
// passed on without being handled again.
template <typename Body>
std::optional<LRESULT> TaviMenu2::Unnested(Body body) {
    if (inWndProc_) return std::nullopt;
    inWndProc_ = true;
    body();
    inWndProc_ = false;
    return std::nullopt;
}

std::optional<LRESULT> TaviMenu2::WmAppBar(WPARAM notice, LPARAM lParam) {
    return Unnested([&] {
        if (notice == ABN_STATECHANGE || notice == ABN_POSCHANGED) {
            // The taskbar, being an appbar too, may have moved.
            ForgetScreen();
            ReDock(false);
        } else if (notice == ABN_FULLSCREENAPP) {
            OnFullScreenApp(lParam != 0);
        }
    });
}

std::optional<LRESULT> TaviMenu2::WmMouseWheel(WPARAM wParam, LPARAM) {
    return Unnested([&] { OnWheel(static_cast<uint32_t>(wParam)); });
}

std::optional<LRESULT> TaviMenu2::WmCommand(WPARAM wParam, LPARAM lParam) {
    if (reinterpret_cast<HWND>(lParam) == strip_.Handle()) {
        OnButtonClick(LOWORD(wParam));
    } else if (HIWORD(wParam) == BN_CLICKED && LOWORD(wParam) >= kCmdFirstId && LOWORD(wParam) < kCmdFirstId + 3) {
        Page(static_cast<PageCommand>(LOWORD(wParam) - kCmdFirstId));
    }
    return 0;
}

std::optional<LRESULT> TaviMenu2::WmNotify(WPARAM, LPARAM lParam) {
    auto* header = reinterpret_cast<NMHDR*>(lParam);
    if (header->code == TTN_SHOW) return PlaceTip(header->hwndFrom, static_cast<int>(header->idFrom) - 1);
    if (header->code != TTN_GETDISPINFOW) return std::nullopt;
    auto* info = reinterpret_cast<NMTTDISPINFOW*>(lParam);
    const size_t position = info->hdr.idFrom - 1;
    info->lpszText =
        position < tips_.size() ? const_cast<wchar_t*>(tips_[position].c_str()) : const_cast<wchar_t*>(L"");
    return 0;
}

std::optional<LRESULT> TaviMenu2::WmDrawItem(WPARAM, LPARAM lParam) {
    DrawCommandButton(*reinterpret_cast<DRAWITEMSTRUCT*>(lParam));
    return TRUE;
}

std::optional<LRESULT> TaviMenu2::WmKeyDown(WPARAM key, LPARAM) {
    OnKeyDown(static_cast<int>(key));
    return 0;
}

std::optional<LRESULT> TaviMenu2::WmHotKey(WPARAM key, LPARAM) {
    key == kSearchKeyId ? OnSearchKey() : OnHotKey();
    return 0;
}

std::optional<LRESULT> TaviMenu2::WmActivateApp(WPARAM active, LPARAM) {
    // Another program took the foreground: the keys are no longer ours.
    if (!active && keyboardHeld_) ReleaseKeyboard(false);
    return std::nullopt;
}

std::optional<LRESULT> TaviMenu2::WmTimer(WPARAM timer, LPARAM) {
    if (timer == kTimer1) OnTimer1();
    // While a dialog, a box or a menu is open the user acts on the lists as
    // they were shown: the files are read once it closes, and a change made
    // in it meanwhile is checked against the files as every change is.
    if (timer == kTimerFollow && !timer1Paused_ && !menuOpen_) {
        KillTimer(Handle(), kTimerFollow);
        if (!state_.Closing) FollowOutsideChanges(state_, platform_, services_);
    }
    if (timer == kTimWallPaper) lists_.TimWallPaperTick();
    if (timer == kTimerAlarm) {
        alarm_.Check();
        ScheduleAlarm();
    }
    return 0;
}

std::optional<LRESULT> TaviMenu2::WmTray(WPARAM, LPARAM mouseMessage) {
    OnTrayMessage(static_cast<UINT>(mouseMessage));
    return 0;
}

std::optional<LRESULT> TaviMenu2::WmAfterFirstPaint(WPARAM, LPARAM) {
    if (auto work = std::move(afterFirstPaint_); work && !state_.Closing) {
        afterFirstPaint_ = nullptr;
        work();
    }
    return 0;
}

std::optional<LRESULT> TaviMenu2::WmRefreshLists(WPARAM, LPARAM) {
    RefreshListsNow();
    return 0;
}

std::optional<LRESULT> TaviMenu2::WmFilesChanged(WPARAM, LPARAM) {
    watch_.Taken();
    // Each notice starts the quiet time again; the files are read once it ends.
    if (!state_.Closing) SetTimer(Handle(), kTimerFollow, kFollowQuietMs, nullptr);
    return 0;
}

std::optional<LRESULT> TaviMenu2::WmSetCursor(WPARAM, LPARAM lParam) {
    // Moves only: a press itself must find the lists as they are.
    if (HIWORD(lParam) == WM_MOUSEMOVE) PointerCame();
    return std::nullopt;
}

std::optional<LRESULT> TaviMenu2::WmDeviceChange(WPARAM, LPARAM) {
    // A drive or medium came or went: its name and the removable drives the
    // exit's eject reaches.
    if (!state_.Closing) state_.RemovableDrives = CollectRemovableDrives(platform_.system);
    commands_.ForgetDrives();
    PostRefreshLists();
    return std::nullopt;
}

std::optional<LRESULT> TaviMenu2::WmDisplayChange(WPARAM, LPARAM) {
    ForgetScreen();
    // The check mark follows a mode changed by another program.
    lists_.SetChgDisplay();
    ReDock(true);
    return 0;
}

std::optional<LRESULT> TaviMenu2::WmDpiChanged(WPARAM, LPARAM) {
    ForgetScreen();
    ReDock(true);
    return 0;
}

std::optional<LRESULT> TaviMenu2::WmSysColorChange(WPARAM wParam, LPARAM lParam) {
    OnColourSetting(WM_SYSCOLORCHANGE, wParam, lParam);
    return 0;
}

std::optional<LRESULT> TaviMenu2::WmEraseBkgnd(WPARAM dc, LPARAM) {
    EraseBackground(reinterpret_cast<HDC>(dc));
    return 1;
}

std::optional<LRESULT> TaviMenu2::WmSettingChange(WPARAM wParam, LPARAM lParam) {
    OnColourSetting(WM_SETTINGCHANGE, wParam, lParam);
    ForgetScreen();
    // Otherwise only the taskbar's move matters; our own reservation changes
    // the work area too, so this must not force a re-registration. A new
    // display scale does.
    if (DpiChanged())
        ReDock(true);
    else if (wParam == SPI_SETWORKAREA)
        ReDock(false);
    return 0;
}

std::optional<LRESULT> TaviMenu2::WmEndSession(WPARAM ending, LPARAM) {
    if (ending) Close();
    return 0;
}

std::optional<LRESULT> TaviMenu2::WmClose(WPARAM, LPARAM) {
    Close();
    return 0;
}

std::optional<LRESULT> TaviMenu2::WmBarEnded(WPARAM bar, LPARAM) {
    // The shell tells the bars past it that its strip is gone; they close up.
    siblings_.Ended(reinterpret_cast<HWND>(bar));
    return 0;
}

std::optional<LRESULT> TaviMenu2::WmTimeChange(WPARAM, LPARAM) {
    // The clock was set: the next alarm minute is another distance away.
    ScheduleAlarm();
    return 0;
}

std::optional<LRESULT> TaviMenu2::WmPowerBroadcast(WPARAM event, LPARAM) {
    if (event == PBT_APMRESUMEAUTOMATIC || event == PBT_APMRESUMESUSPEND) {
        // Back from sleep: monitors may have changed, and timers do not count sleep.
        ForgetScreen();
        ScheduleAlarm();
        ReDock(false);
    }
    return TRUE;
}

std::optional<LRESULT> TaviMenu2::WmDestroy(WPARAM, LPARAM) {
    watch_.Stop();
    PostQuitMessage(0);
    return 0;
}

// One notice per burst of window events, or a process started or ended: the
// buttons are described and painted afresh once, however many windows came or went.
std::optional<LRESULT> TaviMenu2::WmRunningChanged(WPARAM wParam, LPARAM lParam) {
    if (running_ && running_->Receive(wParam, lParam)) RunningChanged();
    return 0;
}

}  // namespace tavi
