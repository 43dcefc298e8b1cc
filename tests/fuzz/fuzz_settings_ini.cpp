// "TaviLaunch.ini" through the INI reader and LoadSettings, then everything
// that turns the settings into decisions: the IniBuff digits, the alarm
// times, the options dialog's controls, the dock edge, the icon size and the
// group size. The options dialog's values stored and saved must read back
// as they were stored.
#include <cstdint>

#include "app/settings.h"
#include "app/startup.h"
#include "platform/text.h"
#include "bar/bar_geometry.h"
#include "fuzz/fuzz_support.h"
#include "platform/ini_profile.h"
#include "tools/alarm.h"
#include "tools/option_set.h"

using namespace tavi;

namespace {
const std::string kFile = "C:\\Tavi\\TaviLaunch.ini";
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::MemoryFiles files;
    files.files[kFile] = std::string(reinterpret_cast<const char*>(data), size);
    IniProfile profile(files, fuzz::Cp932());

    Settings s;
    LoadSettings(s, profile, kFile);
    fuzz::Check(CharCount(s.IniBuff) == 9, "IniBuff holds nine characters", s.IniBuff);
    for (const std::string* digit : {&s.TopMost, &s.EdgeCode, &s.ToolTips, &s.Horizontal, &s.SaveOnExit,
                                     &s.IconSizeIndex, &s.AutoHide, &s.AutoHideDelayIndex})
        fuzz::Check(CharCount(*digit) == 1, "each IniBuff flag is one character", *digit);
    fuzz::Check(CharCount(s.Time) == kTimeFieldWidth, "Time holds forty characters", s.Time);
    for (const std::string& alarm : s.AlarmTimes) {
        fuzz::Check(CharCount(alarm) == 5, "an alarm time is hh:mm", alarm);
        if (const std::optional<int> minute = AlarmSlotMinute(alarm))
            fuzz::Check(*minute >= 0 && *minute < 24 * 60, "an alarm rings at a minute of the day", alarm);
    }

    (void)DockEdgeFrom(s.Horizontal, s.EdgeCode);
    const int iconSize = IconSizeIndexFrom(s.IconSizeIndex);
    fuzz::Check(iconSize >= 0 && iconSize <= 2, "the icon size index is 0, 1 or 2", s.IconSizeIndex);
    (void)MetricsFor(iconSize);
    const int exMenuMax = ExMenuMaxFor(s.ExMenuCount);
    fuzz::Check(exMenuMax >= -1 && exMenuMax <= 99, "a group has at most 100 slots", s.ExMenuCount);
    (void)LeadingInt(s.WallPaperChengeTimer);

    const OptionSetView view = OptionSetLoad(s);
    fuzz::Check(view.controls.optPosition >= 0 && view.controls.optPosition <= 3, "a dock position is chosen");

    // The options dialog confirmed as loaded: what it stores is what the next start reads.
    Settings stored = s;
    StoreOptionSettings(stored, view.controls);
    fuzz::Check(SaveSettings(stored, profile, kFile), "a save to memory succeeds");
    if (fuzz::RereadsDifferently(std::string_view(reinterpret_cast<const char*>(data), size), files.files[kFile]))
        return 0;
    Settings again;
    LoadSettings(again, profile, kFile);
    fuzz::Check(again.IniBuff == stored.IniBuff, "IniBuff reads back as saved", stored.IniBuff + " / " + again.IniBuff);
    fuzz::Check(again.Time == stored.Time, "Time reads back as saved", stored.Time + " / " + again.Time);
    fuzz::Check(again.AlarmTimes == stored.AlarmTimes, "the alarm times read back as saved");
    return 0;
}
