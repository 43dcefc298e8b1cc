#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes/tool_fakes.h"
#include "tools/alarm.h"

using namespace tavi;

namespace {

LocalTime At(int hour, int minute, int second, int day = 15, int month = 6, int year = 2026) {
    return {year, month, day, hour, minute, second};
}

using Rang = std::vector<int>;

class AlarmTest : public ::testing::Test {
protected:
    Settings settings;
    fakes::FakeSound sound;

    void SetUp() override { settings.WaveFile = "C:\\Sounds\\chime.wav"; }
    // The Time field as the options dialog stores it: these "hhmm" slots
    // first, every other slot empty ("0000").
    void Slots(const std::vector<std::string>& slots) {
        settings.Time.clear();
        for (size_t i = 0; i < kAlarmSlots; ++i) settings.Time += i < slots.size() ? slots[i] : "0000";
        RebuildAlarmTimes(settings);
    }
    // A fresh alarm ticked at each time; the indices of the ticks that rang.
    Rang Run(const std::vector<LocalTime>& ticks) {
        AlarmTimer alarm(settings, sound);
        Rang rang;
        for (size_t i = 0; i < ticks.size(); ++i)
            if (alarm.Tick(ticks[i])) rang.push_back(static_cast<int>(i));
        return rang;
    }
};

}  // namespace

TEST(AlarmSlot, OnlyTwoDigitTimesOfDayOtherThanMidnightAreAlarms) {
    const struct {
        const char* slot;
        int minute;  // -1: no alarm
    } cases[] = {
        {"07:30", 450}, {"00:01", 1},  {"23:59", 1439}, {"00:00", -1},    {"  :  ", -1},
        {"24:00", -1},  {"07:60", -1}, {"7:30 ", -1},   {"0730", -1},     {"ab:cd", -1},
        {"", -1},       {"０７:３０", -1},
    };
    for (const auto& c : cases) EXPECT_EQ(AlarmSlotMinute(c.slot).value_or(-1), c.minute) << "\"" << c.slot << "\"";
}

TEST(AlarmClock, ConsecutiveMinutesStayConsecutiveOverDayMonthAndYearEnds) {
    const struct {
        LocalTime before, after;
    } cases[] = {
        {At(23, 59, 0, 30, 6), At(0, 0, 0, 1, 7)},
        {At(23, 59, 0, 31, 12, 2026), At(0, 0, 0, 1, 1, 2027)},
        {At(23, 59, 0, 28, 2, 2028), At(0, 0, 0, 29, 2, 2028)},  // leap day
        {At(23, 59, 0, 28, 2, 2100), At(0, 0, 0, 1, 3, 2100)},   // none in 2100
    };
    for (const auto& c : cases)
        EXPECT_EQ(LocalMinute(c.after) - LocalMinute(c.before), 1) << c.before.year << "-" << c.before.month;
}

TEST_F(AlarmTest, RingsOnceOnTheFirstTickOfTheSetMinute) {
    Slots({"0730"});
    // Timer1 ticks twice a second.
    EXPECT_EQ(Run({At(7, 29, 59), At(7, 29, 59), At(7, 30, 0), At(7, 30, 0), At(7, 30, 1), At(7, 30, 59),
                   At(7, 31, 0)}),
              Rang({2}));
    ASSERT_EQ(sound.plays.size(), 1u);
    EXPECT_EQ(sound.plays[0].path, "C:\\Sounds\\chime.wav");
    EXPECT_TRUE(sound.plays[0].asynchronous);
}

TEST_F(AlarmTest, EmptySlotsAndABlankWaveFileNeverRing) {
    const struct {
        const char* time;
        const char* wave;
    } cases[] = {
        {"0000000000000000000000000000000000000000", "C:\\a.wav"},  // every slot emptied by the options dialog
        {"                                        ", "C:\\a.wav"},  // never confirmed
        {"2400076007 3ab12    00000000000000000000", "C:\\a.wav"},  // hand-edited
        {"0730000000000000000000000000000000000000", "   "},
    };
    for (const auto& c : cases) {
        settings.Time = c.time;
        RebuildAlarmTimes(settings);
        settings.WaveFile = c.wave;
        std::vector<LocalTime> day;  // every minute from 23:58 on the 14th to 00:02 on the 16th
        for (int t = 23 * 60 + 58; t <= 2 * 1440 + 2; ++t) day.push_back(At(t % 1440 / 60, t % 60, 0, 14 + t / 1440));
        EXPECT_EQ(Run(day), Rang{}) << "Time \"" << c.time << "\" wave \"" << c.wave << "\"";
    }
}

TEST_F(AlarmTest, PausesMidnightAndClockChanges) {
    const struct {
        const char* what;
        std::vector<std::string> slots;
        std::vector<LocalTime> ticks;
        Rang rang;
    } cases[] = {
        {"the second hh:mm:00 skipped", {"0730"}, {At(7, 29, 59), At(7, 30, 1), At(7, 30, 2)}, {1}},
        {"a menu open for four minutes", {"0730"}, {At(7, 29, 10), At(7, 33, 40), At(7, 33, 41)}, {1}},
        {"paused for an hour", {"0730"}, {At(7, 29, 10), At(8, 30, 59)}, {1}},
        {"paused for more than an hour", {"0730"}, {At(7, 29, 10), At(8, 31, 0)}, {}},
        {"checked before the pause", {"0730"}, {At(7, 30, 0), At(7, 45, 0)}, {0}},
        {"started inside the minute", {"0730"}, {At(7, 30, 40), At(7, 30, 41)}, {0}},
        {"several slots, one sound", {"0730", "0730", "0731"}, {At(7, 29, 0), At(7, 30, 0), At(7, 30, 30)}, {1}},
        {"two minutes missed in one pause", {"0730", "0731"}, {At(7, 29, 0), At(7, 32, 0), At(7, 32, 1)}, {1}},
        {"either side of midnight", {"2359", "0001"},
         {At(23, 58, 30, 15), At(23, 59, 0, 15), At(0, 0, 0, 16), At(0, 1, 0, 16), At(0, 1, 30, 16)}, {1, 3}},
        {"paused over the new year", {"0001"}, {At(23, 59, 30, 31, 12, 2026), At(0, 1, 30, 1, 1, 2027)}, {1}},
        {"set back seconds after ringing", {"0730"},
         {At(7, 29, 59), At(7, 30, 0), At(7, 29, 58), At(7, 30, 0), At(7, 30, 1), At(7, 31, 0)}, {1}},
        {"set back five minutes after ringing", {"0730"},
         {At(7, 30, 0), At(7, 35, 0), At(7, 30, 0), At(7, 30, 30), At(7, 36, 0)}, {0}},
        {"daylight saving ends: 02:30 comes twice", {"0230"},
         {At(2, 30, 0), At(2, 59, 59), At(2, 0, 0), At(2, 29, 59), At(2, 30, 0), At(2, 30, 30)}, {0, 4}},
        {"set back a day", {"0730"}, {At(7, 30, 0, 16), At(7, 29, 0, 15), At(7, 30, 0, 15)}, {0, 2}},
        {"daylight saving begins: 02:30 never shows", {"0230"}, {At(1, 59, 59), At(3, 0, 0), At(3, 0, 1)}, {1}},
        {"set forward six hours", {"0900", "1330"}, {At(8, 0, 0), At(14, 0, 0), At(14, 0, 30)}, {1}},
    };
    for (const auto& c : cases) {
        Slots(c.slots);
        EXPECT_EQ(Run(c.ticks), c.rang) << c.what;
    }
}

TEST_F(AlarmTest, NewOptionsCountFromTheNextMinuteAndAnUnplayableFileIsNotRetried) {
    Slots({"0730"});
    settings.WaveFile = "";
    sound.answer = false;  // missing or unreadable file
    AlarmTimer alarm(settings, sound);
    EXPECT_FALSE(alarm.Tick(At(7, 30, 0)));
    Slots({"0730", "0731"});
    settings.WaveFile = "  D:\\other.wav ";
    EXPECT_FALSE(alarm.Tick(At(7, 30, 30))) << "07:30 was looked at while the file was blank";
    EXPECT_TRUE(alarm.Tick(At(7, 31, 0)));
    EXPECT_FALSE(alarm.Tick(At(7, 31, 1)));
    ASSERT_EQ(sound.plays.size(), 1u);
    EXPECT_EQ(sound.plays[0].path, "D:\\other.wav");
}

TEST(WaveTestButtons, PlayTheTrimmedPathWithoutWaitingAndStop) {
    fakes::FakeSound sound;
    for (const char* blank : {"", "   "}) TestWaveStart(sound, blank);
    EXPECT_TRUE(sound.plays.empty());
    TestWaveStart(sound, " C:\\Sounds\\a.wav ");
    ASSERT_EQ(sound.plays.size(), 1u);
    EXPECT_EQ(sound.plays[0].path, "C:\\Sounds\\a.wav");
    EXPECT_TRUE(sound.plays[0].asynchronous);
    TestWaveStop(sound);
    EXPECT_EQ(sound.stops, 1);
}

// The bar's alarm timer wakes one second into the next alarm minute, and a
// tick there rings: no wake every minute for nothing.
TEST_F(AlarmTest, TheTimerIsSetForTheNextAlarmMinuteOnly) {
    const struct {
        const char* what;
        std::vector<std::string> slots;
        LocalTime now;
        std::optional<int> seconds;
    } cases[] = {
        {"later today", {"0730", "1200"}, At(7, 0, 0), 30 * 60 + 1},
        {"the nearer of two", {"1200", "0730"}, At(7, 29, 50), 11},
        {"the current minute is past", {"0730"}, At(7, 30, 20), 24 * 60 * 60 - 19},
        {"after midnight", {"0005"}, At(23, 58, 30), 7 * 60 - 29},
        {"no slot set", {}, At(7, 0, 0), std::nullopt},
    };
    for (const auto& c : cases) {
        Slots(c.slots);
        EXPECT_EQ(SecondsToNextAlarm(settings, c.now), c.seconds) << c.what;
    }
    settings.WaveFile = " ";
    Slots({"0730"});
    EXPECT_EQ(SecondsToNextAlarm(settings, At(7, 0, 0)), std::nullopt) << "nothing to play";

    // Ticked only when the timer fires, hours apart, it still rings.
    settings.WaveFile = "C:\\Sounds\\chime.wav";
    Slots({"0730"});
    EXPECT_EQ(Run({At(1, 0, 0), At(7, 30, 1)}), (Rang{1}));
}
