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

// Base of every dialog of the program, from an .rc template, modal or
// modeless: keeps `this` from WM_INITDIALOG on and never lets an exception
// cross the dialog procedure. It gives the dialog its font at the monitor's
// dpi and follows a move to another monitor, scales its tabs, and colours
// the dialog and its controls in the palette, again when the colours change.
// Each dialog answers OnInit and OnCommand, and OnMessage for the rest.
class Dialog {
public:
    Dialog() = default;
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;
    // A modeless dialog still open is destroyed; derived dialogs close their
    // own first, while their handlers still run.
    virtual ~Dialog();

    // Shows the template `templateId` of this program modally and returns
    // the value given to EndDialog, or -1 when the dialog could not be made.
    INT_PTR Run(HWND owner, int templateId);
    // Makes the template a modeless dialog, shown when its template says so.
    // False when it could not be made.
    bool Create(HWND owner, int templateId);
    HWND Handle() const { return hwnd_; }

protected:
    // WM_INITDIALOG, with the font and the colours in place. False when the
    // dialog has put the focus where it wants it.
    virtual bool OnInit() = 0;
    // WM_COMMAND: a control's notice, or OK and Cancel from the dialog manager.
    virtual void OnCommand(int id, int code) {
        (void)id;
        (void)code;
    }
    // Any other message, in the dialog manager's meaning: TRUE when handled.
    virtual INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
        (void)message;
        (void)wParam;
        (void)lParam;
        return FALSE;
    }
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
    const DLGTEMPLATE* Template(int templateId);
    INT_PTR Route(UINT message, WPARAM wParam, LPARAM lParam);
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
