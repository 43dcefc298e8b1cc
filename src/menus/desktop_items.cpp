#include "menus/desktop_items.h"

#include "platform/messages.h"
#include "platform/text.h"

namespace tavi {

void SelectScreenSaver(RunTimeList& list, int index, SystemInfo& system, Profile& profile, DesktopParameters& desktop) {
    if (index < 0 || static_cast<size_t>(index) >= list.items.size()) return;
    const std::string saver = list.items[static_cast<size_t>(index)].path;
    const std::string windows = system.WindowsDirectory();
    if (windows.empty()) return;
    for (ListItem& item : list.items) item.checked = false;
    const std::string ini = AddBackslash(windows) + "system.ini";
    if (saver == text::kListNone)
        (void)profile.DeleteKey(ini, "boot", "SCRNSAVE.EXE");
    else
        (void)profile.WriteString(ini, "boot", "SCRNSAVE.EXE", saver);
    // Switched on even for "(なし)": with no saver file configured the system shows none.
    (void)desktop.SetScreenSaverActive(true);
    list.items[static_cast<size_t>(index)].checked = true;
}

std::string DeskTopItemFolder(const std::string& path) {
    const size_t slash = path.rfind('\\');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

void OpenDeskTopItem(const RunTimeList& list, int index, Shell& shell) {
    if (index < 0 || static_cast<size_t>(index) >= list.items.size()) return;
    const std::string& path = list.items[static_cast<size_t>(index)].path;
    if (path.empty()) return;  // the "(なし)" of an empty desktop
    shell.OpenThen({"Open", path, "", DeskTopItemFolder(path), ShowCommand::Normal}, [](int) {});
}

}  // namespace tavi
