#include "platform/clock.h"

namespace tavi {
namespace {

// Days from 1970-01-01 in the proleptic Gregorian calendar.
int64_t DaysFromCivil(int64_t year, int64_t month, int64_t day) {
    year -= month <= 2 ? 1 : 0;
    const int64_t era = (year >= 0 ? year : year - 399) / 400;
    const int64_t yearOfEra = year - era * 400;
    const int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

}  // namespace

int64_t LocalMinute(const LocalTime& time) {
    return DaysFromCivil(time.year, time.month, time.day) * 1440 + int64_t{time.hour} * 60 + time.minute;
}

}  // namespace tavi
