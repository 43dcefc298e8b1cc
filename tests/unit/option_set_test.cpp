#include <gtest/gtest.h>

#include "app/settings.h"
#include "fakes/dialog_fakes.h"
#include "fakes/fakes.h"
#include "fakes/set_setting.h"
#include "fakes/tool_fakes.h"
#include "fakes/info_fakes.h"
#include "platform/ini_profile.h"
#include "tools/option_set.h"

using namespace tavi;
using fakes::FakeBarServices;
using fakes::FakeDriveSpaces;

namespace {

Settings WithIniBuff(const std::string& digits) {
    fakes::RecordingProfile profile;
    profile.Set("f", "IniBuff", "IniBuff", digits);
    Settings s;
    LoadSettings(s, profile, "f");
    return s;
}

}  // namespace

TEST(OptionSetLoad, DefaultsShowAsTheFileDescribesThem) {
    Settings s;
    const OptionSetView view = OptionSetLoad(s);
    const OptionSetState& c = view.controls;
    EXPECT_EQ(c.ChkTemae, 1);
    EXPECT_EQ(c.ChkEndSave, 1);
    EXPECT_EQ(c.cboSmallIcon, 0);
    EXPECT_EQ(c.ChkAutoDelete, 1);
    EXPECT_TRUE(view.autoHideDelayEnabled);
    EXPECT_EQ(c.CmbAutoDelete, 1);
    EXPECT_EQ(c.optPosition, 2);  // left
    EXPECT_EQ(c.ChkDispToolTip, 1);
    EXPECT_EQ(c.chkButtonFlat, 1);
    EXPECT_EQ(c.chkMediaEject, 0);
    EXPECT_EQ(c.txtExMenuCount, "10");
    EXPECT_EQ(c.txtWallPaperChangeTimer, "0");
    EXPECT_FALSE(view.wallPaperTimerEnabled);
    for (size_t i = 0; i < kAlarmSlots; ++i) {
        EXPECT_EQ(c.TxtHour[i], "") << "slot " << i;
        EXPECT_EQ(c.TxtMinute[i], "") << "slot " << i;
    }
}

TEST(OptionSetLoad, IniBuffDigitsReachTheirControls) {
    const struct {
        const char* iniBuff;
        int position, temae, toolTips, endSave, iconSize, autoHide, delay;
        bool delayEnabled;
    } cases[] = {
        {"102111214", 0, 1, 1, 1, 2, 1, 4, true},   // top, 24x24, 2.5 s
        {"003011100", 1, 0, 0, 1, 1, 0, 0, false},  // bottom, 16x16, no auto-hide
        {"103101011", 2, 1, 1, 1, 0, 1, 1, true},   // left: the defaults
        {"102100009", 3, 1, 1, 0, 0, 0, 9, false},  // right, 5.0 s
        {"101101011", 2, 1, 1, 1, 0, 1, 1, true},   // a "1" edge digit reads as "3"
        {"1", 2, 1, 0, 0, 0, 0, 0, false},          // padded with zeros: edge "0" is not "2"
        {"1031010x1", 2, 1, 1, 1, 0, 0, 1, false},  // auto-hide only when the digit is "1"
        {"10310170z", 2, 1, 1, 1, 0, 0, 1, false},  // list indices the lists lack take the defaults
    };
    for (const auto& c : cases) {
        const OptionSetView view = OptionSetLoad(WithIniBuff(c.iniBuff));
        const OptionSetState& o = view.controls;
        SCOPED_TRACE(c.iniBuff);
        EXPECT_EQ(o.optPosition, c.position);
        EXPECT_EQ(o.ChkTemae, c.temae);
        EXPECT_EQ(o.ChkDispToolTip, c.toolTips);
        EXPECT_EQ(o.ChkEndSave, c.endSave);
        EXPECT_EQ(o.cboSmallIcon, c.iconSize);
        EXPECT_EQ(o.ChkAutoDelete, c.autoHide);
        EXPECT_EQ(o.CmbAutoDelete, c.delay);
        EXPECT_EQ(view.autoHideDelayEnabled, c.delayEnabled);
    }
}

TEST(OptionSetLoad, AlarmSlotsAtMidnightShowEmptyBoxes) {
    Settings s;
    s.Time = "0730" "0000" "2359" "  15" "0700" "0000" "0000" "0000" "0000" "1200";
    const OptionSetState c = OptionSetLoad(s).controls;
    const std::pair<const char*, const char*> expected[] = {{"07", "30"}, {"", ""}, {"23", "59"}, {"", "15"},
                                                            {"07", "00"}, {"", ""}, {"", ""},     {"", ""},
                                                            {"", ""},     {"12", "00"}};
    for (size_t i = 0; i < kAlarmSlots; ++i) {
        EXPECT_EQ(c.TxtHour[i], expected[i].first) << "slot " << i;
        EXPECT_EQ(c.TxtMinute[i], expected[i].second) << "slot " << i;
    }
}

TEST(OptionSetLoad, OtherPageAndWaveFile) {
    Settings s;
    s.WaveFile = "  C:\\音\\ding.wav  ";
    s.TargetDrop = "1";
    s.SplashLogo = "abc";  // not a number: unchecked, as start-up reads it
    s.WallPaperChenge = "1";
    s.WallPaperChengeTimer = "15";
    s.ExMenuCount = "20";
    s.MediaEject = "1";
    s.ButtonFlat = "0";
    const OptionSetView view = OptionSetLoad(s);
    EXPECT_EQ(view.controls.TxtWavePath, "C:\\音\\ding.wav");
    EXPECT_EQ(view.controls.chkTarget, 1);
    EXPECT_EQ(view.controls.chkSplash, 0);
    EXPECT_EQ(view.controls.chkWallPaperChange, 1);
    EXPECT_TRUE(view.wallPaperTimerEnabled);
    EXPECT_EQ(view.controls.txtWallPaperChangeTimer, "15");
    EXPECT_EQ(view.controls.txtExMenuCount, "20");
    EXPECT_EQ(view.controls.chkMediaEject, 1);
    EXPECT_EQ(view.controls.chkButtonFlat, 0);
}

TEST(DriveSpaceLines, FixedAndNetworkDrivesWithFreeMegabytesInFull) {
    fakes::FakeSystemInfo system;
    system.drives = {{"A:\\", DriveType::Removable, ""}, {"C:\\", DriveType::Fixed, ""},
                     {"D:\\", DriveType::CdRom, ""},     {"E:\\", DriveType::Fixed, ""},
                     {"F:\\", DriveType::Remote, ""},    {"G:\\", DriveType::Fixed, ""},
                     {"H:\\", DriveType::RamDisk, ""}};
    FakeDriveSpaces drives;
    drives.drives["C:\\"] = {0, 3ull * 1024 * 1024 * 1024 * 1024 + 5 * 1048576 + 1048575};  // 3 TB and a bit
    drives.drives["E:\\"] = {0, 1048575};                                                    // under 1 MB
    drives.drives["F:\\"] = {0, 2500ull * 1048576};
    // G: cannot be asked.
    const std::vector<std::string> lines = DriveSpaceLines(system, drives);
    const std::vector<std::string> expected = {
        // The kind texts carry their own blanks, then 20 characters of megabytes.
        " C:\\(ﾊｰﾄﾞﾃﾞｨｽｸ)    " + std::string(11, ' ') + "3,145,733 MB",
        " E:\\(ﾊｰﾄﾞﾃﾞｨｽｸ)    " + std::string(19, ' ') + "0 MB",
        " F:\\(ﾈｯﾄﾜｰｸ)       " + std::string(15, ' ') + "2,500 MB",
        " G:\\(ﾊｰﾄﾞﾃﾞｨｽｸ)    " + std::string(19, ' ') + "0 MB",
    };
    EXPECT_EQ(lines, expected);
}

TEST(DriveSpaceLines, AnyNumberOfDrives) {
    fakes::FakeSystemInfo system;
    FakeDriveSpaces drives;
    for (char letter = 'C'; letter <= 'Z'; ++letter) system.drives.push_back({std::string(1, letter) + ":\\", DriveType::Fixed, ""});
    EXPECT_EQ(DriveSpaceLines(system, drives).size(), 24u);
}

TEST(PreviewOnPicture, TheBarSitsOnTheChosenEdgeOfTheScreen) {
    // At the picture's own size in pixels at 96 dpi (15 twips a pixel), and
    // twice that; each preview lies inside the screen and along its edge.
    for (const int scale : {1, 2}) {
        const int width = kMonitorPictureWidth / 15 * scale, height = kMonitorPictureHeight / 15 * scale;
        const Rect s = MonitorScreenTwips();
        const Rect screen{s.left * width / kMonitorPictureWidth, s.top * height / kMonitorPictureHeight,
                          s.right * width / kMonitorPictureWidth, s.bottom * height / kMonitorPictureHeight};
        const Rect top = PreviewOnPicture(0, width, height), bottom = PreviewOnPicture(1, width, height),
                   left = PreviewOnPicture(2, width, height), right = PreviewOnPicture(3, width, height);
        SCOPED_TRACE(scale);
        EXPECT_EQ(top, (Rect{16 * scale, 16 * scale, 137 * scale, 25 * scale}));
        EXPECT_EQ(bottom, (Rect{16 * scale, 96 * scale, 137 * scale, 105 * scale}));
        EXPECT_EQ(left, (Rect{16 * scale, 16 * scale, 25 * scale, 105 * scale}));
        EXPECT_EQ(right, (Rect{128 * scale, 16 * scale, 137 * scale, 105 * scale}));
        EXPECT_EQ(top.top, screen.top);
        EXPECT_EQ(bottom.bottom, screen.bottom);
        EXPECT_EQ(left.left, screen.left);
        EXPECT_EQ(right.right, screen.right);
    }
}

TEST(OptionSetKeys, NumberBoxesTakeDigitsAndBackspaceOnly) {
    for (uint32_t c = 0; c < 0x3000; ++c)
        EXPECT_EQ(NumberBoxAccepts(c), (c >= '0' && c <= '9') || c == 8) << "character " << c;
}

TEST(OptionSetKeys, EnterInATimeBoxEmptiesItUnlessItIsANumber) {
    const struct {
        uint32_t key;
        const char* text;
        bool discard, clear;
    } cases[] = {
        {13, "ab", true, true},  {13, "7", true, false}, {13, " 7", true, false}, {13, "", true, true},
        {'a', "ab", false, false}, {'5', "", false, false}, {8, "x", false, false},
    };
    for (const auto& c : cases) {
        const TimeBoxKey key = TimeBoxKeyPressed(c.key, c.text);
        EXPECT_EQ(key.discard, c.discard) << c.key << " on \"" << c.text << "\"";
        EXPECT_EQ(key.clear, c.clear) << c.key << " on \"" << c.text << "\"";
    }
}

TEST(OptionSetWave, BrowseAsksForWaveFilesAndKeepsTheBoxOnCancel) {
    fakes::FakeFileChooser chooser;
    OptionSetView view;
    view.controls.TxtWavePath = "C:\\old.wav";
    chooser.answers = {"", "D:\\新しい.wav"};
    OptionSetBrowseWave(view, chooser, 0x99);
    EXPECT_EQ(view.controls.TxtWavePath, "C:\\old.wav");
    OptionSetBrowseWave(view, chooser, 0x99);
    EXPECT_EQ(view.controls.TxtWavePath, "D:\\新しい.wav");
    ASSERT_EQ(chooser.files.size(), 2u);
    EXPECT_EQ(chooser.files[0].owner, 0x99u);
    EXPECT_EQ(chooser.files[0].title, "WAVEﾌｧｲﾙの参照");
    EXPECT_EQ(chooser.files[0].filter, "Wave Files (*.wav)|*.wav");
    EXPECT_EQ(chooser.files[0].initialName, "");
    EXPECT_EQ(chooser.files[0].filterIndex, 1);
    EXPECT_EQ(chooser.files[0].initialFolder, "");
}

TEST(OptionSetLinks, ACaptionIsOpenedByTheShell) {
    fakes::FakeShell shell;
    OptionSetOpenLink(shell, "https://example.jp/tavi/");
    ASSERT_EQ(shell.opened.size(), 1u);
    EXPECT_EQ(shell.opened[0].verb, "open");
    EXPECT_EQ(shell.opened[0].file, "https://example.jp/tavi/");
    EXPECT_EQ(shell.opened[0].parameters, "");
}

// An address the build did not set has no link: nothing points nowhere.
TEST(OptionSetLinks, OnlyTheAddressesTheBuildSetAreShown) {
    const struct {
        const char *home, *mail;
        std::vector<std::string> links;
    } cases[] = {
        {"", "", {}},
        {"https://example.jp/tavi/", "", {"https://example.jp/tavi/"}},
        {"", "tavi@example.jp", {"mailto:tavi@example.jp"}},
        {"https://example.jp/tavi/", "tavi@example.jp", {"https://example.jp/tavi/", "mailto:tavi@example.jp"}},
    };
    for (const auto& c : cases) EXPECT_EQ(ContactLinks(c.home, c.mail), c.links) << c.home << " " << c.mail;
}

TEST(OptionSetOk, StoresTheControlsAndAppliesThemToTheBar) {
    const struct {
        bool visible;
        int temae, wallPaper;
        std::vector<std::string> during, after;
    } cases[] = {
        {true, 1, 1, {"bar topmost", "wallpaper timer restart", "alarm timer"}, {"bar redock force"}},
        {true, 0, 0, {"bar not topmost", "wallpaper timer off", "alarm timer"}, {"bar redock force"}},
        {false, 1, 0, {"wallpaper timer off", "alarm timer"}, {"bar redock force", "bar show"}},
    };
    for (const auto& c : cases) {
        MenuMain state;
        state.page.ShowFrom(40);
        (void)state.wallpaper.Tick(7, 1000);
        fakes::SetSetting(state, &Settings::ToolBox, "3");
        FakeBarServices bar;
        bar.visible = c.visible;
        OptionSetState controls = OptionSetLoad(state.settings.Values()).controls;
        controls.ChkTemae = c.temae;
        controls.chkWallPaperChange = c.wallPaper;
        controls.optPosition = 3;
        fakes::FakePlatform fake;
        EXPECT_EQ(OptionSetOk(state.settings.Values(), controls, fakes::KeptChoices(state), state, fake.platform, bar).outcome, OptionSetOkOutcome::Applied);
        SCOPED_TRACE(c.visible);
        EXPECT_EQ(bar.calls, c.during);
        EXPECT_EQ(state.page.Offset(), 0);
        EXPECT_EQ(state.wallpaper.Minutes(), 0);
        EXPECT_EQ(state.settings.Values().ToolBox, "10");
        EXPECT_EQ(state.settings.Values().TopMost, std::to_string(c.temae));
        EXPECT_EQ(state.settings.Values().Horizontal, "0");  // right
        EXPECT_EQ(state.settings.Values().EdgeCode, "2");
        bar.calls.clear();
        OptionSetAfterOk(bar);
        EXPECT_EQ(bar.calls, c.after);
    }
}

TEST(OptionSetOk, AMemberCountThatReadsAsZeroBecomesOne) {
    const std::pair<const char*, const char*> cases[] = {
        {"", "1"}, {" ", "1"}, {"0", "1"}, {"00", "1"}, {"1", "1"}, {"05", "05"}, {"99", "99"},
    };
    for (const auto& [typed, stored] : cases) {
        MenuMain state;
        FakeBarServices bar;
        OptionSetState controls = OptionSetLoad(state.settings.Values()).controls;
        controls.txtExMenuCount = typed;
        fakes::FakePlatform fake;
        (void)OptionSetOk(state.settings.Values(), controls, fakes::KeptChoices(state), state, fake.platform, bar).outcome;
        EXPECT_EQ(state.settings.Values().ExMenuCount, stored) << "typed \"" << typed << "\"";
    }
}

// Through the real file: the options are stored, the re-dock writes the
// file, the next start reads it and the dialog shows it again.
TEST(OptionSetOk, ConfirmedOptionsComeBackExactlyAfterARestart) {
    fakes::TempFolder folder;
    HostFileSystem files;
    IconvCodePage codePage;
    IniProfile profile(files, codePage);
    const std::string path = SettingsFilePath(folder.Path());

    MenuMain state;
    fakes::SetSetting(state, &Settings::SaveX, "1234");
    FakeBarServices bar;
    OptionSetState controls = OptionSetLoad(state.settings.Values()).controls;
    controls.optPosition = 0;  // top
    controls.cboSmallIcon = 1;
    controls.ChkEndSave = 0;
    controls.TxtWavePath = "C:\\ｻｳﾝﾄﾞ\\ding.wav";
    controls.txtExMenuCount = "00";
    controls.TxtHour[0] = " 7";  // trimmed text is numeric, so the box keeps its blank
    controls.TxtMinute[0] = "30";
    controls.TxtHour[1] = "12";
    controls.TxtMinute[1] = "5 ";
    controls.TxtHour[2] = "ab";  // no digits: stored as an empty box
    controls.TxtMinute[2] = "-1";
    controls.TxtHour[9] = "23";
    controls.TxtMinute[9] = "59";
    fakes::FakePlatform fake;
    ASSERT_EQ(OptionSetOk(state.settings.Values(), controls, fakes::KeptChoices(state), state, fake.platform, bar).outcome, OptionSetOkOutcome::Applied);
    EXPECT_TRUE(state.settings.Save(profile, path));

    Settings restarted;
    LoadSettings(restarted, profile, path);
    EXPECT_EQ(restarted.Time, "0730" "1205" "0000" "0000" "0000" "0000" "0000" "0000" "0000" "2359");
    EXPECT_EQ(restarted.AlarmTimes[0], "07:30");
    EXPECT_EQ(restarted.AlarmTimes[1], "12:05");
    EXPECT_EQ(restarted.AlarmTimes[9], "23:59");
    EXPECT_EQ(restarted.IniBuff, "102110111");
    EXPECT_EQ(restarted.SaveX, "0");
    EXPECT_EQ(restarted.SaveY, "0");
    EXPECT_EQ(restarted.WaveFile, "C:\\ｻｳﾝﾄﾞ\\ding.wav");
    EXPECT_EQ(restarted.ExMenuCount, "1");
    const OptionSetState shown = OptionSetLoad(restarted).controls;
    EXPECT_EQ(shown.TxtHour[0], "07");
    EXPECT_EQ(shown.TxtMinute[0], "30");
    EXPECT_EQ(shown.TxtHour[2], "");
    EXPECT_EQ(shown.TxtMinute[2], "");
    EXPECT_EQ(shown.optPosition, 0);
    EXPECT_EQ(shown.cboSmallIcon, 1);
    EXPECT_EQ(shown.ChkEndSave, 0);
}

