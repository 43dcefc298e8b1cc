#pragma once
#include <windows.h>

#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tavi {

// Posted to a dialog on WM_DPICHANGED, to run once the system has moved and
// sized its controls for the new monitor.
inline constexpr UINT kDialogRescale = WM_APP + 0x3FF0;

// The font of the program's dialogs: the face of the template's font, at
// its size in points for the dpi of the monitor the dialog is on, given to
// the dialog and every control. The dialog manager's own font is made for
// the system's dpi with whatever quality it chooses, and controls that lay
// text out themselves then drew it at another size than the labels.
class DialogFont {
public:
    DialogFont() = default;
    DialogFont(const DialogFont&) = delete;
    DialogFont& operator=(const DialogFont&) = delete;
    ~DialogFont();

    // Makes the font for the dialog's dpi now and gives it to every control;
    // again after a move to a monitor of another dpi.
    void Apply(HWND dialog);
    HFONT Handle() const { return font_; }
    // For the dialog procedure: answers WM_GETFONT with this font.
    bool AnswerGetFont(HWND dialog, UINT message) const;
    // The charset of the template's font, before the first Apply.
    void UseCharset(BYTE charset) { charset_ = charset; }

private:
    HFONT font_ = nullptr;
    BYTE charset_ = SHIFTJIS_CHARSET;
};

// Every dialog on one page colour: the one the system draws tab pages in;
// in the dark app mode the palette's, which the page texture would cover.
// Called again when the colours change.
void PaintAsPage(HWND dialog);

// Tab strips drawn at the dialog's dpi: paddings scaled, the tabs measured
// again in the control's font.
void ScaleTabs(HWND tab, int dpi);

// The object behind a dialog procedure: taken from WM_INITDIALOG's
// parameter and kept in DWLP_USER, with the window in its `window` member,
// until WM_NCDESTROY clears both. Null before WM_INITDIALOG and at
// WM_NCDESTROY, where the procedure returns FALSE.
template <typename Owner>
Owner* DialogOwner(HWND hwnd, UINT message, LPARAM lParam, HWND Owner::*window) {
    if (message == WM_INITDIALOG) {
        (reinterpret_cast<Owner*>(lParam)->*window) = hwnd;
        SetWindowLongPtrW(hwnd, DWLP_USER, lParam);
    }
    auto* owner = reinterpret_cast<Owner*>(GetWindowLongPtrW(hwnd, DWLP_USER));
    if (owner && message == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, DWLP_USER, 0);
        owner->*window = nullptr;
        return nullptr;
    }
    return owner;
}

// Base of the program's modal dialogs from .rc templates: keeps `this` from
// WM_INITDIALOG on, sends each message to HandleMessage and never lets an
// exception cross the dialog procedure. It gives the dialog its font at the
// monitor's dpi, follows a move to another monitor, scales its tabs and
// paints every dialog on one page colour.
class ModalDialog {
public:
    ModalDialog() = default;
    ModalDialog(const ModalDialog&) = delete;
    ModalDialog& operator=(const ModalDialog&) = delete;
    virtual ~ModalDialog() = default;

    // Shows the template `templateId` of this program and returns the value
    // given to EndDialog, or -1 when the dialog could not be created.
    INT_PTR Run(HWND owner, int templateId);
    HWND Handle() const { return hwnd_; }

protected:
    // The dialog manager's meaning: TRUE when the message was handled.
    virtual INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;
    // After the system has scaled the template's controls for a monitor of
    // another dpi: what the dialog sized in pixels itself is sized again.
    virtual void OnRescale() {}

    // The dialog's caption and its controls' texts.
    void SetTexts(std::string_view caption, std::initializer_list<std::pair<int, std::string_view>> items) const;
    // The tab strip `tabId` gets these tabs, sized for the dpi, and lies
    // behind the other controls.
    void AddTabs(int tabId, std::initializer_list<std::string_view> tabs);
    // A list's items, in order.
    void AddListItems(int listId, std::initializer_list<std::string_view> items) const;
    // A drop-down list's items replaced by these, `selected` chosen (-1: none).
    void SetListItems(int listId, const std::vector<std::string_view>& items, int selected) const;

    HWND Item(int id) const { return GetDlgItem(hwnd_, id); }
    std::string ItemText(int id) const;
    void SetItemText(int id, std::string_view text) const;
    void EnableItem(int id, bool enabled) const { EnableWindow(Item(id), enabled ? TRUE : FALSE); }
    // The dots per inch of the monitor the dialog is on.
    int Dpi() const;
    HFONT Font() const { return font_.Handle(); }
    int Scale(int pixelsAt96) const { return MulDiv(pixelsAt96, Dpi(), 96); }

private:
    static INT_PTR CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    void Rescale();
    HWND hwnd_ = nullptr;
    DialogFont font_;
    std::vector<int> tabs_;  // the tab strips AddTabs filled
};

std::string WindowText(HWND window);

// Text boxes select their whole text when they get the focus. Posted, so a
// click that gave the focus cannot put the caret over the selection again.
void SelectAllOnFocus(HWND textBox);

// A control's size so that its client area is `width` x `height` pixels.
void SetClientSize(HWND control, int width, int height);

}  // namespace tavi
