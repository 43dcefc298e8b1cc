#include "platform/starts_under_way.h"

#include <algorithm>

#include "platform/folder_contents.h"

namespace tavi {

std::optional<uint64_t> StartsUnderWay::Begin(const std::string& file, Clock::time_point now) {
    if (UnderWay() >= limits_.total) return std::nullopt;
    std::string root = FolderRoot(file);
    const bool stuck = std::any_of(underWay_.begin(), underWay_.end(), [&](const auto& start) {
        return start.second.root == root && now - start.second.began >= limits_.stuckAfter;
    });
    if (stuck) return std::nullopt;
    const uint64_t number = next_++;
    underWay_.emplace(number, Start{std::move(root), now});
    return number;
}

void StartsUnderWay::End(uint64_t start) { underWay_.erase(start); }

}  // namespace tavi
