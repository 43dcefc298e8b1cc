#include <windows.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "dialog_driver_win.h"

namespace dialog_driver {

// The picture is taken from outside (tests/e2e/dialog_shots.py): reading the
// screen back from inside Wine misses much of what the X server shows.
void AwaitScreenshot(HWND dialog, const char* name) {
    const char* folder = std::getenv("TAVI_DIALOG_SHOTS");
    if (!folder || !*folder) return;
    RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    RECT rect{};
    GetWindowRect(dialog, &rect);
    const std::string base = std::string(folder) + "\\" + name + "-" + std::to_string(GetDpiForWindow(dialog));
    {
        std::ofstream shown(base + ".shown");
        shown << rect.left << ' ' << rect.top << ' ' << rect.right - rect.left << ' ' << rect.bottom - rect.top
              << '\n';
    }
    const std::string taken = base + ".taken";
    WaitUntil([&] { return GetFileAttributesW(tavi::Widen(taken).c_str()) != INVALID_FILE_ATTRIBUTES; },
              std::chrono::seconds(60));
}

}  // namespace dialog_driver
