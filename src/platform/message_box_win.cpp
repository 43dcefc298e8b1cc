#include "platform/wide_win.h"
#include "platform/win32_adapters_win.h"

namespace tavi {

MessageAnswer Win32MessageBoxes::Show(const MessageRequest& request) {
    UINT style = MB_APPLMODAL | MB_SETFOREGROUND;
    switch (request.icon) {
        case MessageIcon::Error: style |= MB_ICONERROR; break;
        case MessageIcon::Question: style |= MB_ICONQUESTION; break;
        case MessageIcon::Warning: style |= MB_ICONWARNING; break;
        case MessageIcon::Information: style |= MB_ICONINFORMATION; break;
        case MessageIcon::None: break;
    }
    switch (request.buttons) {
        case MessageButtons::Ok: style |= MB_OK; break;
        case MessageButtons::OkCancel: style |= MB_OKCANCEL; break;
        case MessageButtons::YesNo: style |= MB_YESNO; break;
    }
    HWND owner = owner_ && IsWindow(owner_) ? owner_ : nullptr;
    switch (MessageBoxW(owner, Widen(request.text).c_str(), Widen(request.caption).c_str(), style)) {
        case IDYES: return MessageAnswer::Yes;
        case IDNO: return MessageAnswer::No;
        case IDCANCEL: return MessageAnswer::Cancel;
        default: return MessageAnswer::Ok;
    }
}

}  // namespace tavi
