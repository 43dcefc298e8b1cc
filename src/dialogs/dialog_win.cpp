#include "dialogs/dialog_win.h"

#include <commctrl.h>
#include <uxtheme.h>

#include "platform/colour_scheme_win.h"
#include "platform/dialog_templates_win.h"
#include "platform/wide_win.h"
#include "platform/window_win.h"

namespace tavi {
namespace {

// The size of every dialog template's font (FONT 9 in res/*.rc).
constexpr int kDialogPoints = 9;

// The tab strip's paddings at 96 dpi, as the system's defaults.
constexpr int kTabPaddingX96 = 6;
constexpr int kTabPaddingY96 = 3;

}  // namespace

DialogFont::~DialogFont() {
    if (font_) DeleteObject(font_);
}

void DialogFont::Apply(HWND dialog) {
    LOGFONTW face{};
    const HFONT current = font_ ? font_ : reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0));
    if (!current || !GetObjectW(current, sizeof face, &face)) return;
    face.lfHeight = -MulDiv(kDialogPoints, WindowDpi(dialog), 72);
    face.lfWidth = 0;
    if (face.lfWeight == FW_DONTCARE) face.lfWeight = FW_NORMAL;
    face.lfCharSet = charset_;  // the template's, which the dialog manager drops
    face.lfQuality = DEFAULT_QUALITY;
    const HFONT made = CreateFontIndirectW(&face);
    if (!made) return;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(made), FALSE);
    if (font_) DeleteObject(font_);
    font_ = made;
    InvalidateRect(dialog, nullptr, TRUE);
}

bool DialogFont::AnswerGetFont(HWND dialog, UINT message) const {
    if (message != WM_GETFONT || !font_) return false;
    SetWindowLongPtrW(dialog, DWLP_MSGRESULT, reinterpret_cast<LONG_PTR>(font_));
    return true;
}

void PaintAsPage(HWND dialog) {
    EnableThemeDialogTexture(dialog, CurrentPalette().systemFrames ? ETDT_ENABLETAB : ETDT_DISABLE);
}

namespace {

// The strip beside and above the tabs shows the page behind it, as the
// system draws a property sheet, instead of the control's own grey.
LRESULT CALLBACK ErasePageBehindTabs(HWND tab, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
    if (message == WM_ERASEBKGND) {
        RECT client{};
        GetClientRect(tab, &client);
        if (SUCCEEDED(DrawThemeParentBackground(tab, reinterpret_cast<HDC>(wParam), &client))) return 1;
    }
    if (message == WM_NCDESTROY) RemoveWindowSubclass(tab, ErasePageBehindTabs, 0);
    return DefSubclassProc(tab, message, wParam, lParam);
}

}  // namespace

void ScaleTabs(HWND tab, int dpi) {
    if (!tab) return;
    SendMessageW(tab, TCM_SETPADDING, 0, MAKELPARAM(MulDiv(kTabPaddingX96, dpi, 96), MulDiv(kTabPaddingY96, dpi, 96)));
    // A new font makes the strip measure its tabs again, with the padding.
    SendMessageW(tab, WM_SETFONT, SendMessageW(tab, WM_GETFONT, 0, 0), TRUE);
}

INT_PTR ModalDialog::Run(HWND owner, int templateId) {
    const DialogTemplate found = LanguageDialog(templateId);
    if (!found.data) return -1;
    font_.UseCharset(found.charset);
    return DialogBoxIndirectParamW(GetModuleHandleW(nullptr), found.data, owner, Procedure,
                                   reinterpret_cast<LPARAM>(this));
}

INT_PTR CALLBACK ModalDialog::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* dialog = DialogOwner(hwnd, message, lParam, &ModalDialog::hwnd_);
    if (!dialog) return FALSE;
    if (message == WM_INITDIALOG) {
        ApplyTitleBarColours(hwnd);
        dialog->font_.Apply(hwnd);
        PaintAsPage(hwnd);
    }
    try {
        if (dialog->font_.AnswerGetFont(hwnd, message)) return TRUE;
        if (message == WM_DPICHANGED) PostMessageW(hwnd, kDialogRescale, 0, 0);
        if (ColourSettingChanged(message, wParam, lParam)) ApplyTitleBarColours(hwnd);
        if (message == kDialogRescale) {
            dialog->Rescale();
            return TRUE;
        }
        return dialog->HandleMessage(message, wParam, lParam);
    } catch (...) {
        // A failing handler leaves the dialog as it was; the dialog manager
        // does the default.
        return FALSE;
    }
}

// The system has moved and sized the controls for the new dpi; their font,
// the tabs and what the view sized in pixels follow.
void ModalDialog::Rescale() {
    font_.Apply(hwnd_);
    for (int id : tabs_) ScaleTabs(Item(id), Dpi());
    OnRescale();
}

std::string ModalDialog::ItemText(int id) const { return WindowText(Item(id)); }

void ModalDialog::SetItemText(int id, std::string_view text) const { SetWindowTextW(Item(id), Widen(text).c_str()); }

void ModalDialog::SetTexts(std::string_view caption,
                           std::initializer_list<std::pair<int, std::string_view>> items) const {
    SetWindowTextW(hwnd_, Widen(caption).c_str());
    for (const auto& [id, text] : items) SetItemText(id, text);
}

void ModalDialog::AddTabs(int tabId, std::initializer_list<std::string_view> tabs) {
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
    SetWindowSubclass(Item(tabId), ErasePageBehindTabs, 0, 0);
    ScaleTabs(Item(tabId), Dpi());
    tabs_.push_back(tabId);
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
