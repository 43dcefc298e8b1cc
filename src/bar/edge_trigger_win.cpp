#include "bar/edge_trigger_win.h"

#include <algorithm>

namespace tavi {

bool frmActiveDummy::Create(HWND owner) {
    if (Handle()) return true;
    if (!RegisterClassOnce(L"frmActiveDummy", GetSysColorBrush(COLOR_3DSHADOW))) return false;
    return CreateWindowOf(L"frmActiveDummy", L"", WS_POPUP, WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, 0, 0, 2, 2, owner);
}

void frmActiveDummy::Place(const Rect& pixels) {
    if (!Handle()) return;
    SetWindowPos(Handle(), nullptr, pixels.left, pixels.top, std::max(1, pixels.Width()), std::max(1, pixels.Height()),
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void frmActiveDummy::Show() {
    if (Handle()) ShowWindow(Handle(), SW_SHOWNOACTIVATE);
}

void frmActiveDummy::Hide() {
    if (Handle()) ShowWindow(Handle(), SW_HIDE);
}

bool frmActiveDummy::Visible() const { return Handle() && IsWindowVisible(Handle()); }

void frmActiveDummy::MakeTopmost() {
    if (Handle()) SetWindowPos(Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void frmActiveDummy::SendToBottom() {
    if (Handle()) SetWindowPos(Handle(), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

LRESULT frmActiveDummy::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_MOUSEACTIVATE) return MA_NOACTIVATE;
    if (message == WM_MOUSEMOVE && came_) came_();
    return Window::HandleMessage(message, wParam, lParam);
}

}  // namespace tavi
