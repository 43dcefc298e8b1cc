#include "menus/command_windows_win.h"

#include "dialogs/new_app_win.h"
#include "tools/fd_format_win.h"

namespace tavi {

void Win32CommandWindows::ShowNewApp() {
    tavi::ShowNewApp(bar_.Handle(), state_, platform_, bar_, tools_.files, tools_.icons);
}

// The windows below come with the options and tools.
void Win32CommandWindows::ShowFileInfomation() {}

int Win32CommandWindows::ShowOptionSet() { return 0; }

void Win32CommandWindows::ShowFDFormat() { tavi::ShowFDFormat(bar_.Handle(), platform_.system, tools_.formatter); }

void Win32CommandWindows::ShowMemorySpace() {}

}  // namespace tavi
