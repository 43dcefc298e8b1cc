#include "bar/command_button_win.h"

#include <windowsx.h>

namespace tavi {
namespace {

constexpr wchar_t kClassName[] = L"TaviCommandButton";

}  // namespace

bool CommandButton::Create(HWND parent, int id, const std::wstring& caption, ChildHook hook) {
    id_ = id;
    hook_ = std::move(hook);
    if (!RegisterClassOnce(kClassName)) return false;
    if (!CreateWindowOf(kClassName, caption.c_str(), WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, 0, parent)) return false;
    SetWindowLongPtrW(Handle(), GWLP_ID, id);
    return true;
}

bool CommandButton::Inside(LPARAM lParam) const {
    RECT client{};
    GetClientRect(Handle(), &client);
    const POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    return PtInRect(&client, at) != FALSE;
}

void CommandButton::Draw(HDC dc) {
    DRAWITEMSTRUCT item{};
    item.CtlType = ODT_BUTTON;
    item.CtlID = static_cast<UINT>(id_);
    item.itemAction = ODA_DRAWENTIRE;
    item.itemState = Pressed() ? ODS_SELECTED : 0;
    item.hwndItem = Handle();
    item.hDC = dc;
    GetClientRect(Handle(), &item.rcItem);
    SendMessageW(GetParent(Handle()), WM_DRAWITEM, static_cast<WPARAM>(id_), reinterpret_cast<LPARAM>(&item));
}

LRESULT CommandButton::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (const std::optional<LRESULT> answer = RunChildHook(hook_, Handle(), message, wParam, lParam)) return *answer;
    switch (message) {
        case WM_LBUTTONDOWN:
            pressed_ = inside_ = true;
            SetCapture(Handle());
            InvalidateRect(Handle(), nullptr, FALSE);
            return 0;
        case WM_MOUSEMOVE:
            if (pressed_ && inside_ != Inside(lParam)) {
                inside_ = !inside_;
                InvalidateRect(Handle(), nullptr, FALSE);
            }
            return 0;
        case WM_LBUTTONUP: {
            const bool click = pressed_ && Inside(lParam);
            pressed_ = false;
            if (GetCapture() == Handle()) ReleaseCapture();
            InvalidateRect(Handle(), nullptr, FALSE);
            if (click)
                SendMessageW(GetParent(Handle()), WM_COMMAND, MAKEWPARAM(id_, BN_CLICKED),
                             reinterpret_cast<LPARAM>(Handle()));
            return 0;
        }
        case WM_CAPTURECHANGED:
            if (pressed_) InvalidateRect(Handle(), nullptr, FALSE);
            pressed_ = false;
            return 0;
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT:
            PaintOffScreen(Handle(), [this](HDC dc, const RECT&) { Draw(dc); });
            return 0;
        default:
            break;
    }
    return Window::HandleMessage(message, wParam, lParam);
}

}  // namespace tavi
