#pragma once
#include <windows.h>

#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

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
    // After the system has scaled the template's controls for a monitor of
    // another dpi: what the dialog sized in pixels itself is sized again.
    virtual void OnRescale() {}

    // The dialog's caption and its controls' texts.
    void SetTexts(std::string_view caption, std::initializer_list<std::pair<int, std::string_view>> items) const;
    // The tab strip `tabId` gets these tabs and lies behind the other controls,
    // on the page colour of visual styles.
    void AddTabs(int tabId, std::initializer_list<std::string_view> tabs) const;
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
