#pragma once
#include "platform/window_win.h"

namespace tavi {

// The start-up picture `SplashWindow`: centred, topmost, nothing to click.
class SplashWindow final : public Window {
public:
    bool Show();
    void Close();

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void Paint(HDC dc, const RECT& area);
};

}  // namespace tavi
