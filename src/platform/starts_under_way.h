#pragma once
#include <chrono>
#include <cstdint>
#include <map>
#include <optional>
#include <string>

namespace tavi {

// The starts handed to workers, so that a program on a drive or share that
// does not answer never holds the UI thread, and clicking it again never
// piles up threads: while a start on a drive or share has been under way
// longer than `stuckAfter`, no further one is tried there until it returns,
// and at most `total` are under way in all. A stuck start is never ended; it
// stays counted until it returns. Every call comes from the UI thread.
class StartsUnderWay {
public:
    using Clock = std::chrono::steady_clock;
    struct Limits {
        int total = 16;
        std::chrono::milliseconds stuckAfter{2000};
    };

    StartsUnderWay() = default;
    explicit StartsUnderWay(Limits limits) : limits_(limits) {}

    // The number of a start of `file` that may go now; none while its drive
    // or share does not answer, or too many are under way.
    std::optional<uint64_t> Begin(const std::string& file, Clock::time_point now);
    void End(uint64_t start);
    int UnderWay() const { return static_cast<int>(underWay_.size()); }

private:
    struct Start {
        std::string root;
        Clock::time_point began;
    };

    Limits limits_{};
    uint64_t next_ = 1;
    std::map<uint64_t, Start> underWay_;
};

}  // namespace tavi
