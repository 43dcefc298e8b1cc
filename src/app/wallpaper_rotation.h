#pragma once
#include <optional>
#include <string>
#include <vector>

namespace tavi {

// Where the timed rotation of wallpapers stands: the tray menu's list of
// wallpapers (item 0 is "(なし)"), the item shown now and the minutes since
// the last change. Only the wallpaper list, its timer and the options change it.
class WallpaperRotation {
public:
    const std::vector<std::string>& Paths() const { return paths_; }
    int Position() const { return position_; }
    int Minutes() const { return minutes_; }

    // The list as built now; the item shown stays until ShowsItem says otherwise.
    void SetList(std::vector<std::string> paths) { paths_ = std::move(paths); }
    void ShowsItem(int item) { position_ = item; }
    // The minutes count again from now (a start, the options' OK).
    void RestartClock() { minutes_ = 0; }
    // A start: no list yet, nothing shown, no minutes counted.
    void Reset() {
        paths_.assign(1, std::string());
        position_ = minutes_ = 0;
    }
    // `elapsed` minutes more: once `due` minutes have passed, the next
    // wallpaper after the one shown (after the last, the first; "(なし)"
    // never), or nothing when the list has none.
    std::optional<std::string> Tick(int elapsed, int due);

private:
    std::vector<std::string> paths_{""};
    int position_ = 0;
    int minutes_ = 0;
};

}  // namespace tavi
