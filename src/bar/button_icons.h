#pragma once
#include <functional>
#include <string>

#include "app/entry_store.h"
#include "platform/shell.h"

namespace tavi {

// Stock pictures at the head of every button image list, in this order.
enum class StockImage { None = 0, Dos = 1, Nothing = 2, Folder = 3 };

// How one button gets its picture.
struct IconPlan {
    enum class Kind { Stock, Cached, Extract };
    Kind kind = Kind::Stock;
    StockImage stock = StockImage::None;
    std::string key;        // image key for Cached and Extract
    std::string iconFile;   // Extract: file holding the icon
    int iconIndex = 0;      // Extract: icon number in that file

    bool operator==(const IconPlan&) const = default;
};

// Cache keys: one image per extension for documents, one per entry (index + 4)
// for entries with icons of their own.
std::string ExtensionKey(const std::string& extension);
std::string EntryKey(const std::string& extension, int entryIndex);

// Decides the picture of entry `entryIndex`. `inCache` tells whether an image
// key is already stored; the shell is asked for a document's program.
// Files whose picture is their own rather than their program's.
bool HasOwnIcon(const std::string& extension);

IconPlan PlanButtonIcon(const LaunchEntry& entry, int entryIndex, bool useCache,
                        const std::function<bool(const std::string&)>& inCache, Shell& shell);

}  // namespace tavi
