#include "fakes/folder_contents_fake.h"

#include <algorithm>
#include <utility>

namespace tavi::fakes {

void FakeFolderTree::Add(const std::string& path, std::vector<FolderEntry> entries) {
    folders[path] = FolderContents{FolderReadOutcome::Listed, std::move(entries), false};
}

void FakeFolderTree::Add(const std::string& path, FolderReadOutcome outcome) {
    folders[path] = FolderContents{outcome, {}, false};
}

FolderContents FakeFolderTree::Read(const std::string& folder, size_t cap, std::chrono::milliseconds limit) {
    reads.push_back({folder, cap, limit});
    if (silent.contains(folder)) return FolderContents{FolderReadOutcome::TimedOut, {}, false};
    if (slow.contains(folder)) {
        // As the system adapter: no second listing of a folder whose first has not come.
        if (std::none_of(pending_.begin(), pending_.end(), [&](const auto& read) { return read.first == folder; }))
            pending_.emplace_back(folder, cap);
        return FolderContents{FolderReadOutcome::TimedOut, {}, false};
    }
    return Listing(folder, cap);
}

int FakeFolderTree::AnswerLate() {
    const auto answering = std::exchange(pending_, {});
    for (const auto& [folder, cap] : answering)
        if (listener) listener->LateListing(folder, Listing(folder, cap));
    return static_cast<int>(answering.size());
}

FolderContents FakeFolderTree::Listing(const std::string& folder, size_t cap) const {
    const auto link = links.find(folder);
    const auto found = folders.find(link == links.end() ? folder : link->second);
    if (found == folders.end()) return FolderContents{};
    // As the system adapter stops: after `cap` entries that are neither hidden nor system.
    FolderContents contents = found->second;
    size_t counted = 0;
    for (size_t i = 0; i < contents.entries.size(); ++i) {
        if (contents.entries[i].hidden || contents.entries[i].system || ++counted < cap) continue;
        contents.entries.resize(i + 1);
        contents.cutShort = true;
        break;
    }
    return contents;
}

}  // namespace tavi::fakes
