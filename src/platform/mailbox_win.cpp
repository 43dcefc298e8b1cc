#include "platform/mailbox_win.h"

namespace tavi {
namespace {

constexpr wchar_t kMailboxClass[] = L"TaviMenu2Mailbox";

LRESULT CALLBACK MailboxProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    } else if (message == kMailboxPosted) {
        const auto* arrived = reinterpret_cast<const std::function<void()>*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        try {
            if (arrived && *arrived) (*arrived)();
        } catch (...) {
            // Out of memory while taking what came: it shows as not come.
        }
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

HWND CreateMailboxWindow(const std::function<void()>* arrived) {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW type{};
    type.cbSize = sizeof type;
    if (!GetClassInfoExW(instance, kMailboxClass, &type)) {
        type = {};
        type.cbSize = sizeof type;
        type.lpfnWndProc = MailboxProc;
        type.hInstance = instance;
        type.lpszClassName = kMailboxClass;
        RegisterClassExW(&type);
    }
    return CreateWindowExW(0, kMailboxClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance,
                           const_cast<std::function<void()>*>(arrived));
}

}  // namespace tavi
