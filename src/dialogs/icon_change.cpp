#include "dialogs/icon_change.h"

#include <algorithm>

#include "platform/messages.h"
#include "platform/text.h"

namespace tavi {
namespace {

// Rebuilds the strip from `path`. A name without a folder is not looked up
// at all, as a bare name would be searched for along the system's path.
void LoadIconStrip(IconChangeView& view, const std::string& path, const IconCounts& counts) {
    view.stripFile = path;
    view.iconCount = 0;
    view.countComing = false;
    if (!path.empty() && Contains(path, "\\")) {
        const std::optional<int> count = counts(path);
        view.countComing = !count;
        view.iconCount = std::max(0, count.value_or(0));
    }
    view.cellCount = std::min(view.iconCount, kMaxIconCells);
    view.scrollValue = 0;
    view.scrollMax = std::max(0, view.cellCount - kVisibleIconCells);
    view.scrollEnabled = view.cellCount > kVisibleIconCells;
}

// Only shown here: the library becomes the entry's icon file when the user
// confirms it with OK, never by opening the picker.
void ShowLibraryIfNone(IconChangeView& view, Platform& platform, const IconCounts& counts) {
    if (view.countComing) {
        view.libraryIfNone = true;
        return;
    }
    view.libraryIfNone = false;
    if (view.cellCount > 0) return;
    view.fileText = SystemIconLibrary(platform.system);
    view.selectedIcon = 0;
    LoadIconStrip(view, view.fileText, counts);
}

void ClampWhenCounted(IconChangeView& view) {
    view.clampWhenCounted = view.countComing;
    // A number from the previous file may not exist in this one.
    if (!view.countComing) view.selectedIcon = std::clamp(view.selectedIcon, 0, std::max(0, view.iconCount - 1));
}

}  // namespace

int IconChangeView::MarkedCell() const { return selectedIcon >= 0 && selectedIcon < cellCount ? selectedIcon : -1; }

int IconNumberOf(const std::string& iconIndex) {
    // Icon numbers were 16-bit; a negative one would name a resource id instead.
    const int32_t number = LeadingInt(iconIndex);
    return number >= 0 && number <= 32767 ? number : 0;
}

std::string SystemIconLibrary(SystemInfo& system) { return AddBackslash(system.SystemDirectory()) + "SHELL32.DLL"; }

IconCounts CountNow(IconFiles& icons) {
    return [&icons](const std::string& path) { return std::optional<int>(icons.IconCount(path)); };
}

IconCounts CountThrough(PictureFetches& workers, PictureListener& listener, const std::map<std::string, int>& counted) {
    return [&workers, &listener, &counted](const std::string& path) -> std::optional<int> {
        if (const auto known = counted.find(path); known != counted.end()) return known->second;
        PictureRequest request;
        request.source = PictureRequest::Source::IconCount;
        request.path = path;
        // A drive found stuck is asked again at the next asking.
        (void)workers.Ask(listener, "n|" + path, request, PictureFetches::Clock::now());
        return std::nullopt;
    };
}

IconChangeView IconChangeLoad(const IconChangeInput& input, Platform& platform, const IconCounts& counts) {
    IconChangeView view;
    const std::string stored = TrimSpaces(input.choice.iconPath);
    if (!stored.empty()) {
        view.fileText = stored;
        view.selectedIcon = IconNumberOf(input.choice.iconIndex);
        LoadIconStrip(view, stored, counts);
    } else if (!input.ownerIsGroup) {
        view.fileText = TrimSpaces(input.ownerPath);
        LoadIconStrip(view, view.fileText, counts);
    }
    ShowLibraryIfNone(view, platform, counts);
    return view;
}

IconChangeView IconChangeLoad(const IconChangeInput& input, Platform& platform, IconFiles& icons) {
    return IconChangeLoad(input, platform, CountNow(icons));
}

bool IconChangeCountCame(IconChangeView& view, Platform& platform, const IconCounts& counts) {
    if (!view.countComing) return false;
    LoadIconStrip(view, view.stripFile, counts);
    if (view.countComing) return false;
    if (view.clampWhenCounted) ClampWhenCounted(view);
    if (view.libraryIfNone) ShowLibraryIfNone(view, platform, counts);
    return true;
}

void IconChangeCellClicked(IconChangeView& view, int cell) {
    if (cell >= 0 && cell < view.cellCount) view.selectedIcon = cell;
}

void IconChangeScroll(IconChangeView& view, int value) {
    view.scrollValue = view.scrollEnabled ? std::clamp(value, 0, view.scrollMax) : 0;
}

void IconChangeBrowse(IconChangeView& view, Platform& platform, const IconCounts& counts, FileChooser& chooser,
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
    view.libraryIfNone = false;
    LoadIconStrip(view, view.fileText, counts);
    ClampWhenCounted(view);
}

void IconChangeBrowse(IconChangeView& view, Platform& platform, IconFiles& icons, FileChooser& chooser,
                      NativeWindow owner) {
    IconChangeBrowse(view, platform, CountNow(icons), chooser, owner);
}

IconChoice IconChangeOk(const IconChangeView& view) { return {view.fileText, std::to_string(view.selectedIcon)}; }

}  // namespace tavi
