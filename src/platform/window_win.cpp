#include "platform/window_win.h"

#include "platform/handles_win.h"

namespace tavi {

Window::~Window() {
    if (hwnd_) {
        SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
        DestroyWindow(hwnd_);
    }
}

bool Window::RegisterClassOnce(const wchar_t* className, HBRUSH background, HICON icon) {
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof existing;
    if (GetClassInfoExW(GetModuleHandleW(nullptr), className, &existing)) return true;
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = Procedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = background ? background : GetSysColorBrush(COLOR_BTNFACE);
    windowClass.hIcon = icon;
    windowClass.lpszClassName = className;
    return RegisterClassExW(&windowClass) != 0;
}

bool Window::CreateWindowOf(const wchar_t* className, const wchar_t* caption, DWORD style, DWORD exStyle, int x,
                            int y, int width, int height, HWND owner) {
    return CreateWindowExW(exStyle, className, caption, style, x, y, width, height, owner, nullptr,
                           GetModuleHandleW(nullptr), this) != nullptr;
}

LRESULT Window::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(hwnd_, message, wParam, lParam);
}

LRESULT CALLBACK Window::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* window = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        window->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(window));
    }
    auto* window = reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!window) return DefWindowProcW(hwnd, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        window->hwnd_ = nullptr;
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
    try {
        return window->HandleMessage(message, wParam, lParam);
    } catch (...) {
        // A failing handler leaves things as they were, as every handler here must.
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

std::optional<LRESULT> RunChildHook(ChildHook& hook, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) hook = nullptr;
    return hook ? hook(hwnd, message, wParam, lParam) : std::nullopt;
}

void PaintOffScreen(HWND window, const std::function<void(HDC, const RECT&)>& draw) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    const RECT& area = paint.rcPaint;
    const int width = area.right - area.left, height = area.bottom - area.top;
    {
        const OwnedMemoryDc memory(width > 0 && height > 0 ? CreateCompatibleDC(dc) : nullptr);
        const OwnedBitmap bitmap(memory ? CreateCompatibleBitmap(dc, width, height) : nullptr);
        if (bitmap) {
            const Selected selected(memory.Get(), bitmap.Get());
            SetViewportOrgEx(memory.Get(), -area.left, -area.top, nullptr);
            draw(memory.Get(), area);
            BitBlt(dc, area.left, area.top, width, height, memory.Get(), area.left, area.top, SRCCOPY);
        } else {
            draw(dc, area);
        }
    }
    EndPaint(window, &paint);
}

int WindowDpi(HWND window) {
    // GetDpiForWindow came with Windows 10 1607; older systems have one dpi for all.
    using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
    static const auto getDpiForWindow = reinterpret_cast<GetDpiForWindowFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
    if (window && getDpiForWindow)
        if (const UINT dpi = getDpiForWindow(window)) return static_cast<int>(dpi);
    const WindowDc screen(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen.Get(), LOGPIXELSY) : 96;
    return dpi > 0 ? dpi : 96;
}

}  // namespace tavi
