#include "tools/alarm.h"

#include <algorithm>
#include <string>
#include <vector>

#include "platform/text.h"

namespace tavi {
namespace {

std::optional<int> TwoDigits(std::string_view text) {
    if (text.size() != 2 || text[0] < '0' || text[0] > '9' || text[1] < '0' || text[1] > '9') return std::nullopt;
    return (text[0] - '0') * 10 + (text[1] - '0');
}

int MinuteOfDay(int64_t localMinute) {
    const int64_t minute = localMinute % 1440;
    return static_cast<int>(minute < 0 ? minute + 1440 : minute);
}

}  // namespace

std::optional<int> AlarmSlotMinute(std::string_view slot) {
    if (slot.size() != 5 || slot[2] != ':') return std::nullopt;
    const std::optional<int> hour = TwoDigits(slot.substr(0, 2));
    const std::optional<int> minute = TwoDigits(slot.substr(3, 2));
    if (!hour || !minute || *hour > 23 || *minute > 59) return std::nullopt;
    const int ofDay = *hour * 60 + *minute;
    // The options dialog stores an empty slot as 0000: it means "no alarm".
    if (ofDay == 0) return std::nullopt;
    return ofDay;
}

bool AlarmTimer::Tick(const LocalTime& now) {
    const int64_t current = LocalMinute(now);
    int64_t first = current;
    if (lastChecked_) {
        const int64_t last = *lastChecked_;
        if (current == last) return false;
        if (current < last && last - current <= kClockCorrectionMinutes) return false;
        // Forward: every minute since the last one looked at, as far back as
        // the catch-up allows. A longer step back is a clock set back on
        // purpose: from now on its minutes are new ones.
        if (current > last) first = std::max(last + 1, current - kAlarmCatchUpMinutes);
    }
    lastChecked_ = current;

    const std::string wave = TrimSpaces(settings_.WaveFile);
    if (wave.empty()) return false;
    std::vector<int> slots;
    for (const std::string& slot : settings_.AlarmTimes)
        if (const std::optional<int> minute = AlarmSlotMinute(slot)) slots.push_back(*minute);
    for (int64_t minute = first; minute <= current; ++minute) {
        if (std::find(slots.begin(), slots.end(), MinuteOfDay(minute)) == slots.end()) continue;
        // One sound however many slots fell due; a file that cannot be
        // played is the system's to report, and the bar carries on.
        sound_.PlayWave(wave, true);
        return true;
    }
    return false;
}

std::optional<int> SecondsToNextAlarm(const Settings& settings, const LocalTime& now) {
    if (TrimSpaces(settings.WaveFile).empty()) return std::nullopt;
    const int current = now.hour * 60 + now.minute;
    std::optional<int> ahead;  // whole minutes from the current one
    for (const std::string& slot : settings.AlarmTimes) {
        const std::optional<int> minute = AlarmSlotMinute(slot);
        if (!minute) continue;
        const int distance = ((*minute - current) % 1440 + 1440) % 1440;
        const int minutes = distance == 0 ? 1440 : distance;
        if (!ahead || minutes < *ahead) ahead = minutes;
    }
    if (!ahead) return std::nullopt;
    return *ahead * 60 - now.second + 1;
}

void TestWaveStart(Sound& sound, std::string_view wavePath) {
    const std::string path = TrimSpaces(wavePath);
    if (!path.empty()) sound.PlayWave(path, true);
}

void TestWaveStop(Sound& sound) { sound.StopWave(); }

}  // namespace tavi
