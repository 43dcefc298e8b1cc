#include "bar/bar_icons_win.h"

#include <shellapi.h>

#include <algorithm>

#include "bar/button_strip_win.h"
#include "bar/stock_icons_win.h"
#include "platform/folder_listing_win.h"
#include "platform/handles_win.h"
#include "platform/pixel_canvas_win.h"
#include "platform/wide_win.h"

namespace tavi {
namespace {

void AddStock(PictureList& list) {
    for (StockIcon stock : {StockIcon::Dos, StockIcon::Nothing, StockIcon::Folder}) AddStockPicture(list, stock);
}

}  // namespace

PictureList& BarIcons::Reset(int iconSizeIndex, int iconPixels, int smallPixels) {
    iconSizeIndex_ = iconSizeIndex;
    list_ = std::make_unique<PictureList>(iconSizeIndex == 1 ? smallPixels : iconPixels);
    AddStock(*list_);
    keys_.clear();
    drawn_.clear();
    associations_.clear();
    drawnInOrder_.clear();
    extractedSinceReset_ = false;
    return *list_;
}

void BarIcons::UseCache(IconCache cache) { cache_ = std::move(cache); }

void BarIcons::ForgetCache() {
    cache_ = IconCache{};
    keeping_ = false;
}

std::optional<std::string> BarIcons::CacheToKeep() const {
    if (!extractedSinceReset_ || !list_) return std::nullopt;
    IconCache keep;
    keep.size = list_->Size();
    for (const Drawn& drawn : drawnInOrder_) {
        const uint32_t* pixels = list_->Pixels(drawn.picture);
        if (!drawn.stamp || !pixels) continue;
        keep.pictures.push_back({drawn.iconFile, drawn.iconIndex, drawn.stamp,
                                 std::vector<uint32_t>(pixels, pixels + keep.size * keep.size)});
    }
    return WriteIconCache(keep);
}

bool BarIcons::HasKey(const std::string& key) const { return keys_.count(key) > 0; }

Shell::Association BarIcons::AssociationOf(const std::string& path, Shell& shell) {
    if (const auto known = associations_.find(path); known != associations_.end()) return known->second;
    return associations_[path] = shell.AssociatedProgram(path);
}

int BarIcons::ImageFor(const LaunchEntry& entry, int entryIndex, bool useCache, Shell& shell) {
    // The planner asks the shell through the answers kept since the last reset.
    class RememberingShell final : public Shell {
    public:
        RememberingShell(BarIcons& icons, Shell& shell) : icons_(icons), shell_(shell) {}
        int Open(const ShellOpenRequest& request) override { return shell_.Open(request); }
        Association AssociatedProgram(const std::string& document) override {
            return icons_.AssociationOf(document, shell_);
        }

    private:
        BarIcons& icons_;
        Shell& shell_;
    } remembering(*this, shell);
    const IconPlan plan = PlanButtonIcon(entry, entryIndex, useCache,
                                         [&](const std::string& key) { return HasKey(key); }, remembering);
    switch (plan.kind) {
        case IconPlan::Kind::Stock: return static_cast<int>(plan.stock) - 1;
        case IconPlan::Kind::Cached: return keys_.at(plan.key);
        case IconPlan::Kind::Extract: return Store(plan.key, plan.iconFile, plan.iconIndex);
    }
    return ButtonStrip::kNoPicture;
}

// A key already stored keeps its picture; the new drawing is not made at all.
int BarIcons::Store(const std::string& key, const std::string& iconFile, int iconIndex) {
    if (const auto found = keys_.find(key); found != keys_.end()) return found->second;
    if (const auto same = drawn_.find({iconFile, iconIndex}); same != drawn_.end()) {
        keys_[key] = same->second;
        return same->second;
    }
    const int width = list_ ? list_->Size() : 0, height = width;
    const uint64_t stamp = keeping_ ? TrustedLastWrite(iconFile).value_or(0) : 0;
    if (stamp && cache_.size == width) {
        for (const CachedPicture& cached : cache_.pictures) {
            if (cached.stamp != stamp || cached.iconIndex != iconIndex || cached.iconFile != iconFile) continue;
            const int index = list_->Add(cached.pixels.data());
            if (index < 0) break;
            return Remember(key, {iconFile, iconIndex, stamp, index});
        }
    }
    extractedSinceReset_ = true;

    // Only the size the list shows: each size is a pass of its own over the
    // file. An icon group gives both sizes or neither, so there is nothing
    // to fall back on. Wine hands back a stray handle for a file with no
    // icons; only the count is reliable.
    HICON extracted = nullptr;
    const bool small = iconSizeIndex_ == 1;
    if (ExtractIconExW(Widen(iconFile).c_str(), iconIndex, small ? nullptr : &extracted, small ? &extracted : nullptr,
                       1) == 0)
        extracted = nullptr;
    const OwnedIcon source(extracted);

    // Drawn onto a cleared surface at the list's size, so a missing icon
    // stores an empty picture and a 32-pixel icon scales down to 24.
    PixelCanvas canvas(width, height);
    int index = -1;
    if (canvas.Valid()) {
        canvas.Fill(0);
        if (source) DrawIconEx(canvas.Dc(), 0, 0, source.Get(), width, height, 0, nullptr, DI_NORMAL);
        canvas.Finish();
        // Icons without alpha (old 16-colour ones) leave it at zero: make the
        // drawn pixels opaque so the list does not treat them as transparent.
        uint32_t* pixels = canvas.Pixels();
        const bool anyAlpha = std::any_of(pixels, pixels + width * height, [](uint32_t p) { return p >> 24; });
        if (!anyAlpha)
            for (uint32_t* p = pixels; p != pixels + width * height; ++p)
                if (*p != 0) *p |= 0xFF000000;
        index = list_->Add(pixels);
    }
    if (index < 0) return ButtonStrip::kNoPicture;
    return Remember(key, {iconFile, iconIndex, stamp, index});
}

int BarIcons::Remember(const std::string& key, const Drawn& drawn) {
    keys_[key] = drawn.picture;
    drawn_[{drawn.iconFile, drawn.iconIndex}] = drawn.picture;
    drawnInOrder_.push_back(drawn);
    return drawn.picture;
}

}  // namespace tavi
