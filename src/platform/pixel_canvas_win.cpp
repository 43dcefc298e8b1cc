#include "platform/pixel_canvas_win.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace tavi {

PixelCanvas::PixelCanvas(int width, int height) : width_(width), height_(height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    dc_.Reset(CreateCompatibleDC(nullptr));
    void* bits = nullptr;
    if (dc_) bitmap_.Reset(CreateDIBSection(dc_.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap_) return;
    pixels_ = static_cast<uint32_t*>(bits);
    previous_ = SelectObject(dc_.Get(), bitmap_.Get());
}

PixelCanvas::~PixelCanvas() { Finish(); }

void PixelCanvas::Fill(uint32_t argb) {
    if (pixels_) std::fill(pixels_, pixels_ + width_ * height_, argb);
}

HBITMAP PixelCanvas::Finish() {
    GdiFlush();
    if (previous_) {
        SelectObject(dc_.Get(), previous_);
        previous_ = nullptr;
    }
    return bitmap_.Get();
}

OwnedBitmap PixelCanvas::TakeBitmap() {
    Finish();
    pixels_ = nullptr;
    return std::move(bitmap_);
}

HBITMAP PixelCanvas::MaskFromAlpha() const {
    if (!pixels_) return nullptr;
    const int stride = ((width_ + 15) / 16) * 2;  // monochrome rows are word-aligned
    std::vector<BYTE> bits(static_cast<size_t>(stride * height_), 0);
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x)
            if ((pixels_[y * width_ + x] >> 24) == 0)
                bits[static_cast<size_t>(y * stride + x / 8)] |= static_cast<BYTE>(0x80 >> (x % 8));
    return CreateBitmap(width_, height_, 1, 1, bits.data());
}

}  // namespace tavi
