#pragma once
#include <windows.h>

#include <string>

#include "platform/window_win.h"

namespace tavi {

// One of the bar's paging buttons (`CmdMainEnd`): an owner-drawn push button
// of its own class. Its parent draws it on WM_DRAWITEM (ODT_BUTTON, with
// ODS_SELECTED while pressed) and hears a click as WM_COMMAND(id,
// BN_CLICKED). Not the system's BUTTON: under the program's manifest that
// class is the common controls' one, and making it loads their library.
class CommandButton final : public Window {
public:
    // `hook` sees every message first.
    bool Create(HWND parent, int id, const std::wstring& caption, ChildHook hook);
    bool Pressed() const { return pressed_ && inside_; }

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    bool Inside(LPARAM lParam) const;
    void Draw(HDC dc);

    int id_ = 0;
    ChildHook hook_;
    bool pressed_ = false;  // a left press began here
    bool inside_ = false;   // and the pointer is still on the button
};

}  // namespace tavi
