// A plain window of another program, titled by its first argument, to hold
// the keyboard focus while a global key is pressed. With a second argument
// (a hot-key control word in decimal) it first takes that key as its own
// global key, so the window showing means the key is held.
#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>

#include <cwchar>

namespace {

LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    int count = 0;
    wchar_t** args = CommandLineToArgvW(GetCommandLineW(), &count);
    const wchar_t* title = count > 1 ? args[1] : L"KeyWindow";
    if (count > 2) {
        const long word = std::wcstol(args[2], nullptr, 10);
        const UINT flags = static_cast<UINT>(word >> 8);
        const UINT modifiers = ((flags & HOTKEYF_SHIFT) ? MOD_SHIFT : 0) | ((flags & HOTKEYF_CONTROL) ? MOD_CONTROL : 0) |
                               ((flags & HOTKEYF_ALT) ? MOD_ALT : 0);
        if (!RegisterHotKey(nullptr, 1, modifiers, static_cast<UINT>(word & 0xFF))) return 2;
    }
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = Procedure;
    windowClass.hInstance = instance;
    windowClass.hbrBackground = GetSysColorBrush(COLOR_WINDOW);
    windowClass.lpszClassName = L"KeyWindow";
    RegisterClassW(&windowClass);
    HWND window = CreateWindowExW(0, L"KeyWindow", title, WS_OVERLAPPEDWINDOW, 400, 300, 400, 300, nullptr, nullptr,
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
