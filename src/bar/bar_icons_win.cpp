#include "bar/bar_icons_win.h"

#include <algorithm>

#include "bar/button_strip_win.h"
#include "bar/stock_icons_win.h"
#include "platform/text.h"

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
    coming_.clear();
    associationsComing_.clear();
    ++resets_;
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

Shell::Association BarIcons::AssociationOf(const std::string& path) {
    if (const auto known = associations_.find(path); known != associations_.end()) return known->second;
    PictureRequest request;
    request.source = PictureRequest::Source::Association;
    request.path = path;
    const std::string fetch = "a" + std::to_string(resets_) + ":" + path;
    if (pictures_.Ask(*this, fetch, request, PictureFetches::Clock::now()) != PictureFetches::Asked::NoAnswer)
        associationsComing_.insert(fetch);
    return {};
}

int BarIcons::ImageFor(const LaunchEntry& entry, int entryIndex, bool useCache, Shell& shell) {
    // The planner asks the shell through the answers kept since the last reset.
    class RememberingShell final : public Shell {
    public:
        RememberingShell(BarIcons& icons, Shell& shell) : icons_(icons), shell_(shell) {}
        int Open(const ShellOpenRequest& request) override { return shell_.Open(request); }
        Association AssociatedProgram(const std::string& document) override {
            return icons_.AssociationOf(document);
        }

    private:
        BarIcons& icons_;
        Shell& shell_;
    } remembering(*this, shell);
    const IconPlan plan = PlanButtonIcon(entry, entryIndex, useCache,
                                         [&](const std::string& key) { return HasKey(key); }, remembering);
    if (plan.kind == IconPlan::Kind::Stock && plan.stock == StockImage::Nothing)
        if (const std::optional<int> kept = KeptOwnPicture(entry, entryIndex)) return *kept;
    switch (plan.kind) {
        case IconPlan::Kind::Stock: return static_cast<int>(plan.stock) - 1;
        case IconPlan::Kind::Cached: return keys_.at(plan.key);
        case IconPlan::Kind::Extract: return Store(plan.key, plan.iconFile, plan.iconIndex);
    }
    return ButtonStrip::kNoPicture;
}

// A program is drawn from its own file once the shell has found it; while
// that search runs, the picture the last run drew of the file shows (and
// goes if the worker finds the file changed or gone).
std::optional<int> BarIcons::KeptOwnPicture(const LaunchEntry& entry, int entryIndex) {
    const std::string path = TrimSpaces(entry.PathName);
    const std::string extension = GetExtension(path);
    if (!keeping_ || !list_ || cache_.size != list_->Size() || path != TrimSpaces(entry.IconPath) ||
        !HasOwnIcon(extension))
        return std::nullopt;
    if (std::none_of(cache_.pictures.begin(), cache_.pictures.end(),
                     [&](const CachedPicture& kept) { return kept.iconIndex == 0 && kept.iconFile == path; }))
        return std::nullopt;
    return Store(EntryKey(extension, entryIndex), path, 0);
}

// A key already stored keeps its picture; the new drawing is not made at all.
int BarIcons::Store(const std::string& key, const std::string& iconFile, int iconIndex) {
    if (const auto found = keys_.find(key); found != keys_.end()) return found->second;
    if (const auto same = drawn_.find({iconFile, iconIndex}); same != drawn_.end()) {
        keys_[key] = same->second;
        return same->second;
    }
    if (!list_) return ButtonStrip::kNoPicture;
    PictureRequest request;
    request.path = iconFile;
    request.index = iconIndex;
    request.size = list_->Size();
    request.small = iconSizeIndex_ == 1;
    request.stamp = keeping_;
    // A picture kept from the last run is used while its file's stamp is
    // the one it was drawn at: the worker then reads the stamp only.
    const CachedPicture* kept = nullptr;
    if (keeping_ && cache_.size == request.size)
        for (const CachedPicture& cached : cache_.pictures)
            if (cached.iconIndex == iconIndex && cached.iconFile == iconFile) kept = &cached;
    int shown = -1;
    if (kept) {
        request.sameStamp = kept->stamp;
        shown = list_->Add(kept->pixels.data());
        if (shown >= 0) {
            keys_[key] = shown;
            drawn_[{iconFile, iconIndex}] = shown;
            drawnInOrder_.push_back({iconFile, iconIndex, kept->stamp, shown});
        }
    }
    const std::string fetch = std::to_string(resets_) + ":" + std::to_string(iconIndex) + ":" + iconFile;
    if (pictures_.Ask(*this, fetch, request, PictureFetches::Clock::now()) != PictureFetches::Asked::NoAnswer &&
        !coming_.contains(fetch))
        coming_[fetch] = {iconFile, iconIndex, shown};
    return shown >= 0 ? shown : static_cast<int>(StockImage::Nothing) - 1;
}

void BarIcons::PictureArrived(const std::string& fetch, const PictureAnswer& answer) {
    if (associationsComing_.erase(fetch)) {
        associations_[fetch.substr(fetch.find(':') + 1)] = {answer.shellResult, answer.program};
        if (arrived_) arrived_(false);
        return;
    }
    const auto coming = coming_.find(fetch);
    if (coming == coming_.end() || !list_) return;  // asked for a list since reset
    const ComingPicture came = std::move(coming->second);
    coming_.erase(coming);
    const std::string& iconFile = came.iconFile;
    const int iconIndex = came.iconIndex;
    const size_t count = static_cast<size_t>(list_->Size()) * static_cast<size_t>(list_->Size());
    // A file without the icon stores an empty picture, so it is not asked again.
    const std::vector<uint32_t> empty(answer.pixels.size() == count ? 0 : count, 0u);
    const uint32_t* pixels = answer.pixels.size() == count ? answer.pixels.data() : empty.data();
    if (came.shown >= 0) {
        // The last run's picture is up already: only a changed file draws it anew.
        if (answer.outcome == PictureAnswer::Outcome::Unchanged) return;
        extractedSinceReset_ = true;
        (void)list_->Replace(came.shown, pixels);
        for (Drawn& drawn : drawnInOrder_)
            if (drawn.picture == came.shown) drawn.stamp = answer.stamp;
        if (arrived_) arrived_(true);
        return;
    }
    if (drawn_.contains({iconFile, iconIndex})) return;
    extractedSinceReset_ = true;
    const int index = list_->Add(pixels);
    if (index < 0) return;
    drawn_[{iconFile, iconIndex}] = index;
    drawnInOrder_.push_back({iconFile, iconIndex, answer.stamp, index});
    if (arrived_) arrived_(false);
}

}  // namespace tavi
