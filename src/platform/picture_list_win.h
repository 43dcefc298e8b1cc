#pragma once
#include <windows.h>

#include <cstdint>

#include "platform/handles_win.h"

namespace tavi {

// Square pictures of one size, kept in one 32-bit bitmap and drawn with their
// alpha. It does for the bar what an image list of the common controls
// would, without loading that library at start.
class PictureList {
public:
    PictureList() = default;
    explicit PictureList(int size) : size_(size > 0 ? size : 0) {}
    ~PictureList();
    PictureList(const PictureList&) = delete;
    PictureList& operator=(const PictureList&) = delete;

    int Size() const { return size_; }
    int Count() const { return count_; }
    // Copies Size()×Size() pixels, top-down, 0xAARRGGBB with the colour
    // already multiplied by the alpha (what drawing onto a cleared canvas
    // gives). The new picture's index, or -1 when no memory was left.
    int Add(const uint32_t* pixels);
    // Puts other pixels in the place of picture `index`; false when out of range.
    bool Replace(int index, const uint32_t* pixels);
    // The stored pixels of one picture, or null for an index out of range.
    const uint32_t* Pixels(int index) const;
    // Blends picture `index` onto `dc` with its top left at (x, y); an index
    // out of range draws nothing.
    void Draw(HDC dc, int index, int x, int y) const;

private:
    bool Grow();

    int size_ = 0;
    int count_ = 0;
    int capacity_ = 0;
    OwnedMemoryDc dc_;
    OwnedBitmap bitmap_;  // after the DC: it leaves the DC before it goes
    HGDIOBJ previous_ = nullptr;
    uint32_t* pixels_ = nullptr;
};

}  // namespace tavi
