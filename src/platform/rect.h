#pragma once
#include <cstdint>

namespace tavi {

// A rectangle as left, top, right, bottom (right and bottom exclusive).
struct Rect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;

    int32_t Width() const { return right - left; }
    int32_t Height() const { return bottom - top; }
    bool operator==(const Rect&) const = default;
};

constexpr Rect MakeRect(int32_t left, int32_t top, int32_t width, int32_t height) {
    return Rect{left, top, left + width, top + height};
}

}  // namespace tavi
