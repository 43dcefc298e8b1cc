#pragma once
#include <cstdint>

namespace tavi {

// A reading of the local wall clock, as the system shows it to the user.
struct LocalTime {
    int year = 1970;
    int month = 1;  // 1..12
    int day = 1;    // 1..31
    int hour = 0;   // 0..23
    int minute = 0;
    int second = 0;
};

// Minutes from 1970-01-01 00:00 on the local calendar: consecutive minutes
// of the clock give consecutive numbers, across midnight and month ends.
int64_t LocalMinute(const LocalTime& time);

// The local wall clock. It may go back (the user sets it, a time server
// corrects it), so nothing may assume one reading follows the last.
class Clock {
public:
    virtual ~Clock() = default;
    virtual LocalTime Now() = 0;
};

}  // namespace tavi
