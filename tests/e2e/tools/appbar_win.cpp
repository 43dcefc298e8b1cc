// Another program's appbar: a 30-pixel bar on the left edge of the primary
// monitor that docks as the shell tells it and again on every ABN_POSCHANGED.
// Its title counts its moves ("appbar moves N"), so a test sees whether it
// and our bar push each other back and forth. WM_CLOSE removes it.
#include <windows.h>

#include <shellapi.h>

#include <string>

namespace {

constexpr UINT kCallback = WM_APP + 7;
constexpr int kThickness = 30;
APPBARDATA bar{};
RECT placed{};
int moves = 0;

void Dock(HWND window) {
    bar.uEdge = ABE_LEFT;
    bar.rc = {0, 0, kThickness, GetSystemMetrics(SM_CYSCREEN)};
    SHAppBarMessage(ABM_QUERYPOS, &bar);
    bar.rc.right = bar.rc.left + kThickness;
    SHAppBarMessage(ABM_SETPOS, &bar);
    if (EqualRect(&bar.rc, &placed)) return;  // the same place: no move
    placed = bar.rc;
    ++moves;
    MoveWindow(window, placed.left, placed.top, placed.right - placed.left, placed.bottom - placed.top, TRUE);
    SetWindowTextW(window, (L"appbar moves " + std::to_wstring(moves)).c_str());
}

LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case kCallback:
            if (wParam == ABN_POSCHANGED) Dock(hwnd);
            return 0;
        case WM_CLOSE:
            SHAppBarMessage(ABM_REMOVE, &bar);
            DestroyWindow(hwnd);
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        default:
            return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = Procedure;
    windowClass.hInstance = instance;
    windowClass.hbrBackground = GetSysColorBrush(COLOR_HIGHLIGHT);
    windowClass.lpszClassName = L"TestAppBar";
    RegisterClassW(&windowClass);
    HWND window = CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, L"TestAppBar", L"appbar moves 0", WS_POPUP, 0, 0,
                                  kThickness, 100, nullptr, nullptr, instance, nullptr);
    bar.cbSize = sizeof bar;
    bar.hWnd = window;
    bar.uCallbackMessage = kCallback;
    SHAppBarMessage(ABM_NEW, &bar);
    Dock(window);
    ShowWindow(window, SW_SHOWNOACTIVATE);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}
