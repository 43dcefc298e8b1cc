#pragma once
#include <array>
#include <cstdint>
#include <string>

#include "platform/profile.h"

namespace tavi {

inline constexpr size_t kAlarmSlots = 10;
inline constexpr size_t kTimeFieldWidth = 40;
inline constexpr std::string_view kDefaultIniBuff = "103101011";

// The values of "TaviLaunch.ini", held as text exactly as in the file; flags
// are "0"/"1". The nine flags of IniBuff are also held one by one.
struct Settings {
    std::string IniBuff{kDefaultIniBuff};
    std::string TopMost = "1";             // IniBuff digit 1
    std::string EdgeCode = "3";            // digit 3 ("1" read as "3")
    std::string ToolTips = "1";            // digit 4
    std::string Horizontal = "0";          // digit 5
    std::string SaveOnExit = "1";          // digit 6
    std::string IconSizeIndex = "0";       // digit 7
    std::string AutoHide = "1";            // digit 8
    std::string AutoHideDelayIndex = "1";  // digit 9

    std::string SaveX = "0";
    std::string SaveY = "0";
    int32_t Width = 0;   // read, never written
    int32_t Height = 0;  // read, never written
    std::string ToolBox = "10";
    std::string DragDrop = "1";
    std::string WaveFile;
    std::string Time = std::string(kTimeFieldWidth, ' ');  // always 40 characters
    std::string DispType = "1";
    std::string TargetDrop = "0";
    std::string SplashLogo = "0";
    std::string WallPaperChenge = "0";
    std::string WallPaperChengeTimer = "0";
    std::string MediaEject = "0";
    std::string ButtonFlat = "1";
    std::string ExMenuCount = "10";
    // The device name of the monitor the bar docks on; empty means the
    // primary. Kept as read even when no monitor has it: it may come back.
    std::string Monitor;
    // The global key's word in decimal; empty: none, and the key is not written.
    std::string HotKey;
    // The global key of the entry search, stored as HotKey is.
    std::string SearchHotKey;
    // The language of the interface ("ja", "en"); empty: Windows' own. Kept
    // as read, a code no table has included; it takes effect at the next start.
    std::string Language;
    // "1": a click on a running entry brings its window forward. Empty (the
    // key absent) means "0"; the key is written once the user changes it.
    std::string BringToFront;

    // "hh:mm" of each alarm slot, derived from Time.
    std::array<std::string, kAlarmSlots> AlarmTimes;
};

// The options dialog's controls, copied out of it by its view.
// A field added here is also taken in EditsOver (option_set.cpp).
struct OptionSetState {
    int ChkTemae = 0;         // keep the bar in front
    int ChkEndSave = 0;       // save at exit
    int cboSmallIcon = 0;     // icon size list index
    int ChkAutoDelete = 0;    // auto-hide
    int CmbAutoDelete = 0;    // auto-hide delay list index
    int chkMediaEject = 0;
    int optPosition = 2;      // 0 top, 1 bottom, 2 left, 3 right
    int ChkDispToolTip = 0;
    std::string TxtWavePath;
    std::array<std::string, kAlarmSlots> TxtHour;
    std::array<std::string, kAlarmSlots> TxtMinute;
    int chkTarget = 0;
    int chkSplash = 0;
    int chkWallPaperChange = 0;
    std::string txtWallPaperChangeTimer;
    int chkButtonFlat = 0;
    std::string txtExMenuCount;
    int chkBringToFront = 0;
};

std::string SettingsFilePath(const std::string& applicationPath);

// Reads every key; an unreadable file leaves `settings` as they were and
// reads no key. Only an absent file is a first run.
ReadOutcome LoadSettings(Settings& settings, Profile& profile, const std::string& file);
// Writes every key in one replacement of the file; false when that failed
// (the file is then as it was).
[[nodiscard]] bool SaveSettings(const Settings& settings, Profile& profile, const std::string& file);
void StoreOptionSettings(Settings& settings, const OptionSetState& options);
void RebuildAlarmTimes(Settings& settings);
inline bool BringsToFront(const Settings& settings) { return settings.BringToFront == "1"; }

}  // namespace tavi
