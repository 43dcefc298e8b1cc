#pragma once
#include <cstdint>
#include <optional>
#include <string_view>

#include "app/settings.h"
#include "bar/alarm_check.h"
#include "platform/clock.h"
#include "platform/sound.h"

namespace tavi {

// How late a missed alarm may still ring: Timer1 stops while a menu, the
// group box or a modal window is open, the program may be busy, and the
// clock jumps an hour forward when daylight saving time begins.
inline constexpr int kAlarmCatchUpMinutes = 60;
// The clock moved back by no more than this is taken as a correction of a
// clock that ran fast: the minutes already checked are not checked again,
// so an alarm that has rung does not ring again a moment later.
inline constexpr int kClockCorrectionMinutes = 5;

// The minute of the day (0..1439) of an alarm slot "hh:mm"; nothing for the
// options dialog's empty slot "00:00", for blanks and for anything that is
// not two digits, a colon and two digits of a time of day.
std::optional<int> AlarmSlotMinute(std::string_view slot);

// Seconds from `now` to one second into the next minute, after the current
// one, that an alarm slot names; nothing without a slot or a wave file. The
// bar sets its alarm timer so: it wakes for an alarm, not every minute.
std::optional<int> SecondsToNextAlarm(const Settings& settings, const LocalTime& now);

// The alarm check of Timer1 ("お知らせﾀｲﾏｰ"). Every minute of the clock is
// looked at once, on the first tick that falls in it or, after a pause of the
// timer, on the first tick after the pause; a slot set to that minute starts
// WaveFile. Reads WaveFile and AlarmTimes afresh on every tick, so confirmed
// options take effect at once.
class AlarmTimer final : public AlarmCheck {
public:
    AlarmTimer(const Settings& settings, Sound& sound, Clock* clock = nullptr)
        : settings_(settings), sound_(sound), clock_(clock) {}

    // A tick with the clock's reading.
    void Check() override {
        if (clock_) (void)Tick(clock_->Now());
    }
    std::optional<int> SecondsToNext() override {
        if (!clock_) return std::nullopt;
        return SecondsToNextAlarm(settings_, clock_->Now());
    }

    // One tick with the clock's current reading; true when it started the
    // wave file (whether or not the system could play it).
    bool Tick(const LocalTime& now);

private:
    const Settings& settings_;
    Sound& sound_;
    Clock* clock_;
    std::optional<int64_t> lastChecked_;  // the latest minute looked at
};

// The options dialog's "ﾃｽﾄ": plays the path in its box without waiting for
// the end, when the box is not blank.
void TestWaveStart(Sound& sound, std::string_view wavePath);
// The options dialog's "ｽﾄｯﾌﾟ".
void TestWaveStop(Sound& sound);

}  // namespace tavi
