#pragma once
#include <functional>

#include "platform/rect.h"
#include "platform/window_win.h"

namespace tavi {

// `EdgeTriggerWindow`: the thin strip along the docking edge that stands for the
// bar while it hides. The pointer's messages on it wake the bar, which then
// counts how long the pointer rests at the edge; the strip also keeps the
// bar's place in the z-order.
class EdgeTriggerWindow final : public Window {
public:
    bool Create(HWND owner);
    // Called for each mouse message the strip receives.
    void OnPointer(std::function<void()> came) { came_ = std::move(came); }
    // Moves it to the strip (screen pixels, at least one pixel thick).
    void Place(const Rect& pixels);
    void Show();
    void Hide();
    bool Visible() const;
    void MakeTopmost();
    void SendToBottom();

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    std::function<void()> came_;
};

}  // namespace tavi
