#include "menus/wallpapers.h"

#include <algorithm>

#include "platform/messages.h"
#include "platform/text.h"

namespace tavi {
namespace {

bool IsNoWallpaper(const std::string& path) { return path.empty() || path == text::kListNone; }

// The name before ".BMP" of its upper-cased form; the whole name without one.
std::string BitmapCaption(const std::string& name) {
    const size_t at = ToUpperAscii(name).find(".BMP");
    return at == std::string::npos ? name : name.substr(0, at);
}

}  // namespace

std::string CurrentWallpaper(const WallpaperPorts& ports) {
    if (const std::optional<std::string> current = ports.desktop.Wallpaper()) return TrimSpaces(*current);
    const std::string windows = ports.system.WindowsDirectory();
    if (windows.empty()) return {};
    return TrimSpaces(ports.profile.GetString(AddBackslash(windows) + "win.ini", "Desktop", "Wallpaper"));
}

void BuildWallpaperMenu(MenuMain& state, RunTimeList& list, const WallpaperPorts& ports) {
    const std::string none(text::kListNone);
    list.items.assign(1, ListItem{none, none, true, false});
    std::vector<std::string> paths{none};

    const std::string current = CurrentWallpaper(ports);
    const bool noWallpaper = IsNoWallpaper(current);
    list.items[0].checked = noWallpaper;
    if (noWallpaper) state.wallpaper.ShowsItem(0);

    const std::string windows = TrimSpaces(ports.system.WindowsDirectory());
    if (windows.empty()) {
        state.wallpaper.SetList(std::move(paths));
        return;
    }
    const std::string currentUpper = ToUpperAscii(current);
    for (const std::string& name : ports.folders.FindFiles(windows, "*.bmp")) {
        if (name == "." || name == "..") continue;
        std::string path = ports.folders.ShortPathName(AddBackslash(windows) + name);
        const bool checked = !noWallpaper && ToUpperAscii(path) == currentUpper;
        if (checked) state.wallpaper.ShowsItem(static_cast<int>(list.items.size()));
        paths.push_back(path);
        list.items.push_back({BitmapCaption(name), std::move(path), true, checked});
    }
    state.wallpaper.SetList(std::move(paths));
}

bool SetWallpaper(DesktopParameters& desktop, const std::string& path) {
    return desktop.SetWallpaper(IsNoWallpaper(path) ? std::string() : path);
}

void SelectWallPaper(MenuMain& state, RunTimeList& list, int index, DesktopParameters& desktop) {
    if (index < 0 || static_cast<size_t>(index) >= list.items.size()) return;
    if (!SetWallpaper(desktop, list.items[static_cast<size_t>(index)].path)) return;
    for (ListItem& item : list.items) item.checked = false;
    list.items[static_cast<size_t>(index)].checked = true;
    state.wallpaper.ShowsItem(index + 1);
}

int WallpaperPeriodMinutes(const Settings& settings) {
    return std::clamp(LeadingInt(settings.WallPaperChengeTimer), 1, 24 * 60 * 24);
}

void TimWallPaperTick(MenuMain& state, DesktopParameters& desktop, int elapsedMinutes) {
    const std::optional<std::string> next =
        state.wallpaper.Tick(elapsedMinutes, LeadingInt(state.settings.Values().WallPaperChengeTimer));
    if (next) (void)SetWallpaper(desktop, *next);
}

}  // namespace tavi
