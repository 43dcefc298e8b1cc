#include "app/settings.h"

#include "platform/text.h"

namespace tavi {
namespace {

// One key as the program has always read it: missing or empty takes the
// default, anything else loses its leading spaces.
std::string ReadKey(Profile& profile, const std::string& file, const char* section, const char* key,
                    std::string_view fallback) {
    const std::string value = profile.GetString(file, section, key);
    return value.empty() ? std::string(fallback) : TrimLeadingSpaces(value);
}

void ReadIniBuff(Settings& s, Profile& profile, const std::string& file) {
    // A missing key gives the default digits, which read back as the defaults.
    std::string value = profile.GetString(file, "IniBuff", "IniBuff");
    if (value.empty()) value = kDefaultIniBuff;
    s.IniBuff = CharMid(value + "000000000", 0, 9);
    auto digit = [&](size_t position) { return CharMid(s.IniBuff, position - 1, 1); };
    s.TopMost = digit(1);
    s.EdgeCode = digit(3) == "1" ? "3" : digit(3);
    s.ToolTips = digit(4);
    s.Horizontal = digit(5);
    s.SaveOnExit = digit(6);
    s.IconSizeIndex = digit(7);
    s.AutoHide = digit(8);
    s.AutoHideDelayIndex = digit(9);
}

// What an alarm box adds to Time: its digits without surrounding spaces, or
// nothing. A blank kept in Time would be lost as a leading blank when the
// profile reads the file back, shifting every later slot.
std::string AlarmDigits(const std::string& box) {
    const std::string trimmed = TrimSpaces(box);
    for (const char c : trimmed)
        if (c < '0' || c > '9') return {};
    return trimmed;
}

}  // namespace

std::string SettingsFilePath(const std::string& applicationPath) {
    return AddBackslash(applicationPath) + "TaviLaunch.ini";
}

void RebuildAlarmTimes(Settings& s) {
    for (size_t i = 0; i < kAlarmSlots; ++i)
        s.AlarmTimes[i] = CharMid(s.Time, 4 * i, 2) + ":" + CharMid(s.Time, 4 * i + 2, 2);
}

ReadOutcome LoadSettings(Settings& s, Profile& profile, const std::string& file) {
    ProfileBatch batch(profile);  // one read of the file for all the keys
    const ReadOutcome outcome = profile.FileOutcome(file);
    if (outcome == ReadOutcome::Unreadable) return outcome;
    ReadIniBuff(s, profile, file);
    s.SaveX = ReadKey(profile, file, "Place", "SaveX", "0");
    s.SaveY = ReadKey(profile, file, "Place", "SaveY", "0");
    s.ToolBox = ReadKey(profile, file, "ToolBox", "ToolBox", "10");
    s.DragDrop = ReadKey(profile, file, "DragDrop", "DragDrop", "1");
    s.WaveFile = ReadKey(profile, file, "Time", "WaveFile", "");
    s.Time = FixedWidth(profile.GetString(file, "Time", "Time"), kTimeFieldWidth);
    RebuildAlarmTimes(s);
    ReadKey(profile, file, "Option", "DispType", "1");
    s.DispType = "1";  // the only display type there is
    s.Width = LeadingInt(profile.GetString(file, "Place", "Width"));
    s.Height = LeadingInt(profile.GetString(file, "Place", "Height"));
    s.TargetDrop = ReadKey(profile, file, "Option", "TargetDrop", "0");
    s.SplashLogo = ReadKey(profile, file, "Option", "SplashLogo", "0");
    s.WallPaperChenge = ReadKey(profile, file, "Option", "WallPaperChenge", "0");
    s.WallPaperChengeTimer = ReadKey(profile, file, "Option", "WallPaperChengeTimer", "0");
    s.MediaEject = ReadKey(profile, file, "Option", "MediaEject", "0");
    s.ButtonFlat = ReadKey(profile, file, "Option", "ButtonFlat", "1");
    s.ExMenuCount = ReadKey(profile, file, "Option", "ExMenuCount", "10");
    s.Monitor = profile.GetString(file, "Option", "Monitor");
    s.HotKey = ReadKey(profile, file, "Option", "HotKey", "");
    s.SearchHotKey = ReadKey(profile, file, "Option", "SearchHotKey", "");
    s.Language = profile.GetString(file, "Option", "Language");
    s.BringToFront = profile.GetString(file, "Option", "BringToFront");
    return outcome;
}

bool SaveSettings(const Settings& s, Profile& profile, const std::string& file) {
    const struct {
        const char* section;
        const char* key;
        const std::string& value;
    } order[] = {
        {"IniBuff", "IniBuff", s.IniBuff},
        {"Place", "SaveX", s.SaveX},
        {"Place", "SaveY", s.SaveY},
        {"ToolBox", "ToolBox", s.ToolBox},
        {"DragDrop", "DragDrop", s.DragDrop},
        {"Time", "WaveFile", s.WaveFile},
        {"Time", "Time", s.Time},
        {"Option", "DispType", s.DispType},
        {"Option", "TargetDrop", s.TargetDrop},
        {"Option", "SplashLogo", s.SplashLogo},
        {"Option", "WallPaperChenge", s.WallPaperChenge},
        {"Option", "WallPaperChengeTimer", s.WallPaperChengeTimer},
        {"Option", "MediaEject", s.MediaEject},
        {"Option", "ButtonFlat", s.ButtonFlat},
        {"Option", "ExMenuCount", s.ExMenuCount},
    };
    ProfileBatch batch(profile);
    for (const auto& item : order) (void)profile.WriteString(file, item.section, item.key, item.value);
    // Only a chosen monitor and a set key are written, so files of one-monitor
    // users keep their bytes; one cleared in the options leaves the file.
    auto writeWhenSet = [&](const char* key, const std::string& value) {
        if (!value.empty())
            (void)profile.WriteString(file, "Option", key, value);
        else if (!profile.GetString(file, "Option", key).empty())
            (void)profile.DeleteKey(file, "Option", key);
    };
    writeWhenSet("Monitor", s.Monitor);
    writeWhenSet("HotKey", s.HotKey);
    writeWhenSet("SearchHotKey", s.SearchHotKey);
    writeWhenSet("Language", s.Language);
    writeWhenSet("BringToFront", s.BringToFront);
    return batch.End();
}

void StoreOptionSettings(Settings& s, const OptionSetState& o) {
    auto setDigit = [&](size_t position, const std::string& value) {
        s.IniBuff = ReplaceChar(s.IniBuff, position - 1, value);
    };
    s.IniBuff = "000000000";
    s.TopMost = std::to_string(o.ChkTemae);
    setDigit(1, s.TopMost);
    setDigit(2, "0");
    s.SaveOnExit = std::to_string(o.ChkEndSave);
    setDigit(6, s.SaveOnExit);
    s.IconSizeIndex = std::to_string(o.cboSmallIcon);
    setDigit(7, s.IconSizeIndex);
    s.AutoHide = std::to_string(o.ChkAutoDelete);
    setDigit(8, s.AutoHide);
    s.AutoHideDelayIndex = std::to_string(o.CmbAutoDelete);
    setDigit(9, s.AutoHideDelayIndex);
    s.MediaEject = std::to_string(o.chkMediaEject);
    static constexpr const char* kPositions[4][2] = {{"1", "2"}, {"1", "3"}, {"0", "3"}, {"0", "2"}};
    if (o.optPosition >= 0 && o.optPosition < 4) {
        s.Horizontal = kPositions[o.optPosition][0];
        s.EdgeCode = kPositions[o.optPosition][1];
    }
    setDigit(3, s.EdgeCode);
    setDigit(5, s.Horizontal);
    s.SaveX = "0";
    s.SaveY = "0";
    s.ToolTips = o.ChkDispToolTip == 0 ? "0" : "1";
    setDigit(4, s.ToolTips);
    s.WaveFile = o.TxtWavePath;
    std::string time = FixedWidth(s.Time, kTimeFieldWidth);
    for (size_t i = 0; i < kAlarmSlots; ++i) {
        const std::string hour = "00" + AlarmDigits(o.TxtHour[i]);
        const std::string minute = "00" + AlarmDigits(o.TxtMinute[i]);
        const size_t hourLength = CharCount(hour), minuteLength = CharCount(minute);
        const std::string slot = CharMid(hour, hourLength - 2, 2) + CharMid(minute, minuteLength - 2, 2);
        time = CharMid(time, 0, 4 * i) + slot + CharMid(time, 4 * i + 4);
    }
    s.Time = time;
    RebuildAlarmTimes(s);
    s.DispType = "1";
    s.TargetDrop = std::to_string(o.chkTarget);
    s.SplashLogo = std::to_string(o.chkSplash);
    s.WallPaperChenge = std::to_string(o.chkWallPaperChange);
    s.WallPaperChengeTimer = TrimSpaces(o.txtWallPaperChangeTimer);
    s.ButtonFlat = std::to_string(o.chkButtonFlat);
    // Left absent while the box keeps what absence means.
    if ((o.chkBringToFront != 0) != BringsToFront(s) || !s.BringToFront.empty())
        s.BringToFront = o.chkBringToFront != 0 ? "1" : "0";
    s.ExMenuCount = o.txtExMenuCount;
}

}  // namespace tavi
