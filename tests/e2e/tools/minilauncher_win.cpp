// The least a launcher bar does, written only to be measured against: one
// window docked at the left edge as an appbar, a toolbar of 25 buttons with
// icons extracted from a program, and a tray icon. Nothing else. The
// start-up benchmark starts it beside the bare window to show the floor a
// bar built on the common controls stands on.
#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>

namespace {

constexpr int kButtons = 25;
constexpr UINT kAppBarMessage = WM_APP + 1;
constexpr UINT kTrayMessage = WM_APP + 2;

LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        NOTIFYICONDATAW tray{};
        tray.cbSize = sizeof tray;
        tray.hWnd = hwnd;
        tray.uID = 1;
        Shell_NotifyIconW(NIM_DELETE, &tray);
        APPBARDATA bar{};
        bar.cbSize = sizeof bar;
        bar.hWnd = hwnd;
        SHAppBarMessage(ABM_REMOVE, &bar);
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = Procedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    windowClass.lpszClassName = L"MiniLauncher";
    RegisterClassW(&windowClass);
    const int height = GetSystemMetrics(SM_CYSCREEN);
    HWND window = CreateWindowExW(WS_EX_TOOLWINDOW, L"MiniLauncher", L"Mini", WS_POPUP | WS_CLIPCHILDREN, 0, 0, 41,
                                  height, nullptr, nullptr, instance, nullptr);

    APPBARDATA bar{};
    bar.cbSize = sizeof bar;
    bar.hWnd = window;
    bar.uCallbackMessage = kAppBarMessage;
    SHAppBarMessage(ABM_NEW, &bar);
    bar.uEdge = ABE_LEFT;
    bar.rc = {0, 0, 41, height};
    SHAppBarMessage(ABM_QUERYPOS, &bar);
    SHAppBarMessage(ABM_SETPOS, &bar);

    HWND toolbar = CreateWindowExW(0, TOOLBARCLASSNAMEW, nullptr,
                                   WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_WRAPABLE | CCS_NORESIZE |
                                       CCS_NOPARENTALIGN | CCS_NODIVIDER,
                                   0, 0, 41, height, window, nullptr, instance, nullptr);
    SendMessageW(toolbar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    HIMAGELIST images = ImageList_Create(32, 32, ILC_COLOR32 | ILC_MASK, kButtons, 0);
    wchar_t program[MAX_PATH];
    GetWindowsDirectoryW(program, MAX_PATH);
    lstrcatW(program, L"\\notepad.exe");
    TBBUTTON buttons[kButtons] = {};
    for (int i = 0; i < kButtons; ++i) {
        HICON icon = nullptr;
        ExtractIconExW(program, 0, &icon, nullptr, 1);
        buttons[i].iBitmap = icon ? ImageList_AddIcon(images, icon) : I_IMAGENONE;
        if (icon) DestroyIcon(icon);
        buttons[i].idCommand = i + 1;
        buttons[i].fsState = TBSTATE_ENABLED | TBSTATE_WRAP;
        buttons[i].fsStyle = BTNS_BUTTON;
    }
    SendMessageW(toolbar, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images));
    SendMessageW(toolbar, TB_ADDBUTTONSW, kButtons, reinterpret_cast<LPARAM>(buttons));

    NOTIFYICONDATAW tray{};
    tray.cbSize = sizeof tray;
    tray.hWnd = window;
    tray.uID = 1;
    tray.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    tray.uCallbackMessage = kTrayMessage;
    tray.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
    lstrcpynW(tray.szTip, L"Mini", 64);
    Shell_NotifyIconW(NIM_ADD, &tray);

    ShowWindow(window, SW_SHOWNORMAL);
    UpdateWindow(window);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
    ImageList_Destroy(images);
    return 0;
}
