#include "menus/run_time_lists.h"

#include "platform/messages.h"
#include "platform/text.h"

namespace tavi {
namespace {

// "(なし)": disabled where it stands for an empty list; in the screen-saver
// and wallpaper lists a real choice whose path is the text itself.
ListItem EmptyListItem() { return {std::string(text::kListNone), "", false, false}; }
ListItem NoneChoice() { return {std::string(text::kListNone), std::string(text::kListNone), true, false}; }

// The text before the first `ending` of its upper-cased form; the whole text without one.
std::string Before(const std::string& name, std::string_view ending) {
    const size_t at = ToUpperAscii(name).find(ending);
    return at == std::string::npos ? name : name.substr(0, at);
}

bool IsDotEntry(const std::string& name) { return name == "." || name == ".."; }

}  // namespace

RunTimeLists::RunTimeLists() {
    screenSavers.items = {NoneChoice()};
    wallPapers.items = {NoneChoice()};
    displayModes.items = {ListItem{std::string(text::kMenuDisplayProperties), "", true, false}};
}

RunTimeList& RunTimeLists::Of(ListKind kind) {
    return const_cast<RunTimeList&>(static_cast<const RunTimeLists&>(*this).Of(kind));
}

const RunTimeList& RunTimeLists::Of(ListKind kind) const {
    switch (kind) {
        case ListKind::Drives: return drives;
        case ListKind::DeskTop: return deskTop;
        case ListKind::ScreenSavers: return screenSavers;
        case ListKind::WallPapers: return wallPapers;
        case ListKind::DisplayModes: break;
    }
    return displayModes;
}

std::string DeskTopCaption(const std::string& name) { return Before(Before(name, ".LNK"), ".PIF"); }

RunTimeList DrivePopUpMake(SystemInfo& system) {
    RunTimeList list;
    list.items.clear();
    std::vector<std::string> listed;
    for (const std::string& root : system.LogicalDriveRoots()) {
        switch (system.DriveTypeOf(root)) {
            case DriveType::Removable:
            case DriveType::Fixed:
            case DriveType::Remote:
            case DriveType::CdRom: listed.push_back(root); break;
            default: break;  // unknown, no root and RAM disks are not listed
        }
    }
    // Asked all at once, so that slow drives are waited for together.
    const std::vector<std::string> names = system.DriveDisplayNames(listed);
    for (size_t i = 0; i < listed.size() && i < names.size(); ++i) {
        if (CharCount(TrimSpaces(names[i])) <= 2) continue;
        list.items.push_back({names[i], listed[i], true, false});
    }
    if (list.items.empty()) list.items.push_back(EmptyListItem());
    return list;
}

RunTimeList DeskTopPopUpMake(FolderListing& folders) {
    RunTimeList list;
    list.items.clear();
    const std::string desktop = folders.DesktopDirectory();
    if (!desktop.empty()) {
        // Names are kept exactly: a leading space is legal in a file name.
        for (const std::string& name : folders.FindFiles(desktop, "*.*")) {
            if (IsDotEntry(name)) continue;
            list.items.push_back({DeskTopCaption(name), AddBackslash(desktop) + name, true, false});
        }
    }
    if (list.items.empty()) list.items.push_back(EmptyListItem());
    return list;
}

std::string CurrentScreenSaver(SystemInfo& system, Profile& profile) {
    const std::string windows = system.WindowsDirectory();
    if (windows.empty()) return {};
    return ToUpperAscii(TrimSpaces(profile.GetString(AddBackslash(windows) + "system.ini", "boot", "SCRNSAVE.EXE")));
}

void CheckScreenSaver(RunTimeList& list, const std::string& current) {
    for (size_t i = 0; i < list.items.size(); ++i)
        list.items[i].checked = i == 0 ? current.empty() : !current.empty() && ToUpperAscii(list.items[i].path) == current;
}

RunTimeList ScreenSaverPopUpMake(SystemInfo& system, Profile& profile, FolderListing& folders) {
    RunTimeList list;
    list.items = {NoneChoice()};
    const std::string windows = system.WindowsDirectory();
    if (windows.empty()) return list;
    std::vector<std::string> scanned{windows};
    if (const std::string system32 = system.SystemDirectory(); !system32.empty()) scanned.push_back(system32);
    for (const std::string& folder : scanned) {
        for (const std::string& name : folders.FindFiles(folder, "*.scr")) {
            if (IsDotEntry(name)) continue;
            std::string shortPath = folders.ShortPathName(AddBackslash(folder) + name);
            list.items.push_back({Before(name, ".SCR"), std::move(shortPath), true, false});
        }
    }
    CheckScreenSaver(list, CurrentScreenSaver(system, profile));
    return list;
}

}  // namespace tavi
