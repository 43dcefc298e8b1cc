#include "bar/tray_icon_win.h"

#include <cwchar>

#include "platform/wide_win.h"

namespace tavi {
namespace {

void CopyTip(NOTIFYICONDATAW& data, const std::string& tip) {
    const std::wstring wide = Widen(tip);
    wcsncpy(data.szTip, wide.c_str(), std::size(data.szTip) - 1);
    data.szTip[std::size(data.szTip) - 1] = L'\0';
}

}  // namespace

TrayIcon::~TrayIcon() { Remove(); }

void TrayIcon::Add(HWND owner, UINT callbackMessage, HICON icon, const std::string& tip) {
    if (added_) return;
    data_.cbSize = sizeof data_;
    data_.hWnd = owner;
    data_.uID = 1;
    data_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data_.uCallbackMessage = callbackMessage;
    data_.hIcon = icon;
    CopyTip(data_, tip);
    added_ = Shell_NotifyIconW(NIM_ADD, &data_) != FALSE;
    // Shell_NotifyIcon fails while no shell runs yet; TaskbarCreated brings it back then.
    if (!added_) added_ = Shell_NotifyIconW(NIM_MODIFY, &data_) != FALSE;
}

void TrayIcon::SetTip(const std::string& tip) {
    if (!added_) return;
    CopyTip(data_, tip);
    NOTIFYICONDATAW modify = data_;
    modify.uFlags = NIF_TIP;
    Shell_NotifyIconW(NIM_MODIFY, &modify);
}

void TrayIcon::Remove() {
    if (!data_.hWnd) return;
    NOTIFYICONDATAW remove{};
    remove.cbSize = sizeof remove;
    remove.hWnd = data_.hWnd;
    remove.uID = data_.uID;
    Shell_NotifyIconW(NIM_DELETE, &remove);
    added_ = false;
    data_.hWnd = nullptr;
}

void TrayIcon::Restore() {
    if (!data_.hWnd) return;
    data_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    added_ = Shell_NotifyIconW(NIM_ADD, &data_) != FALSE || Shell_NotifyIconW(NIM_MODIFY, &data_) != FALSE;
}

}  // namespace tavi
