// What the bar offers its menus, commands and dialogs.
#include "bar/bar_window_win.h"


#include "bar/bar_buttons.h"
#include "menus/wallpapers.h"

namespace tavi {

NativeWindow TaviMenu2::Services::Handle() const { return reinterpret_cast<NativeWindow>(bar_.Handle()); }

void TaviMenu2::Services::RefreshButtons() { tavi::RefreshButtons(bar_.state_, bar_); }

void TaviMenu2::Services::Redraw() { bar_.Redraw(); }

void TaviMenu2::Services::FullRebuild() { tavi::FullRebuild(bar_.state_, bar_, [this] { bar_.ResetImageLists(); }); }

void TaviMenu2::Services::ReDock(bool force) { bar_.ReDock(force); }

void TaviMenu2::Services::BringToFront() { bar_.BringBarToFront(); }

void TaviMenu2::Services::PauseTimer() { bar_.PauseTimer1(); }

void TaviMenu2::Services::ResumeTimer() { bar_.ResumeTimer1(); }

Rect TaviMenu2::Services::ButtonRect(int position) {
    std::optional<RECT> found = bar_.strip_.ButtonRect(position);
    if (!found) return {};
    RECT rect = *found;
    MapWindowPoints(bar_.strip_.Handle(), nullptr, reinterpret_cast<POINT*>(&rect), 2);
    return {rect.left, rect.top, rect.right, rect.bottom};
}

Rect TaviMenu2::Services::WindowRect() const {
    RECT rect{};
    GetWindowRect(bar_.Handle(), &rect);
    return {rect.left, rect.top, rect.right, rect.bottom};
}

bool TaviMenu2::Services::Visible() const { return IsWindowVisible(bar_.Handle()) != FALSE; }

void TaviMenu2::Services::Show() { bar_.SetVisible(); }

void TaviMenu2::Services::ApplyTopMost(bool topMost) {
    if (topMost)
        bar_.BringBarToFront();
    else
        SetWindowPos(bar_.Handle(), HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TaviMenu2::Services::SetWallpaperTimer(bool running) {
    KillTimer(bar_.Handle(), kTimWallPaper);
    // One wake for each rotation, none in between.
    const UINT period = static_cast<UINT>(WallpaperPeriodMinutes(bar_.state_.settings.Values())) * 60u * 1000u;
    if (running && !bar_.state_.Closing) SetTimer(bar_.Handle(), kTimWallPaper, period, nullptr);
}

void TaviMenu2::Services::ScheduleAlarm() { bar_.ScheduleAlarm(); }

void TaviMenu2::Services::ReRegisterHotKey() {
    bar_.UnregisterGlobalKeys();
    bar_.RegisterHotKeyFromSettings();
}

void TaviMenu2::Services::RepaintCommandButtons() {
    for (const CommandButton& button : bar_.cmdMainEnd_) InvalidateRect(button.Handle(), nullptr, TRUE);
}

void TaviMenu2::Services::BeginEntryMove(int index) {
    if (bar_.dragDrop_) bar_.dragDrop_->BeginMenuMove(index);
}

// Posted: the command that asks for it is still running inside the menus.
void TaviMenu2::Services::Close() { PostMessageW(bar_.Handle(), WM_CLOSE, 0, 0); }

}  // namespace tavi
