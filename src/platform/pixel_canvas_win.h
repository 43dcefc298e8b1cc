#pragma once
#include <windows.h>

#include <cstdint>

#include "platform/handles_win.h"

namespace tavi {

// A 32-bit top-down bitmap in a memory DC, drawn with GDI and then read or
// changed pixel by pixel (0xAARRGGBB). Owns its bitmap and DC.
class PixelCanvas {
public:
    PixelCanvas(int width, int height);
    ~PixelCanvas();
    PixelCanvas(const PixelCanvas&) = delete;
    PixelCanvas& operator=(const PixelCanvas&) = delete;

    bool Valid() const { return pixels_ != nullptr; }
    HDC Dc() const { return dc_.Get(); }
    uint32_t* Pixels() const { return pixels_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    void Fill(uint32_t argb);

    // Ends GDI drawing: the bitmap leaves the DC so it can be handed to an
    // image list or an icon (which copy it).
    HBITMAP Finish();
    // Finish, and the bitmap handed over: the canvas keeps nothing.
    OwnedBitmap TakeBitmap();
    // A monochrome mask, set where the pixels are fully transparent. The
    // caller deletes it.
    HBITMAP MaskFromAlpha() const;

private:
    int width_;
    int height_;
    OwnedMemoryDc dc_;
    OwnedBitmap bitmap_;  // after the DC: it leaves the DC before it goes
    HGDIOBJ previous_ = nullptr;
    uint32_t* pixels_ = nullptr;
};

}  // namespace tavi
