#pragma once
#include <optional>

namespace tavi {

// What the bar asks of the alarm: to look at the clock (its timer fires at
// the next alarm minute), and when that minute comes.
class AlarmCheck {
public:
    virtual ~AlarmCheck() = default;
    virtual void Check() = 0;
    // Seconds from now to just after the next alarm minute begins; nothing
    // while no alarm is set.
    virtual std::optional<int> SecondsToNext() = 0;
};

}  // namespace tavi
