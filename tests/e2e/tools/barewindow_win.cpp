// A plain Win32 window and nothing else: the yardstick the bar's start-up
// time is compared with.
#include "plain_window_win.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    return plain_window::Run(instance, {L"BareWindow", L"Bare", WS_EX_TOOLWINDOW, WS_POPUP | WS_BORDER,
                                        {0, 0, 41, 1024}, COLOR_BTNFACE});
}
