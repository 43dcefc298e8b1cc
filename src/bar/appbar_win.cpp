#include "bar/appbar_win.h"

namespace tavi {

void AppBar::Attach(HWND bar, UINT callbackMessage) {
    data_.cbSize = sizeof data_;
    data_.hWnd = bar;
    data_.uCallbackMessage = callbackMessage;
    data_.lParam = 0;
}

void AppBar::New() {
    data_.lParam = 0;
    SHAppBarMessage(ABM_NEW, &data_);
}

void AppBar::RemoveAutoHideClaim() {
    data_.lParam = 0;
    SHAppBarMessage(ABM_SETAUTOHIDEBAR, &data_);
}

void AppBar::Unregister() {
    SHAppBarMessage(ABM_REMOVE, &data_);
}

Rect AppBar::Query(const Rect& pixels) {
    data_.rc = RECT{pixels.left, pixels.top, pixels.right, pixels.bottom};
    if (!SHAppBarMessage(ABM_QUERYPOS, &data_)) return pixels;
    return {data_.rc.left, data_.rc.top, data_.rc.right, data_.rc.bottom};
}

void AppBar::Set(const Rect& pixels) {
    data_.rc = RECT{pixels.left, pixels.top, pixels.right, pixels.bottom};
    SHAppBarMessage(ABM_SETPOS, &data_);
}

bool AppBar::ClaimAutoHide() {
    data_.lParam = TRUE;
    const bool claimed = SHAppBarMessage(ABM_SETAUTOHIDEBAR, &data_) != FALSE;
    data_.lParam = 0;
    return claimed;
}

void AppBar::RemoveEnded(HWND bar) {
    APPBARDATA ended{};
    ended.cbSize = sizeof ended;
    ended.hWnd = bar;
    SHAppBarMessage(ABM_REMOVE, &ended);
}

Rect AppBar::TaskbarPosition() {
    APPBARDATA query{};
    query.cbSize = sizeof query;
    if (!SHAppBarMessage(ABM_GETTASKBARPOS, &query)) return {};
    return {query.rc.left, query.rc.top, query.rc.right, query.rc.bottom};
}

}  // namespace tavi
