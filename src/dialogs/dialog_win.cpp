#include "dialogs/dialog_win.h"

#include <commctrl.h>
#include <uxtheme.h>

#include "platform/colour_scheme_win.h"
#include "platform/wide_win.h"
#include "platform/window_win.h"

namespace tavi {
namespace {

// Posted once the system has scaled the dialog for a new monitor.
constexpr UINT kRescale = WM_APP + 0x3FF0;

}  // namespace

INT_PTR ModalDialog::Run(HWND owner, int templateId) {
    return DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(templateId), owner, Procedure,
                           reinterpret_cast<LPARAM>(this));
}

INT_PTR CALLBACK ModalDialog::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* dialog = reinterpret_cast<ModalDialog*>(lParam);
        dialog->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, DWLP_USER, lParam);
        ApplyTitleBarColours(hwnd);
    }
    auto* dialog = reinterpret_cast<ModalDialog*>(GetWindowLongPtrW(hwnd, DWLP_USER));
    if (!dialog) return FALSE;
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, DWLP_USER, 0);
        dialog->hwnd_ = nullptr;
        return FALSE;
    }
    try {
        if (message == WM_DPICHANGED) PostMessageW(hwnd, kRescale, 0, 0);
        if (ColourSettingChanged(message, wParam, lParam)) ApplyTitleBarColours(hwnd);
        if (message == kRescale) {
            dialog->OnRescale();
            return TRUE;
        }
        return dialog->HandleMessage(message, wParam, lParam);
    } catch (...) {
        // A failing handler leaves the dialog as it was; the dialog manager
        // does the default.
        return FALSE;
    }
}

std::string ModalDialog::ItemText(int id) const { return WindowText(Item(id)); }

void ModalDialog::SetItemText(int id, std::string_view text) const { SetWindowTextW(Item(id), Widen(text).c_str()); }

void ModalDialog::SetTexts(std::string_view caption,
                           std::initializer_list<std::pair<int, std::string_view>> items) const {
    SetWindowTextW(hwnd_, Widen(caption).c_str());
    for (const auto& [id, text] : items) SetItemText(id, text);
}

void ModalDialog::AddTabs(int tabId, std::initializer_list<std::string_view> tabs) const {
    EnableThemeDialogTexture(hwnd_, ETDT_ENABLETAB);
    int index = 0;
    for (std::string_view tab : tabs) {
        std::wstring caption = Widen(tab);
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = caption.data();
        SendDlgItemMessageW(hwnd_, tabId, TCM_INSERTITEMW, static_cast<WPARAM>(index++),
                            reinterpret_cast<LPARAM>(&item));
    }
    SetWindowPos(Item(tabId), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void ModalDialog::AddListItems(int listId, std::initializer_list<std::string_view> items) const {
    for (std::string_view item : items)
        SendDlgItemMessageW(hwnd_, listId, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(item).c_str()));
}

void ModalDialog::SetListItems(int listId, const std::vector<std::string_view>& items, int selected) const {
    SendDlgItemMessageW(hwnd_, listId, CB_RESETCONTENT, 0, 0);
    for (std::string_view item : items)
        SendDlgItemMessageW(hwnd_, listId, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(item).c_str()));
    SendDlgItemMessageW(hwnd_, listId, CB_SETCURSEL, static_cast<WPARAM>(selected), 0);
}

int ModalDialog::Dpi() const { return WindowDpi(hwnd_); }

std::string WindowText(HWND window) {
    const int length = GetWindowTextLengthW(window);
    if (length <= 0) return {};
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const int copied = GetWindowTextW(window, text.data(), length + 1);
    text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
    return Narrow(text);
}

void SelectAllOnFocus(HWND textBox) { PostMessageW(textBox, EM_SETSEL, 0, -1); }

void SetClientSize(HWND control, int width, int height) {
    RECT window{}, client{};
    GetWindowRect(control, &window);
    GetClientRect(control, &client);
    const int borderX = (window.right - window.left) - client.right;
    const int borderY = (window.bottom - window.top) - client.bottom;
    SetWindowPos(control, nullptr, 0, 0, width + borderX, height + borderY,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace tavi
