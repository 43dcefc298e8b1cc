#pragma once
#include <windows.h>

#include <string>
#include <string_view>

namespace tavi {

// Base of the program's modal dialogs from .rc templates: keeps `this` from
// WM_INITDIALOG on, sends each message to HandleMessage and never lets an
// exception cross the dialog procedure.
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

    HWND Item(int id) const { return GetDlgItem(hwnd_, id); }
    std::string ItemText(int id) const;
    void SetItemText(int id, std::string_view text) const;
    void EnableItem(int id, bool enabled) const { EnableWindow(Item(id), enabled ? TRUE : FALSE); }
    // The dots per inch of the monitor the dialog is on.
    int Dpi() const;
    int Scale(int pixelsAt96) const { return MulDiv(pixelsAt96, Dpi(), 96); }

private:
    static INT_PTR CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    HWND hwnd_ = nullptr;
};

std::string WindowText(HWND window);

// Text boxes select their whole text when they get the focus. Posted, so a
// click that gave the focus cannot put the caret over the selection again.
void SelectAllOnFocus(HWND textBox);

// A control's size so that its client area is `width` x `height` pixels.
void SetClientSize(HWND control, int width, int height);

}  // namespace tavi
