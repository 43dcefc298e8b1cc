#pragma once
// One plain top-level window and its message loop, for the test tools that
// need a window of their own and nothing more.
#include <windows.h>

namespace plain_window {

inline LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

struct Shape {
    const wchar_t* className;
    const wchar_t* title;
    DWORD exStyle;
    DWORD style;
    RECT bounds;  // left, top, width, height
    int background;  // a system colour index
};

// Shows the window and runs until it is destroyed; the exit code is 0.
inline int Run(HINSTANCE instance, const Shape& shape) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = Procedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = GetSysColorBrush(shape.background);
    windowClass.lpszClassName = shape.className;
    RegisterClassW(&windowClass);
    HWND window = CreateWindowExW(shape.exStyle, shape.className, shape.title, shape.style, shape.bounds.left,
                                  shape.bounds.top, shape.bounds.right, shape.bounds.bottom, nullptr, nullptr,
                                  instance, nullptr);
    ShowWindow(window, SW_SHOWNORMAL);
    UpdateWindow(window);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}

}  // namespace plain_window
