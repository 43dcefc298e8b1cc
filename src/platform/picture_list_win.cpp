#include "platform/picture_list_win.h"

#include <algorithm>

namespace tavi {

PictureList::~PictureList() {
    if (previous_) SelectObject(dc_.Get(), previous_);
}

// The pictures stand one under another in a bitmap twice as tall each time
// it fills: a page of new icons costs a few copies, not one per picture.
bool PictureList::Grow() {
    const int capacity = std::max(8, capacity_ * 2);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = size_;
    info.bmiHeader.biHeight = -size_ * capacity;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    if (!dc_) dc_.Reset(CreateCompatibleDC(nullptr));
    if (!dc_) return false;
    void* bits = nullptr;
    OwnedBitmap bitmap(CreateDIBSection(dc_.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap) return false;
    auto* pixels = static_cast<uint32_t*>(bits);
    if (pixels_) {
        GdiFlush();
        std::copy(pixels_, pixels_ + size_ * size_ * count_, pixels);
    }
    const HGDIOBJ old = SelectObject(dc_.Get(), bitmap.Get());
    if (!previous_) previous_ = old;
    bitmap_ = std::move(bitmap);
    pixels_ = pixels;
    capacity_ = capacity;
    return true;
}

int PictureList::Add(const uint32_t* pixels) {
    if (size_ <= 0 || !pixels) return -1;
    if (count_ == capacity_ && !Grow()) return -1;
    GdiFlush();
    std::copy(pixels, pixels + size_ * size_, pixels_ + size_ * size_ * count_);
    return count_++;
}

bool PictureList::Replace(int index, const uint32_t* pixels) {
    if (index < 0 || index >= count_ || !pixels) return false;
    GdiFlush();
    std::copy(pixels, pixels + size_ * size_, pixels_ + size_ * size_ * index);
    return true;
}

const uint32_t* PictureList::Pixels(int index) const {
    if (index < 0 || index >= count_) return nullptr;
    GdiFlush();
    return pixels_ + size_ * size_ * index;
}

void PictureList::Draw(HDC dc, int index, int x, int y) const {
    if (index < 0 || index >= count_) return;
    const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    GdiAlphaBlend(dc, x, y, size_, size_, dc_.Get(), 0, size_ * index, size_, size_, blend);
}

}  // namespace tavi
