#include "menus/command_windows_win.h"

#include "dialogs/new_app_win.h"
#include "dialogs/file_infomation_win.h"
#include "tools/fd_format_win.h"
#include "tools/option_set_win.h"

namespace tavi {

void Win32CommandWindows::ShowNewApp() {
    tavi::ShowNewApp(bar_.Handle(), state_, platform_, bar_, tools_.files, tools_.icons);
}

void Win32CommandWindows::ShowFileInfomation() {
    tavi::ShowFileInfomation(bar_.Handle(), state_, tools_.fileDetails, tools_.registry);
}

int Win32CommandWindows::ShowOptionSet() {
    return tavi::ShowOptionSet(bar_.Handle(), state_, platform_, bar_, tools_.files, tools_.sound, tools_.driveSpaces);
}

void Win32CommandWindows::ShowFDFormat() { tavi::ShowFDFormat(bar_.Handle(), platform_.system, tools_.formatter); }

void Win32CommandWindows::ShowMemorySpace() { meter_.Show(bar_.Handle()); }

}  // namespace tavi
