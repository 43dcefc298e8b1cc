#pragma once
#include <chrono>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tavi {

// One name in a folder, with what a menu of the folder needs to know of it.
struct FolderEntry {
    std::string name;  // UTF-8, as the system lists it
    bool folder = false;
    bool hidden = false;
    bool system = false;
    // A junction, symbolic link or mount point: a folder that stands for
    // another place, perhaps one of its own parents. Other reparse points
    // (cloud placeholders, deduplicated files) are ordinary items.
    bool link = false;

    bool operator==(const FolderEntry&) const = default;
};

enum class FolderReadOutcome {
    Listed,      // the entries are what the folder held
    Unreadable,  // gone, not a folder, or no access
    TimedOut,    // no answer within the time limit (an unreachable network drive)
};

struct FolderContents {
    FolderReadOutcome outcome = FolderReadOutcome::Unreadable;
    std::vector<FolderEntry> entries;  // without "." and ".."
    // The listing stopped before the folder's end, at the cap or at a read
    // error part way: the folder may hold more than `entries`.
    bool cutShort = false;
};

// The drive or share a folder lies on, the unit that stops answering as one:
// "c:" for "C:\\x", "\\\\server\\share" (lower case) for a UNC path in either
// form; the path itself, lower case, for anything else.
std::string FolderRoot(std::string_view folder);

// Told of a listing that came after the Read that asked for it gave up.
class LateListingListener {
public:
    virtual ~LateListingListener() = default;
    virtual void LateListing(const std::string& folder, FolderContents contents) = 0;
};

// Reads a folder for a menu of its contents. Paths are UTF-8 with "\".
class FolderContentsReader {
public:
    virtual ~FolderContentsReader() = default;
    // Lists `folder`, in the order the system gives, and stops (cut short)
    // once it has `cap` entries that are neither hidden nor system; hidden
    // and system ones are listed beside them but not counted. Gives TimedOut
    // after `limit` without waiting for a slow folder any longer; the
    // listing then goes on, and if it comes it is handed to the listener.
    virtual FolderContents Read(const std::string& folder, size_t cap, std::chrono::milliseconds limit) = 0;
    // Who is told of late listings: later, on the thread that set it, never
    // from within Read. Null: nobody; they are let go.
    virtual void TellLate(LateListingListener* listener) = 0;
};

}  // namespace tavi
