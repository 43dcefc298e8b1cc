#include <gtest/gtest.h>

#include "app/settings.h"
#include "platform/ini_profile.h"
#include "fakes/fakes.h"

using namespace tavi;
using fakes::RecordingProfile;

namespace {

const std::string kFile = "C:\\Tavi\\TaviLaunch.ini";

Settings Load(RecordingProfile& profile) {
    Settings s;
    s.SaveX = "stale";  // loading must replace every field
    LoadSettings(s, profile, kFile);
    return s;
}

}  // namespace

TEST(LoadSettings, MissingFileGivesEveryDefault) {
    RecordingProfile profile;
    const Settings s = Load(profile);
    EXPECT_EQ(s.IniBuff, "103101011");
    EXPECT_EQ(s.TopMost, "1");
    EXPECT_EQ(s.EdgeCode, "3");
    EXPECT_EQ(s.ToolTips, "1");
    EXPECT_EQ(s.Horizontal, "0");
    EXPECT_EQ(s.SaveOnExit, "1");
    EXPECT_EQ(s.IconSizeIndex, "0");
    EXPECT_EQ(s.AutoHide, "1");
    EXPECT_EQ(s.AutoHideDelayIndex, "1");
    EXPECT_EQ(s.SaveX, "0");
    EXPECT_EQ(s.SaveY, "0");
    EXPECT_EQ(s.Width, 0);
    EXPECT_EQ(s.Height, 0);
    EXPECT_EQ(s.ToolBox, "10");
    EXPECT_EQ(s.DragDrop, "1");
    EXPECT_EQ(s.WaveFile, "");
    EXPECT_EQ(s.Time, std::string(40, ' '));
    EXPECT_EQ(s.DispType, "1");
    EXPECT_EQ(s.TargetDrop, "0");
    EXPECT_EQ(s.SplashLogo, "0");
    EXPECT_EQ(s.WallPaperChenge, "0");
    EXPECT_EQ(s.WallPaperChengeTimer, "0");
    EXPECT_EQ(s.MediaEject, "0");
    EXPECT_EQ(s.ButtonFlat, "1");
    EXPECT_EQ(s.ExMenuCount, "10");
    for (const std::string& alarm : s.AlarmTimes) EXPECT_EQ(alarm, "  :  ");
}

TEST(LoadSettings, KeysAreReadInTheirFixedOrder) {
    RecordingProfile profile;
    Load(profile);
    std::vector<std::string> order;
    for (const auto& call : profile.calls) order.push_back(call.section + "/" + call.key);
    const std::vector<std::string> expected = {
        "IniBuff/IniBuff",         "Place/SaveX",        "Place/SaveY",       "ToolBox/ToolBox",
        "DragDrop/DragDrop",       "Time/WaveFile",      "Time/Time",         "Option/DispType",
        "Place/Width",             "Place/Height",       "Option/TargetDrop", "Option/SplashLogo",
        "Option/WallPaperChenge",  "Option/WallPaperChengeTimer",             "Option/MediaEject",
        "Option/ButtonFlat",       "Option/ExMenuCount",  "Option/Monitor",  "Option/HotKey",
        "Option/SearchHotKey",     "Option/Language",    "Option/BringToFront",
    };
    EXPECT_EQ(order, expected);
}

TEST(LoadSettings, IniBuffDigitRules) {
    const struct {
        const char* stored;
        const char* iniBuff;
        const char* edgeCode;
        const char* toolTips;
        const char* autoHideDelay;
    } cases[] = {
        {"11", "110000000", "0", "0", "0"},                 // short: padded with zeros, flags digit by digit
        {"101101012", "101101012", "3", "1", "2"},          // position 3 "1" reads as "3", the text keeps "1"
        {"102111113", "102111113", "2", "1", "3"},
        {"1031010119999", "103101011", "3", "1", "1"},      // long: cut to nine
        {"ab3", "ab3000000", "3", "0", "0"},                // not digits: held as they are
    };
    for (const auto& c : cases) {
        RecordingProfile profile;
        profile.Set(kFile, "IniBuff", "IniBuff", c.stored);
        const Settings s = Load(profile);
        EXPECT_EQ(s.IniBuff, c.iniBuff) << c.stored;
        EXPECT_EQ(s.EdgeCode, c.edgeCode) << c.stored;
        EXPECT_EQ(s.ToolTips, c.toolTips) << c.stored;
        EXPECT_EQ(s.AutoHideDelayIndex, c.autoHideDelay) << c.stored;
    }
}

TEST(LoadSettings, TimeFieldIsFortyCharactersWide) {
    RecordingProfile profile;
    profile.Set(kFile, "Time", "Time", "0730121");
    Settings s = Load(profile);
    EXPECT_EQ(s.Time, "0730121" + std::string(33, ' '));
    EXPECT_EQ(s.AlarmTimes[0], "07:30");
    EXPECT_EQ(s.AlarmTimes[1], "12:1 ");
    EXPECT_EQ(s.AlarmTimes[2], "  :  ");

    profile.Set(kFile, "Time", "Time", std::string(44, '1'));
    s = Load(profile);
    EXPECT_EQ(s.Time, std::string(40, '1'));
    EXPECT_EQ(s.AlarmTimes[9], "11:11");
}

TEST(LoadSettings, ValuesLoseLeadingSpacesAndNumbersTakeTheirLeadingDigits) {
    RecordingProfile profile;
    profile.Set(kFile, "Place", "SaveX", "  120");
    profile.Set(kFile, "Time", "WaveFile", " C:\\音\\ding.wav ");
    profile.Set(kFile, "Place", "Width", "12abc");
    profile.Set(kFile, "Place", "Height", "abc");
    profile.Set(kFile, "Option", "DispType", "5");
    profile.Set(kFile, "Option", "ExMenuCount", "abc");
    const Settings s = Load(profile);
    EXPECT_EQ(s.SaveX, "120");
    EXPECT_EQ(s.WaveFile, "C:\\音\\ding.wav ");
    EXPECT_EQ(s.Width, 12);
    EXPECT_EQ(s.Height, 0);
    EXPECT_EQ(s.DispType, "1");       // any other display type is replaced
    EXPECT_EQ(s.ExMenuCount, "abc");  // kept as text; start-up copes with it
}

TEST(LoadSettings, LongValuesAreNotCut) {
    RecordingProfile profile;
    const std::string longPath = "C:\\" + std::string(300, 'w') + "\\長い名前.wav";
    profile.Set(kFile, "Time", "WaveFile", longPath);
    EXPECT_EQ(Load(profile).WaveFile, longPath);
}

TEST(SaveSettings, WritesEveryKeyInOrderButNeverWidthOrHeight) {
    RecordingProfile profile;
    Settings s;
    s.Width = 500;
    s.Time = "0730" + std::string(36, ' ');
    SaveSettings(s, profile, kFile);
    std::vector<std::string> written;
    for (const auto& call : profile.Writes()) written.push_back(call.section + "/" + call.key + "=" + call.value);
    const std::vector<std::string> expected = {
        "IniBuff/IniBuff=103101011",
        "Place/SaveX=0",
        "Place/SaveY=0",
        "ToolBox/ToolBox=10",
        "DragDrop/DragDrop=1",
        "Time/WaveFile=",
        "Time/Time=0730" + std::string(36, ' '),
        "Option/DispType=1",
        "Option/TargetDrop=0",
        "Option/SplashLogo=0",
        "Option/WallPaperChenge=0",
        "Option/WallPaperChengeTimer=0",
        "Option/MediaEject=0",
        "Option/ButtonFlat=1",
        "Option/ExMenuCount=10",
    };
    EXPECT_EQ(written, expected);
}

TEST(SaveSettings, KeepsThePositionThreeOneUntilTheOptionsAreConfirmed) {
    RecordingProfile profile;
    profile.Set(kFile, "IniBuff", "IniBuff", "101101011");
    Settings s = Load(profile);
    SaveSettings(s, profile, kFile);
    EXPECT_EQ(profile.GetString(kFile, "IniBuff", "IniBuff"), "101101011");
}

namespace {

OptionSetState DefaultDialog() {
    OptionSetState o;
    o.ChkTemae = 1;
    o.ChkEndSave = 1;
    o.cboSmallIcon = 2;
    o.ChkAutoDelete = 1;
    o.CmbAutoDelete = 4;
    o.optPosition = 0;
    o.ChkDispToolTip = 1;
    return o;
}

}  // namespace

TEST(StoreOptionSettings, RebuildsIniBuffFromTheControls) {
    const struct {
        int position;
        const char* horizontal;
        const char* edgeCode;
        const char* iniBuff;
    } cases[] = {
        {0, "1", "2", "102111214"},  // top
        {1, "1", "3", "103111214"},  // bottom
        {2, "0", "3", "103101214"},  // left
        {3, "0", "2", "102101214"},  // right
    };
    for (const auto& c : cases) {
        Settings s;
        s.SaveX = "345";
        OptionSetState o = DefaultDialog();
        o.optPosition = c.position;
        StoreOptionSettings(s, o);
        EXPECT_EQ(s.IniBuff, c.iniBuff) << "position " << c.position;
        EXPECT_EQ(s.Horizontal, c.horizontal) << "position " << c.position;
        EXPECT_EQ(s.EdgeCode, c.edgeCode) << "position " << c.position;
        EXPECT_EQ(s.SaveX, "0");
        EXPECT_EQ(s.SaveY, "0");
    }
}

TEST(StoreOptionSettings, AlarmBoxesArePaddedAndEmptyBoxesBecomeZeros) {
    Settings s;
    s.Time = "9999" + std::string(36, 'x');
    OptionSetState o = DefaultDialog();
    o.TxtHour[0] = "7";
    o.TxtMinute[0] = "5";
    o.TxtHour[1] = "123";  // only the last two characters count
    o.TxtMinute[1] = "45";
    StoreOptionSettings(s, o);
    EXPECT_EQ(s.Time, "0705234500000000000000000000000000000000");
    EXPECT_EQ(s.AlarmTimes[0], "07:05");
    EXPECT_EQ(s.AlarmTimes[1], "23:45");
    EXPECT_EQ(s.AlarmTimes[9], "00:00");
}

TEST(StoreOptionSettings, CopiesTheOtherOptions) {
    Settings s;
    OptionSetState o = DefaultDialog();
    o.TxtWavePath = "C:\\音\\ding.wav";
    o.chkTarget = 1;
    o.chkSplash = 1;
    o.chkWallPaperChange = 1;
    o.txtWallPaperChangeTimer = "  15 ";
    o.chkButtonFlat = 0;
    o.txtExMenuCount = "20";
    o.chkMediaEject = 1;
    o.ChkDispToolTip = 0;
    StoreOptionSettings(s, o);
    EXPECT_EQ(s.WaveFile, "C:\\音\\ding.wav");
    EXPECT_EQ(s.TargetDrop, "1");
    EXPECT_EQ(s.SplashLogo, "1");
    EXPECT_EQ(s.WallPaperChenge, "1");
    EXPECT_EQ(s.WallPaperChengeTimer, "15");
    EXPECT_EQ(s.ButtonFlat, "0");
    EXPECT_EQ(s.ExMenuCount, "20");
    EXPECT_EQ(s.MediaEject, "1");
    EXPECT_EQ(s.ToolTips, "0");
    EXPECT_EQ(s.IniBuff.substr(3, 1), "0");
    EXPECT_EQ(s.DispType, "1");
}

TEST(SettingsFile, DefaultsAreWrittenInSaveOrderAndReadBackUnchanged) {
    fakes::TempFolder folder;
    HostFileSystem files;
    IconvCodePage codePage;
    IniProfile profile(files, codePage);
    const std::string path = SettingsFilePath(folder.Path());

    Settings defaults;
    RebuildAlarmTimes(defaults);
    SaveSettings(defaults, profile, path);
    EXPECT_EQ(files.ReadAll(path).value_or(""),
              "[IniBuff]\r\nIniBuff=103101011\r\n"
              "[Place]\r\nSaveX=0\r\nSaveY=0\r\n"
              "[ToolBox]\r\nToolBox=10\r\n"
              "[DragDrop]\r\nDragDrop=1\r\n"
              "[Time]\r\nWaveFile=\r\nTime=\r\n"  // forty spaces are all leading blanks to the profile
              "[Option]\r\nDispType=1\r\nTargetDrop=0\r\nSplashLogo=0\r\nWallPaperChenge=0\r\n"
              "WallPaperChengeTimer=0\r\nMediaEject=0\r\nButtonFlat=1\r\nExMenuCount=10\r\n");

    Settings back;
    LoadSettings(back, profile, path);
    EXPECT_EQ(back.IniBuff, defaults.IniBuff);
    EXPECT_EQ(back.Time, defaults.Time);
    EXPECT_EQ(back.AlarmTimes, defaults.AlarmTimes);
}

TEST(SettingsFile, LongJapaneseValuesSurviveASaveAndALoad) {
    fakes::TempFolder folder;
    HostFileSystem files;
    IconvCodePage codePage;
    IniProfile profile(files, codePage);
    const std::string path = SettingsFilePath(folder.Path());

    Settings s;
    s.WaveFile = "C:\\サウンド\\" + std::string(400, 'x') + "\\ｱﾗｰﾑ音.wav";
    s.Time = "0730" + std::string(32, ' ') + "2359";
    s.IniBuff = "102111214";
    s.SaveX = "17730";
    SaveSettings(s, profile, path);
    Settings back;
    LoadSettings(back, profile, path);
    EXPECT_EQ(back.WaveFile, s.WaveFile);
    EXPECT_EQ(back.Time, s.Time);
    EXPECT_EQ(back.AlarmTimes[9], "23:59");
    EXPECT_EQ(back.EdgeCode, "2");
    EXPECT_EQ(back.Horizontal, "1");
    EXPECT_EQ(back.SaveX, "17730");
    // The file itself is in code page 932: "サウンド" is 83 54 83 45 83 93 83 68.
    EXPECT_NE(files.ReadAll(path).value_or("").find("\x83\x54\x83\x45\x83\x93\x83\x68"), std::string::npos);
}

TEST(MonitorSetting, IsReadAsItStandsAndWrittenOnlyWhenChosen) {
    const struct {
        const char* what;
        std::string inFile;  // empty: no key
        std::string loaded;
        bool written;
    } cases[] = {
        {"no key means the primary", "", "", false},
        {"a device name", "\\\\.\\DISPLAY2", "\\\\.\\DISPLAY2", true},
        {"a name no monitor has is kept", "\\\\.\\DISPLAY9", "\\\\.\\DISPLAY9", true},
        {"an over-long value is kept whole", std::string(600, 'M'), std::string(600, 'M'), true},
        {"binary bytes are kept", std::string("\x01\x7f\xff\x83", 4), std::string("\x01\x7f\xff\x83", 4), true},
    };
    for (const auto& c : cases) {
        RecordingProfile profile;
        if (!c.inFile.empty()) profile.Set(kFile, "Option", "Monitor", c.inFile);
        const Settings s = Load(profile);
        EXPECT_EQ(s.Monitor, c.loaded) << c.what;
        RecordingProfile out;
        (void)SaveSettings(s, out, kFile);
        bool wrote = false;
        for (const auto& call : out.Writes())
            if (call.section == "Option" && call.key == "Monitor") {
                wrote = true;
                EXPECT_EQ(call.value, c.loaded) << c.what;
            }
        EXPECT_EQ(wrote, c.written) << c.what;
    }
}

TEST(MonitorSetting, AFileWithoutTheKeyKeepsItsBytesAndAChoiceRoundTrips) {
    fakes::TempFolder folder;
    HostFileSystem files;
    IconvCodePage codePage;
    IniProfile profile(files, codePage);
    const std::string path = SettingsFilePath(folder.Path());

    Settings defaults;
    RebuildAlarmTimes(defaults);
    (void)SaveSettings(defaults, profile, path);
    const std::string firstRun = files.ReadAll(path).value_or("");
    EXPECT_EQ(firstRun.find("Monitor"), std::string::npos);
    Settings back;
    LoadSettings(back, profile, path);
    EXPECT_EQ(back.Monitor, "");
    (void)SaveSettings(back, profile, path);
    EXPECT_EQ(files.ReadAll(path).value_or(""), firstRun);

    back.Monitor = "\\\\.\\DISPLAY2";
    (void)SaveSettings(back, profile, path);
    Settings again;
    LoadSettings(again, profile, path);
    EXPECT_EQ(again.Monitor, "\\\\.\\DISPLAY2");
    EXPECT_NE(files.ReadAll(path).value_or("").find("Monitor=\\\\.\\DISPLAY2\r\n"), std::string::npos);
}

TEST(BringToFrontSetting, AbsentMeansOffAndIsWrittenOnlyOnceChanged) {
    const struct {
        const char* what;
        std::string inFile;  // empty: no key
        int box;             // the options' check box as confirmed; -1: options not confirmed
        bool on;
        const char* written;  // nullptr: no key written
    } cases[] = {
        {"absent stays absent", "", -1, false, nullptr},
        {"absent, options confirmed unchanged", "", 0, false, nullptr},
        {"absent, turned on", "", 1, true, "1"},
        {"on, turned off is written as 0", "1", 0, false, "0"},
        {"on kept", "1", -1, true, "1"},
        {"a bad value is off and kept as read", "yes", -1, false, "yes"},
        {"a bad value confirmed becomes 0", "yes", 0, false, "0"},
    };
    for (const auto& c : cases) {
        RecordingProfile profile;
        if (!c.inFile.empty()) profile.Set(kFile, "Option", "BringToFront", c.inFile);
        Settings s = Load(profile);
        if (c.box >= 0) {
            OptionSetState options;
            options.chkBringToFront = c.box;
            StoreOptionSettings(s, options);
        }
        EXPECT_EQ(BringsToFront(s), c.on) << c.what;
        RecordingProfile out;
        (void)SaveSettings(s, out, kFile);
        const char* wrote = nullptr;
        std::string value;
        for (const auto& call : out.Writes())
            if (call.section == "Option" && call.key == "BringToFront") value = call.value, wrote = value.c_str();
        if (c.written == nullptr)
            EXPECT_EQ(wrote, nullptr) << c.what;
        else
            EXPECT_EQ(value, c.written) << c.what;
    }
}
