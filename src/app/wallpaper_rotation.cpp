#include "app/wallpaper_rotation.h"

namespace tavi {

std::optional<std::string> WallpaperRotation::Tick(int elapsed, int due) {
    minutes_ += elapsed;
    if (minutes_ < due) return std::nullopt;
    minutes_ = 0;
    const int highest = static_cast<int>(paths_.size()) - 1;
    ++position_;
    if (position_ > highest) position_ = 1;
    // With only "(なし)" in the list there is nothing to rotate to.
    if (position_ > highest) return std::nullopt;
    return paths_[static_cast<size_t>(position_)];
}

}  // namespace tavi
