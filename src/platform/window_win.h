#pragma once
#include <windows.h>

#include <functional>
#include <optional>

namespace tavi {

// Sees a control's messages before the control does, for the window that
// owns it; an answer ends the message there, nullopt lets the control go on.
using ChildHook = std::function<std::optional<LRESULT>(HWND, UINT, WPARAM, LPARAM)>;
// For a control's window procedure: the hook's answer, if it has one. A
// control being destroyed drops its hook first, as its owner may be going too.
std::optional<LRESULT> RunChildHook(ChildHook& hook, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// Base of the program's windows: keeps `this` from WM_NCCREATE on, sends each
// message to HandleMessage, and never lets an exception cross the window
// procedure (the system would swallow or crash on it).
class Window {
public:
    Window() = default;
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;
    virtual ~Window();

    HWND Handle() const { return hwnd_; }

protected:
    // Registers the class once per process; returns false when it cannot.
    static bool RegisterClassOnce(const wchar_t* className, HBRUSH background = nullptr, HICON icon = nullptr);
    bool CreateWindowOf(const wchar_t* className, const wchar_t* caption, DWORD style, DWORD exStyle, int x, int y,
                        int width, int height, HWND owner = nullptr);
    virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

private:
    static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    HWND hwnd_ = nullptr;
};

// Answers WM_PAINT: `draw` paints the update area (client coordinates) onto
// a bitmap that is then copied to the window in one step, so nothing
// flickers; straight onto the window when no bitmap can be made.
void PaintOffScreen(HWND window, const std::function<void(HDC, const RECT&)>& draw);

// The dots per inch of the monitor `window` is on (the system's when the
// window is null or the system predates per-monitor scaling).
int WindowDpi(HWND window);

}  // namespace tavi
