#include "dialogs/dialog_win.h"

#include <commctrl.h>
#include <uxtheme.h>

#include "dialogs/dialog_colours_win.h"
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

namespace {

// The strip beside and above the tabs shows the page behind it, as the
// system draws a property sheet, instead of the control's own grey; in the
// dark app mode the strip is drawn in the palette whole.
LRESULT CALLBACK PaintTabs(HWND tab, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
    if (message == WM_PAINT && PaintTabsInPalette(tab)) return 0;
    if (message == WM_ERASEBKGND) {
        RECT client{};
        GetClientRect(tab, &client);
        if (SUCCEEDED(DrawThemeParentBackground(tab, reinterpret_cast<HDC>(wParam), &client))) return 1;
    }
    if (message == WM_NCDESTROY) RemoveWindowSubclass(tab, PaintTabs, 0);
    return DefSubclassProc(tab, message, wParam, lParam);
}

// Tab strips drawn at the dialog's dpi: paddings scaled, the tabs measured
// again in the control's font.
void ScaleTabs(HWND tab, int dpi) {
    if (!tab) return;
    SendMessageW(tab, TCM_SETPADDING, 0, MAKELPARAM(MulDiv(kTabPaddingX96, dpi, 96), MulDiv(kTabPaddingY96, dpi, 96)));
    // A new font makes the strip measure its tabs again, with the padding.
    SendMessageW(tab, WM_SETFONT, SendMessageW(tab, WM_GETFONT, 0, 0), TRUE);
}

}  // namespace

Dialog::~Dialog() {
    if (!hwnd_) return;
    // Nothing of the derived dialog is left to answer its messages.
    SetWindowLongPtrW(hwnd_, DWLP_USER, 0);
    DestroyWindow(hwnd_);
}

// The template in the run's language; the dialog manager drops its font's
// charset, which the dialog font takes instead.
const DLGTEMPLATE* Dialog::Template(int templateId) {
    const DialogTemplate found = LanguageDialog(templateId);
    if (found.data) font_.UseCharset(found.charset);
    return found.data;
}

INT_PTR Dialog::Run(HWND owner, int templateId) {
    const DLGTEMPLATE* data = Template(templateId);
    if (!data) return -1;
    return DialogBoxIndirectParamW(GetModuleHandleW(nullptr), data, owner, Procedure, reinterpret_cast<LPARAM>(this));
}

bool Dialog::Create(HWND owner, int templateId) {
    const DLGTEMPLATE* data = Template(templateId);
    return data && CreateDialogIndirectParamW(GetModuleHandleW(nullptr), data, owner, Procedure,
                                              reinterpret_cast<LPARAM>(this)) != nullptr;
}

INT_PTR CALLBACK Dialog::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        reinterpret_cast<Dialog*>(lParam)->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, DWLP_USER, lParam);
    }
    auto* dialog = reinterpret_cast<Dialog*>(GetWindowLongPtrW(hwnd, DWLP_USER));
    if (!dialog) return FALSE;
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, DWLP_USER, 0);
        dialog->hwnd_ = nullptr;
        return FALSE;
    }
    try {
        return dialog->Route(message, wParam, lParam);
    } catch (...) {
        // A failing handler leaves the dialog as it was; the dialog manager
        // does the default.
        return FALSE;
    }
}

INT_PTR Dialog::Route(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            font_.Apply(hwnd_);
            ThemeDialogControls(hwnd_);
            return OnInit() ? TRUE : FALSE;
        case WM_COMMAND:
            OnCommand(LOWORD(wParam), HIWORD(wParam));
            return TRUE;
        case WM_CTLCOLORDLG:
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
            if (const INT_PTR brush = DialogControlColours(message, reinterpret_cast<HDC>(wParam))) return brush;
            break;
        case WM_NOTIFY: {
            const auto& header = *reinterpret_cast<const NMHDR*>(lParam);
            if (header.code != NM_CUSTOMDRAW) break;
            const LRESULT drawn = DrawButtonInPalette(*reinterpret_cast<const NMCUSTOMDRAW*>(lParam));
            if (drawn == CDRF_DODEFAULT) break;
            SetWindowLongPtrW(hwnd_, DWLP_MSGRESULT, drawn);
            return TRUE;
        }
        case WM_SETTINGCHANGE:
        case WM_SYSCOLORCHANGE:
            if (ColourSettingChanged(message, wParam, lParam)) ThemeDialogControls(hwnd_);
            break;
        case WM_GETFONT:
            if (font_.AnswerGetFont(hwnd_, message)) return TRUE;
            break;
        case WM_DPICHANGED:
            // Once the system has moved and sized the controls, their font follows.
            PostMessageW(hwnd_, kDialogRescale, 0, 0);
            break;
        case kDialogRescale:
            Rescale();
            return TRUE;
        default:
            break;
    }
    return OnMessage(message, wParam, lParam);
}

// The system has moved and sized the controls for the new dpi; their font,
// the tabs and what the view sized in pixels follow.
void Dialog::Rescale() {
    font_.Apply(hwnd_);
    for (int id : tabs_) ScaleTabs(Item(id), Dpi());
    OnRescale();
}

std::string Dialog::ItemText(int id) const { return WindowText(Item(id)); }

void Dialog::SetItemText(int id, std::string_view text) const { SetWindowTextW(Item(id), Widen(text).c_str()); }

void Dialog::SetTexts(std::string_view caption,
                      std::initializer_list<std::pair<int, std::string_view>> items) const {
    SetWindowTextW(hwnd_, Widen(caption).c_str());
    for (const auto& [id, text] : items) SetItemText(id, text);
}

void Dialog::AddTabs(int tabId, std::initializer_list<std::string_view> tabs) {
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
    SetWindowSubclass(Item(tabId), PaintTabs, 0, 0);
    ScaleTabs(Item(tabId), Dpi());
    tabs_.push_back(tabId);
}

void Dialog::AddListItems(int listId, std::initializer_list<std::string_view> items) const {
    for (std::string_view item : items)
        SendDlgItemMessageW(hwnd_, listId, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(item).c_str()));
}

void Dialog::SetListItems(int listId, const std::vector<std::string_view>& items, int selected) const {
    SendDlgItemMessageW(hwnd_, listId, CB_RESETCONTENT, 0, 0);
    for (std::string_view item : items)
        SendDlgItemMessageW(hwnd_, listId, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(item).c_str()));
    SendDlgItemMessageW(hwnd_, listId, CB_SETCURSEL, static_cast<WPARAM>(selected), 0);
}

int Dialog::Dpi() const { return WindowDpi(hwnd_); }

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
