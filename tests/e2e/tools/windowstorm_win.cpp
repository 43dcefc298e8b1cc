// windowstorm: a program that opens many top-level windows at once, for the
// cost of the bar's running watch under an event storm.
//
//   windowstorm.exe [COUNT]      (default 1000)
//
// Shows COUNT small windows titled "Storm 0".."Storm N-1", then waits for
// input. WM_CLOSE to any of them destroys them all and ends the program.
#include <windows.h>

#include <shellapi.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

std::vector<HWND> g_windows;

LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CLOSE) {
        for (HWND window : g_windows) DestroyWindow(window);
        g_windows.clear();
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    int count = 0;
    wchar_t** args = CommandLineToArgvW(GetCommandLineW(), &count);
    const int windows = count > 1 ? std::max(1, static_cast<int>(std::wcstol(args[1], nullptr, 10))) : 1000;
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = Procedure;
    windowClass.hInstance = instance;
    windowClass.hbrBackground = GetSysColorBrush(COLOR_WINDOW);
    windowClass.lpszClassName = L"WindowStorm";
    RegisterClassW(&windowClass);
    for (int i = 0; i < windows; ++i) {
        const std::wstring title = L"Storm " + std::to_wstring(i);
        HWND window = CreateWindowExW(0, L"WindowStorm", title.c_str(), WS_OVERLAPPEDWINDOW, 600 + (i % 20) * 4,
                                      400 + (i % 20) * 4, 120, 80, nullptr, nullptr, instance, nullptr);
        if (!window) return 1;
        g_windows.push_back(window);
        ShowWindow(window, SW_SHOWNOACTIVATE);
    }
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
    return 0;
}
