#pragma once
#include <array>
#include <optional>
#include <string>

#include "menus/run_time_lists.h"
#include "platform/folder_listing.h"
#include "platform/system_info.h"

namespace tavi {

// What each run-time list was last read from, so that a press keeps a list
// whose sources are as they were instead of reading folders and drives again
// while the user waits for the menu. A source is text naming what was read
// and how it stood (a folder with its stamp, the drive roots); an unknown
// source (empty) means the list is read every time.
class ListFreshness {
public:
    // Reads `list` again with `make` unless it was read from exactly `source`;
    // true when it was read.
    template <typename Make>
    bool Refresh(ListKind kind, std::optional<std::string> source, RunTimeList& list, Make make) {
        std::optional<std::string>& last = sources_[static_cast<size_t>(kind)];
        if (source && last == source) return false;
        list = make();
        last = std::move(source);
        return true;
    }
    // The next refresh reads this list (all lists) whatever its source says.
    void Forget(ListKind kind) { sources_[static_cast<size_t>(kind)].reset(); }
    void ForgetAll() { sources_.fill(std::nullopt); }

private:
    std::array<std::optional<std::string>, kListKinds> sources_;
};

// The desktop folder and the stamp of its names.
std::optional<std::string> DeskTopSource(FolderListing& folders);
// The folders screen savers are found in, with their stamps.
std::optional<std::string> ScreenSaverSource(SystemInfo& system, FolderListing& folders);
// The drive roots there are. A drive's name (its volume label, the medium in
// it) changes without them: the bar forgets the drive list on device notices
// and when the pointer comes to it.
std::string DriveSource(SystemInfo& system);

}  // namespace tavi
