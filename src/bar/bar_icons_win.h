#pragma once
#include <windows.h>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

#include "bar/button_icons.h"
#include "bar/icon_cache.h"
#include "platform/picture_fetches.h"
#include "platform/picture_list_win.h"
#include "platform/shell.h"

namespace tavi {

// The buttons' pictures (`imgIcon`, or `imgSmallIcon` for small icons) and
// the keys they are stored under. Each icon is extracted once and reused by
// key. Icons are extracted by workers: a button whose picture has not come
// shows the generic one ("Nothing") and is drawn again when it comes. A
// picture kept from the last run shows at once, and is drawn anew if the
// worker finds its file changed.
class BarIcons final : public PictureListener {
public:
    explicit BarIcons(PictureFetches& pictures) : pictures_(pictures) {}
    ~BarIcons() override { pictures_.Forget(*this); }
    BarIcons(const BarIcons&) = delete;
    BarIcons& operator=(const BarIcons&) = delete;

    // Makes the list anew at the size the buttons show (`smallPixels` for
    // small icons, `iconPixels` otherwise, both for the bar's dpi) and puts
    // the stock pictures first ("Dos", "Nothing", "Folder"). Returns it.
    // Only the shown size is kept: a change of size resets the list anyway.
    PictureList& Reset(int iconSizeIndex, int iconPixels, int smallPixels);
    const PictureList* Active() const { return list_.get(); }

    // Pictures kept from an earlier run, used while their files stand as
    // they were when drawn. Kept until ForgetCache, which also ends the
    // noting of stamps for the next run's cache (the start is done).
    void UseCache(IconCache cache);
    void ForgetCache();
    // The cache to keep for the next run (the pictures drawn from files
    // since the last reset), or nothing when every one came from the cache
    // already and the file need not be written again.
    std::optional<std::string> CacheToKeep() const;

    // The picture's index (0-based) for one button, or ButtonStrip::kNoPicture.
    // Never waits for a file: one still coming gives the generic picture.
    int ImageFor(const LaunchEntry& entry, int entryIndex, bool useCache, Shell& shell);
    bool HasKey(const std::string& key) const;
    // Pictures and programs of documents asked for and not come yet.
    size_t Coming() const { return coming_.size() + associationsComing_.size(); }
    // Runs when pictures have come, for the buttons to ask for theirs again;
    // `redrawn`: a picture shown already was drawn anew (its file changed).
    void OnArrival(std::function<void(bool redrawn)> arrived) { arrived_ = std::move(arrived); }

    void PictureArrived(const std::string& fetch, const PictureAnswer& answer) override;

private:
    struct Drawn {
        std::string iconFile;
        int iconIndex;
        uint64_t stamp;  // 0: not to be kept
        int picture;
    };
    int Store(const std::string& key, const std::string& iconFile, int iconIndex);
    std::optional<int> KeptOwnPicture(const LaunchEntry& entry, int entryIndex);
    // The program that opens `path`; while it is coming, none (result 0),
    // which plans the generic picture.
    Shell::Association AssociationOf(const std::string& path);

    PictureFetches& pictures_;
    std::function<void(bool)> arrived_;
    // Fetches asked since the last reset and not come, by fetch key (the
    // reset's number, the icon number and the file).
    struct ComingPicture {
        std::string iconFile;
        int iconIndex = 0;
        // The last run's picture, shown at once and kept while its file is
        // unchanged: its index in the list, or -1 when there was none.
        int shown = -1;
    };
    std::map<std::string, ComingPicture> coming_;
    unsigned resets_ = 0;
    std::unique_ptr<PictureList> list_;
    IconCache cache_;  // from the last run; emptied by ForgetCache
    bool keeping_ = true;  // stamps are noted for the next run's cache
    std::vector<Drawn> drawnInOrder_;  // since the last reset, for the next run's cache
    bool extractedSinceReset_ = false;
    int iconSizeIndex_ = 0;
    std::unordered_map<std::string, int> keys_;
    // Pictures already drawn in the active list by file and icon number:
    // several keys may share one picture, which is then extracted once.
    std::map<std::pair<std::string, int>, int> drawn_;
    // The shell's answer for each path asked since the last reset: a page
    // turn meets the same programs again, and each answer costs a search of
    // the disk and the registry. The redraw command resets, and asks afresh.
    // Asked of a worker, as the search may hang on a drive that does not answer.
    std::unordered_map<std::string, Shell::Association> associations_;
    std::set<std::string> associationsComing_;  // by fetch key
};

}  // namespace tavi
