#pragma once
// A folder tree in memory for the folder menus: per folder what a listing
// gives, links that stand for other folders, and a record of every read.
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/folder_contents.h"

namespace tavi::fakes {

class FakeFolderTree final : public FolderContentsReader {
public:
    struct ReadCall {
        std::string folder;
        size_t cap;
        std::chrono::milliseconds limit;
    };

    // Folder path -> what reading it gives; a path not here is unreadable.
    std::map<std::string, FolderContents> folders;
    // Link path -> the folder it stands for, read in its place.
    std::map<std::string, std::string> links;
    std::vector<ReadCall> reads;
    // Folders that never answer: every read gives TimedOut, and nothing comes later.
    std::set<std::string> silent;
    // Folders that answer late: a read gives TimedOut, and the listing comes
    // at the next AnswerLate (one per folder, however often it was read).
    std::set<std::string> slow;
    LateListingListener* listener = nullptr;

    // A folder that lists `entries`, or one that gives `outcome` alone.
    void Add(const std::string& path, std::vector<FolderEntry> entries);
    void Add(const std::string& path, FolderReadOutcome outcome);

    FolderContents Read(const std::string& folder, size_t cap, std::chrono::milliseconds limit) override;
    void TellLate(LateListingListener* late) override { listener = late; }
    // The slow folders read since the last call answer now, in the order
    // they were read; how many did.
    int AnswerLate();

private:
    FolderContents Listing(const std::string& folder, size_t cap) const;
    std::vector<std::pair<std::string, size_t>> pending_;
};

}  // namespace tavi::fakes
