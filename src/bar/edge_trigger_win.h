#pragma once
#include "platform/rect.h"
#include "platform/window_win.h"

namespace tavi {

// `frmActiveDummy`: the thin strip along the docking edge that stands for the
// bar while it hides. The bar's timer polls the pointer; the strip only marks
// the edge and keeps the bar's place in the z-order.
class frmActiveDummy final : public Window {
public:
    bool Create(HWND owner);
    // Moves it to the strip (screen pixels, at least one pixel thick).
    void Place(const Rect& pixels);
    void Show();
    void Hide();
    bool Visible() const;
    void MakeTopmost();
    void SendToBottom();

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
};

}  // namespace tavi
