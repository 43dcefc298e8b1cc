#include <windows.h>

#include <commctrl.h>
#include <objbase.h>

#include "app/app_windows_win.h"
#include "platform/wide_win.h"
#include "platform/win32_adapters_win.h"

using namespace tavi;

namespace {

std::string ProgramFolder() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    const size_t slash = path.find_last_of(L'\\');
    return Narrow(slash == std::wstring::npos ? path : path.substr(0, slash));
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    // Shell extensions that ShellExecute may load expect a single-threaded apartment.
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES | ICC_WIN95_CLASSES | ICC_TAB_CLASSES};
    InitCommonControlsEx(&controls);

    Win32Profile profile;
    Win32FileSystem files;
    Win32CodePage codePage;
    Win32SystemInfo system;
    Win32Shell shell;
    Win32MessageBoxes messages;
    Platform platform{profile, files, codePage, system, shell, messages};

    MenuMain state;
    state.ApplicationPath = ProgramFolder();
    int exitCode = 0;
    {
        Win32AppWindows windows(state, platform);
        if (RunMain(state, platform, windows)) {
            if (TaviMenu2* bar = windows.Bar()) {
                shell.SetOwner(bar->Handle());
                messages.SetOwner(bar->Handle());
            }
            MSG message;
            while (GetMessageW(&message, nullptr, 0, 0) > 0) {
                TranslateMessage(&message);
                DispatchMessageW(&message);
            }
            exitCode = static_cast<int>(message.wParam);
        }
    }
    if (SUCCEEDED(com)) CoUninitialize();
    return exitCode;
}
