#include "dialogs/icon_change.h"

#include <algorithm>

#include "platform/messages.h"
#include "platform/text.h"

namespace tavi {
namespace {

// Rebuilds the strip from `path`. A name without a folder is not looked up
// at all, as a bare name would be searched for along the system's path.
void LoadIconStrip(IconChangeView& view, const std::string& path, IconFiles& icons) {
    view.stripFile = path;
    view.iconCount = 0;
    if (!path.empty() && Contains(path, "\\")) view.iconCount = std::max(0, icons.IconCount(path));
    view.cellCount = std::min(view.iconCount, kMaxIconCells);
    view.scrollValue = 0;
    view.scrollMax = std::max(0, view.cellCount - kVisibleIconCells);
    view.scrollEnabled = view.cellCount > kVisibleIconCells;
}

}  // namespace

int IconChangeView::MarkedCell() const { return selectedIcon >= 0 && selectedIcon < cellCount ? selectedIcon : -1; }

int IconNumberOf(const std::string& iconIndex) {
    // Icon numbers were 16-bit; a negative one would name a resource id instead.
    const int32_t number = LeadingInt(iconIndex);
    return number >= 0 && number <= 32767 ? number : 0;
}

std::string SystemIconLibrary(SystemInfo& system) { return AddBackslash(system.SystemDirectory()) + "SHELL32.DLL"; }

IconChangeView IconChangeLoad(const IconChangeInput& input, Platform& platform, IconFiles& icons) {
    IconChangeView view;
    const std::string stored = TrimSpaces(input.choice.iconPath);
    if (!stored.empty()) {
        view.fileText = stored;
        view.selectedIcon = IconNumberOf(input.choice.iconIndex);
        LoadIconStrip(view, stored, icons);
    } else if (!input.ownerIsGroup) {
        view.fileText = TrimSpaces(input.ownerPath);
        LoadIconStrip(view, view.fileText, icons);
    }
    if (view.cellCount == 0) {
        // Only shown here: the library becomes the entry's icon file when
        // the user confirms it with OK, never by opening the picker.
        view.fileText = SystemIconLibrary(platform.system);
        view.selectedIcon = 0;
        LoadIconStrip(view, view.fileText, icons);
    }
    return view;
}

void IconChangeCellClicked(IconChangeView& view, int cell) {
    if (cell >= 0 && cell < view.cellCount) view.selectedIcon = cell;
}

void IconChangeScroll(IconChangeView& view, int value) {
    view.scrollValue = view.scrollEnabled ? std::clamp(value, 0, view.scrollMax) : 0;
}

void IconChangeBrowse(IconChangeView& view, Platform& platform, IconFiles& icons, FileChooser& chooser,
                      NativeWindow owner) {
    FileChoice choice;
    choice.owner = owner;
    choice.title = std::string(text::kIconChangeBrowseTitle);
    choice.filter = std::string(text::kProgramFileFilter);
    choice.initialName = GetFileName(view.fileText);
    choice.filterIndex = 1;
    choice.initialFolder = GetFolderName(view.fileText, platform.files.CurrentDirectory());
    const std::string chosen = chooser.ChooseFile(choice);
    if (!chosen.empty()) view.fileText = chosen;
    LoadIconStrip(view, view.fileText, icons);
    // A number from the previous file may not exist in this one.
    view.selectedIcon = std::clamp(view.selectedIcon, 0, std::max(0, view.iconCount - 1));
}

IconChoice IconChangeOk(const IconChangeView& view) { return {view.fileText, std::to_string(view.selectedIcon)}; }

}  // namespace tavi
