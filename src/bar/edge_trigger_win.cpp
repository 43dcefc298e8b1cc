#include "bar/edge_trigger_win.h"

#include <algorithm>

namespace tavi {

bool EdgeTriggerWindow::Create(HWND owner) {
    if (Handle()) return true;
    if (!RegisterClassOnce(L"frmActiveDummy", GetSysColorBrush(COLOR_3DSHADOW))) return false;
    return CreateWindowOf(L"frmActiveDummy", L"", WS_POPUP, WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, 0, 0, 2, 2, owner);
}

void EdgeTriggerWindow::Place(const Rect& pixels) {
    if (!Handle()) return;
    SetWindowPos(Handle(), nullptr, pixels.left, pixels.top, std::max(1, pixels.Width()), std::max(1, pixels.Height()),
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void EdgeTriggerWindow::Show() {
    if (Handle()) ShowWindow(Handle(), SW_SHOWNOACTIVATE);
}

void EdgeTriggerWindow::Hide() {
    if (Handle()) ShowWindow(Handle(), SW_HIDE);
}

bool EdgeTriggerWindow::Visible() const { return Handle() && IsWindowVisible(Handle()); }

void EdgeTriggerWindow::MakeTopmost() {
    if (Handle()) SetWindowPos(Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void EdgeTriggerWindow::SendToBottom() {
    if (Handle()) SetWindowPos(Handle(), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

LRESULT EdgeTriggerWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_MOUSEACTIVATE) return MA_NOACTIVATE;
    if (message == WM_MOUSEMOVE && came_) came_();
    return Window::HandleMessage(message, wParam, lParam);
}

}  // namespace tavi
