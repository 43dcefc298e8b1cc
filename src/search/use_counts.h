#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "app/start_log.h"
#include "platform/clock.h"
#include "platform/file_system.h"

// How often and how lately each entry was started on this PC, so that the
// search puts what the user starts every day above what they never start.
// Kept per PC in "TaviMenu2.<computer name>.pc" beside the lists: UTF-8, the
// first line "TaviMenu2 pc 1", then sections; [Uses] holds one
// "minute TAB score TAB path TAB parameters" per entry. Other sections are
// kept as they are.
namespace tavi {

std::string PcFilePath(const std::string& applicationPath, std::string_view computerName);

// What an entry's uses go by: what it starts, its path (case aside, as
// Windows compares them) and parameters. They follow the entry when it moves
// or its title changes, and go when nothing in the lists starts it any more.
std::string UseKey(std::string_view path, std::string_view parameters);

class UseCounts final : public StartLog {
public:
    // A larger file is not read (and so never written over).
    static constexpr size_t kFileLimit = size_t{1} << 20;
    // Entries kept; the least used go first.
    static constexpr size_t kEntryLimit = 5000;
    // A start counts half after this many minutes, a quarter after twice as many.
    static constexpr int64_t kHalfLife = 14 * 24 * 60;

    UseCounts(FileSystem& files, Clock& clock) : files_(files), clock_(clock) {}

    // Reads the file at `path`. Missing: no uses yet. Foreign, of a later
    // version, too large or held by another program: no uses, and the file
    // is never written while this object lives (it reads again at Load).
    void Load(const std::string& path);
    bool Readable() const { return readable_; }

    // The sum over recorded starts of 2^(-age / kHalfLife): 1 for a start
    // just now, 0 for an entry never started.
    double ScoreOf(const std::string& key) const;
    // Counts a start now and writes the file.
    void Started(std::string_view path, std::string_view parameters) override;
    // Forgets the uses of every key not in `live` (the entries and members
    // the lists hold), and writes the file when any went.
    void KeepOnly(const std::unordered_set<std::string>& live);
    // Forgets every use and writes the file. False when it could not be
    // written or was not read.
    bool Clear();
    // Grows with every change, so a window that ranks by the uses knows to
    // rank again.
    uint64_t ChangeCount() const { return changes_; }

private:
    struct Use {
        int64_t minute = 0;  // of the last start
        double score = 0;    // as it stood at `minute`
    };
    double Decayed(const Use& use, int64_t now) const;
    bool Save();

    FileSystem& files_;
    Clock& clock_;
    std::string path_;
    bool readable_ = false;
    std::unordered_map<std::string, Use> uses_;
    std::vector<std::string> otherLines_;  // sections of other kinds, as read
    uint64_t changes_ = 0;
};

}  // namespace tavi
