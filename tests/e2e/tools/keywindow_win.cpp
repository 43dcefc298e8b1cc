// A plain window of another program, titled by its first argument, to hold
// the keyboard focus while a global key is pressed. With a second argument
// (a hot-key control word in decimal) it first takes that key as its own
// global key, so the window showing means the key is held.
#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>

#include <cwchar>

#include "plain_window_win.h"

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
    return plain_window::Run(instance, {L"KeyWindow", title, 0, WS_OVERLAPPEDWINDOW, {400, 300, 400, 300}, COLOR_WINDOW});
}
