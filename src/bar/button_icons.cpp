#include "bar/button_icons.h"

#include <cmath>

#include "platform/text.h"

namespace tavi {
namespace {

IconPlan Stock(StockImage image) { return {IconPlan::Kind::Stock, image, {}, {}, 0}; }
IconPlan Cached(std::string key) { return {IconPlan::Kind::Cached, StockImage::None, std::move(key), {}, 0}; }
IconPlan Extract(std::string key, std::string file, int index) {
    return {IconPlan::Kind::Extract, StockImage::None, std::move(key), std::move(file), index};
}

}  // namespace

bool HasOwnIcon(const std::string& extension) {
    const std::string upper = ToUpperAscii(extension);
    return upper == ".ICO" || upper == ".CUR" || upper == ".ANI" || upper == ".EXE";
}

std::string ExtensionKey(const std::string& extension) { return "k" + extension; }
std::string EntryKey(const std::string& extension, int entryIndex) {
    return "k" + extension + std::to_string(entryIndex + 4);
}

IconPlan PlanButtonIcon(const LaunchEntry& entry, int entryIndex, bool useCache,
                        const std::function<bool(const std::string&)>& inCache, Shell& shell) {
    const std::string path = TrimSpaces(entry.PathName);
    const std::string iconFile = TrimSpaces(entry.IconPath);
    if (IsGroupPath(path) && iconFile.empty()) return Stock(StockImage::Folder);

    const std::string extension = GetExtension(path);
    if (iconFile != path || LeadingNumber(entry.IconIndex) > 0) {
        int32_t index = 0;
        RoundToInt32(LeadingNumber(entry.IconIndex), index);
        return Extract(EntryKey(extension, entryIndex), iconFile, index);
    }

    if (EndsWith(path, "\\")) return Stock(StockImage::Folder);
    if (Contains(ToUpperAscii(path), ".BAT")) return Stock(StockImage::Dos);
    if (useCache) {
        if (inCache(ExtensionKey(extension))) return Cached(ExtensionKey(extension));
        if (inCache(EntryKey(extension, entryIndex))) return Cached(EntryKey(extension, entryIndex));
    }
    const bool ownIcon = HasOwnIcon(extension);
    const Shell::Association association = shell.AssociatedProgram(path);
    if (association.result <= 31) return Stock(StockImage::Nothing);
    if (ownIcon) return Extract(EntryKey(extension, entryIndex), path, 0);
    std::string program = association.program;
    if (StartsWith(program, "\"") && program.size() >= 2) program = program.substr(1, program.size() - 2);
    return Extract(ExtensionKey(extension), program, 0);
}

}  // namespace tavi
