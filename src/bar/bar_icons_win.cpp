#include "bar/bar_icons_win.h"

#include <shellapi.h>

#include <vector>

#include "bar/bar_geometry.h"
#include "bar/stock_icons_win.h"
#include "platform/wide_win.h"

namespace tavi {
namespace {

HIMAGELIST MakeList(HIMAGELIST existing, int size) {
    if (existing) ImageList_Destroy(existing);
    return ImageList_Create(size, size, ILC_COLOR32 | ILC_MASK, 8, 32);
}

void AddStock(HIMAGELIST list, int size) {
    for (StockIcon stock : {StockIcon::Dos, StockIcon::Nothing, StockIcon::Folder}) {
        HICON icon = CreateStockIcon(stock, size);
        ImageList_AddIcon(list, icon);
        if (icon) DestroyIcon(icon);
    }
}

}  // namespace

BarIcons::~BarIcons() {
    if (small_) ImageList_Destroy(small_);
    if (large_) ImageList_Destroy(large_);
}

HIMAGELIST BarIcons::Reset(int iconSizeIndex) {
    iconSizeIndex_ = iconSizeIndex;
    small_ = MakeList(small_, 16);
    large_ = MakeList(large_, MetricsFor(iconSizeIndex).iconPixels);
    AddStock(small_, 16);
    AddStock(large_, MetricsFor(iconSizeIndex).iconPixels);
    smallKeys_.clear();
    largeKeys_.clear();
    drawn_.clear();
    return Active();
}

bool BarIcons::HasKey(const std::string& key) const { return keys().count(key) > 0; }

int BarIcons::ImageFor(const LaunchEntry& entry, int entryIndex, bool useCache, Shell& shell) {
    const IconPlan plan =
        PlanButtonIcon(entry, entryIndex, useCache, [&](const std::string& key) { return HasKey(key); }, shell);
    switch (plan.kind) {
        case IconPlan::Kind::Stock: return static_cast<int>(plan.stock) - 1;
        case IconPlan::Kind::Cached: return keys().at(plan.key);
        case IconPlan::Kind::Extract: return Store(plan.key, plan.iconFile, plan.iconIndex);
    }
    return I_IMAGENONE;
}

// A key already stored keeps its picture; the new drawing is not made at all.
int BarIcons::Store(const std::string& key, const std::string& iconFile, int iconIndex) {
    if (const auto found = keys().find(key); found != keys().end()) return found->second;
    if (const auto same = drawn_.find({iconFile, iconIndex}); same != drawn_.end()) {
        keys()[key] = same->second;
        return same->second;
    }
    HICON large = nullptr, small = nullptr;
    // Wine hands back a stray handle for a file with no icons; only the count is reliable.
    if (ExtractIconExW(Widen(iconFile).c_str(), iconIndex, &large, &small, 1) == 0) large = small = nullptr;
    HIMAGELIST list = Active();
    int width = 0, height = 0;
    ImageList_GetIconSize(list, &width, &height);
    HICON source = iconSizeIndex_ == 1 ? (small ? small : large) : (large ? large : small);

    // Drawn onto a cleared surface at the list's size, so a missing icon
    // stores an empty picture and a 32-pixel icon scales down to 24.
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP colour = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    int index = -1;
    if (dc && colour) {
        HGDIOBJ previous = SelectObject(dc, colour);
        if (source) DrawIconEx(dc, 0, 0, source, width, height, 0, nullptr, DI_NORMAL);
        GdiFlush();
        SelectObject(dc, previous);
        // Icons without alpha (old 16-colour ones) leave it at zero: make the
        // drawn pixels opaque so the list does not treat them as transparent.
        auto* pixels = static_cast<uint32_t*>(bits);
        bool anyAlpha = false;
        for (int i = 0; i < width * height; ++i) anyAlpha = anyAlpha || (pixels[i] >> 24) != 0;
        if (!anyAlpha)
            for (int i = 0; i < width * height; ++i)
                if (pixels[i] != 0) pixels[i] |= 0xFF000000;
        // An explicit mask: with no alpha anywhere, version 6 lists would
        // otherwise show an empty picture as a black square.
        const int stride = ((width + 15) / 16) * 2;
        std::vector<BYTE> maskBits(static_cast<size_t>(stride * height), 0);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                if ((pixels[y * width + x] >> 24) == 0)
                    maskBits[static_cast<size_t>(y * stride + x / 8)] |= static_cast<BYTE>(0x80 >> (x % 8));
        HBITMAP mask = CreateBitmap(width, height, 1, 1, maskBits.data());
        index = ImageList_Add(list, colour, mask);
        if (mask) DeleteObject(mask);
    }
    if (colour) DeleteObject(colour);
    if (dc) DeleteDC(dc);
    if (large) DestroyIcon(large);
    if (small) DestroyIcon(small);
    if (index < 0) return I_IMAGENONE;
    keys()[key] = index;
    drawn_[{iconFile, iconIndex}] = index;
    return index;
}

}  // namespace tavi
