#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/platform.h"

namespace tavi {

// One slot of the bar, stored as six lines of "Launch.ini".
struct LaunchEntry {
    std::string Title;      // an empty title marks an empty slot
    std::string PathName;   // program, document, folder, or "[" name "]" for a group
    std::string Command;    // parameters
    std::string RunType;    // "0" normal, "1" minimised, "2" maximised
    std::string IconPath;
    std::string IconIndex;
    bool operator==(const LaunchEntry&) const = default;
};

// The bar holds entries 0..999 at most: paging stops there, and nothing
// grows the list past it.
inline constexpr int kEntryLimit = 1000;

// A path of the form "[" name "]" names a group of entries.
bool IsGroupPath(std::string_view pathName);

// The entries of the bar, index = slot number.
struct EntryStore {
    std::vector<LaunchEntry> slots;
    // The number of entries read by the last load, or n after ResizeEntryArrays(n).
    int LastEntryIndex = 0;
    // The list's bytes past entry kEntryLimit, unread and written back as they were.
    std::string pastLimit;

    // The highest slot index (-1 when there are none).
    int UpperBound() const { return static_cast<int>(slots.size()) - 1; }
    bool Has(int index) const { return index >= 0 && index <= UpperBound(); }
    // Makes indices 0..n exist, contents kept (never shrinks); LastEntryIndex = n.
    void ResizeEntryArrays(int n);
    // Carries all six fields to `to` (growing the slots) and empties `from`.
    void MoveEntry(int from, int to);
    // Empties the six fields; the slot stays.
    void ClearEntry(int index);
};

std::string EntryFilePath(const std::string& applicationPath);
// Beside the list, only while it holds text the code page cannot: the same
// lines in UTF-8. Programs that know only the list read it as before.
std::string EntryUnicodeFilePath(const std::string& applicationPath);

// Text of the six-line records, CR LF ended. A line break inside a field
// would shift every record after it, so each becomes a space.
std::string FormatEntries(const EntryStore& store);
// Records from text; a last record with fewer than six lines gets empty fields.
EntryStore ParseEntries(std::string_view text);

// The entries of a list from its bytes, each line taken from the UTF-8
// companion where that still says the same as the list.
EntryStore DecodeEntries(std::string_view list, std::optional<std::string_view> unicode, CodePage& codePage);

// Whether a UTF-8 companion belongs to the list beside it: it carries the
// mark of exactly these list bytes, or (unmarked, from an older version)
// every line of it still says what the list says.
bool CompanionBelongs(std::string_view list, std::string_view unicode, CodePage& codePage);
// The entries of a list and its companion; a companion that does not belong
// is never mixed in (`strayCompanion` then says so).
EntryStore EntriesFromFiles(std::string_view list, std::optional<std::string_view> unicode, CodePage& codePage,
                            bool* strayCompanion = nullptr);
// Where a companion that belongs to no list is kept, rather than lost.
std::string StrayCompanionPath(const std::string& applicationPath);

// "Launch.ini" as read, with its companion. Unreadable when either exists and
// could not be read whole (without the companion, text the code page lacks
// would be saved as "?"); `unreadPath` then names that file.
struct LoadedEntries {
    ReadOutcome outcome = ReadOutcome::Absent;
    EntryStore store;
    std::string unreadPath;
    bool strayCompanion = false;  // the companion beside it belongs to another list
};
LoadedEntries LoadEntries(FileSystem& files, CodePage& codePage, const std::string& applicationPath);
// What a first run starts with: the system drive's root and the explorer;
// nothing when there is no explorer.
EntryStore FirstRunEntries(SystemInfo& system, FileSystem& files);
// Replaces "Launch.ini" whole. Empty slots after the last used one are not written.
bool SaveEntries(const EntryStore& store, Platform& platform, const std::string& applicationPath);

}  // namespace tavi
