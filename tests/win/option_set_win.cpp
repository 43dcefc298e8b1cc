#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include "fakes/set_setting.h"
#include "app/menu_main.h"
#include "app/settings.h"
#include "dialog_driver_win.h"
#include "platform/registry_win.h"
#include "platform/win32_adapters_win.h"
#include "temp_folder_win.h"
#include "tool_doubles_win.h"
#include "tools/option_set.h"
#include "tools/option_set_ids.h"
#include "tools/option_set_win.h"

using namespace tavi;
using namespace dialog_driver;

namespace {

const std::wstring kCaption = L"ｵﾌﾟｼｮﾝ";

std::vector<std::string> Tabs(HWND dialog) {
    std::vector<std::string> tabs;
    HWND tab = GetDlgItem(dialog, IDC_OPTION_TAB);
    const auto count = SendMessageW(tab, TCM_GETITEMCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        wchar_t buffer[64] = {};
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = buffer;
        item.cchTextMax = 64;
        SendMessageW(tab, TCM_GETITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
        tabs.push_back(Narrow(buffer));
    }
    return tabs;
}

std::vector<std::string> ComboItems(HWND dialog, int id) {
    std::vector<std::string> items;
    const auto count = SendDlgItemMessageW(dialog, id, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        wchar_t buffer[64] = {};
        SendDlgItemMessageW(dialog, id, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(buffer));
        items.push_back(Narrow(buffer));
    }
    return items;
}

std::vector<std::string> ListItems(HWND dialog, int id) {
    std::vector<std::string> items;
    const auto count = SendDlgItemMessageW(dialog, id, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        std::wstring buffer(static_cast<size_t>(SendDlgItemMessageW(dialog, id, LB_GETTEXTLEN, i, 0)) + 1, L'\0');
        SendDlgItemMessageW(dialog, id, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(buffer.data()));
        items.push_back(Narrow(buffer.c_str()));
    }
    return items;
}

// What a click on a tab tells the dialog.
void SelectTab(HWND dialog, int page) {
    HWND tab = GetDlgItem(dialog, IDC_OPTION_TAB);
    SendMessageW(tab, TCM_SETCURSEL, static_cast<WPARAM>(page), 0);
    NMHDR header{tab, IDC_OPTION_TAB, TCN_SELCHANGE};
    SendMessageW(dialog, WM_NOTIFY, IDC_OPTION_TAB, reinterpret_cast<LPARAM>(&header));
}

bool Visible(HWND dialog, int id) { return IsWindowVisible(GetDlgItem(dialog, id)) != FALSE; }
bool Checked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }

void Type(HWND dialog, int id, wchar_t character) {
    SendMessageW(GetDlgItem(dialog, id), WM_CHAR, character, 1);
}

// The monitor picture's pixel at a point given as a share of its size.
uint32_t PicturePixel(HWND dialog, double x, double y) {
    const auto canvas = Render(GetDlgItem(dialog, IDC_OPTION_DISPLAY));
    return Pixel(*canvas, static_cast<int>(canvas->Width() * x), static_cast<int>(canvas->Height() * y));
}

// Pixels of a link drawn in red (0xFF0000 as RGB) and in blue.
std::pair<int, int> RedAndBlue(HWND dialog, int id) {
    const auto canvas = Render(GetDlgItem(dialog, id));
    int red = 0, blue = 0;
    for (int y = 0; y < canvas->Height(); ++y)
        for (int x = 0; x < canvas->Width(); ++x) {
            const uint32_t p = Pixel(*canvas, x, y);
            if (p == 0xFF0000) ++red;
            if (p == 0x0000FF) ++blue;
        }
    return {red, blue};
}

class OptionSetWin : public ::testing::Test {
protected:
    TempFolder folder;
    Win32Profile profile;
    Win32FileSystem files;
    Win32CodePage codePage;
    Win32SystemInfo system;
    tool_doubles::RecordingShell shell;
    Win32MessageBoxes messages;
    Platform platform{profile, files, codePage, system, shell, messages};
    QueuedChooser chooser;
    RecordingBar bar;
    tool_doubles::RecordingSound sound;
    tool_doubles::TableDrives drives;
    Win32Registry registry;
    MenuMain state;

    // Settings as the program would read them from its file at start.
    void SetUp() override {
        state.ApplicationPath = folder.PathOf("");
        const std::string file = SettingsFilePath(state.ApplicationPath);
        const struct {
            const char *section, *key, *value;
        } keys[] = {
            {"IniBuff", "IniBuff", "102111214"},  // top, 24x24, auto-hide after 2.5 s
            {"Time", "Time", "07300000"},
            {"Time", "WaveFile", "C:\\ｻｳﾝﾄﾞ\\ding.wav"},
            {"Option", "ExMenuCount", "12"},
        };
        for (const auto& k : keys) ASSERT_TRUE(profile.WriteString(file, k.section, k.key, k.value));
        ASSERT_TRUE(state.settings.Read(profile, file));
        drives.spaces["C:\\"] = {0, 3ull * 1073741824 + 5 * 1048576};
    }
};

}  // namespace

TEST_F(OptionSetWin, EveryPageShowsItsControlsAndTheSettings) {
    struct Seen {
        std::string caption;
        std::vector<std::string> tabs, sizes, delays, drives;
        std::vector<std::pair<int, std::string>> captions;
        int sizeSelected = -1, delaySelected = -1;
        bool top = false, autoHide = false, delayEnabled = false, timerEnabled = true;
        std::string exMenuCount, wavePath, hour0, minute0, hour1, version;
        std::vector<std::vector<bool>> visibleByPage;
    } seen;
    const int perPage[4] = {IDC_OPTION_BUTTON_FLAT, IDC_OPTION_EX_MENU_COUNT, IDC_OPTION_WAVE_PATH,
                            IDC_OPTION_DRIVE_SPACE};
    WhileShown shown(kCaption, [&](HWND dialog) {
        seen.caption = Text(dialog);
        seen.tabs = Tabs(dialog);
        for (int id : {IDC_OPTION_BUTTON_FLAT, IDC_OPTION_SMALL_ICON_LABEL, IDC_OPTION_POSITION_LABEL,
                       IDC_OPTION_POSITION_TOP, IDC_OPTION_POSITION_BOTTOM, IDC_OPTION_POSITION_LEFT,
                       IDC_OPTION_POSITION_RIGHT, IDC_OPTION_TOPMOST, IDC_OPTION_AUTO_HIDE, IDC_OPTION_SECONDS,
                       IDC_OPTION_TOOLTIPS, IDC_OPTION_EX_MENU_LABEL, IDC_OPTION_NEXT_START, IDC_OPTION_TARGET_DROP,
                       IDC_OPTION_MEDIA_EJECT, IDC_OPTION_END_SAVE, IDC_OPTION_START_WITH_WINDOWS, IDC_OPTION_WALLPAPER_CHANGE, IDC_OPTION_MINUTES,
                       IDC_OPTION_NO_SPLASH, IDC_OPTION_WAVE_LABEL, IDC_OPTION_WAVE_TEST, IDC_OPTION_WAVE_STOP,
                       IDC_OPTION_SLOT_LABEL0 + 9, IDC_OPTION_TITLE, IDOK, IDCANCEL})
            seen.captions.push_back({id, ItemText(dialog, id)});
        seen.sizes = ComboItems(dialog, IDC_OPTION_SMALL_ICON);
        seen.delays = ComboItems(dialog, IDC_OPTION_AUTO_HIDE_DELAY);
        seen.sizeSelected = static_cast<int>(SendDlgItemMessageW(dialog, IDC_OPTION_SMALL_ICON, CB_GETCURSEL, 0, 0));
        seen.delaySelected =
            static_cast<int>(SendDlgItemMessageW(dialog, IDC_OPTION_AUTO_HIDE_DELAY, CB_GETCURSEL, 0, 0));
        seen.top = Checked(dialog, IDC_OPTION_POSITION_TOP);
        seen.autoHide = Checked(dialog, IDC_OPTION_AUTO_HIDE);
        seen.delayEnabled = Enabled(dialog, IDC_OPTION_AUTO_HIDE_DELAY);
        seen.timerEnabled = Enabled(dialog, IDC_OPTION_WALLPAPER_TIMER);
        seen.exMenuCount = ItemText(dialog, IDC_OPTION_EX_MENU_COUNT);
        seen.wavePath = ItemText(dialog, IDC_OPTION_WAVE_PATH);
        seen.hour0 = ItemText(dialog, IDC_OPTION_HOUR0);
        seen.minute0 = ItemText(dialog, IDC_OPTION_MINUTE0);
        seen.hour1 = ItemText(dialog, IDC_OPTION_HOUR0 + 1);
        seen.version = ItemText(dialog, IDC_OPTION_VERSION);
        seen.drives = ListItems(dialog, IDC_OPTION_DRIVE_SPACE);
        for (int page = 0; page < 4; ++page) {
            if (page > 0) SelectTab(dialog, page);
            std::vector<bool> visible;
            for (int id : perPage) visible.push_back(Visible(dialog, id));
            seen.visibleByPage.push_back(visible);
        }
    });
    EXPECT_EQ(ShowOptionSet(0, state, platform, bar, chooser, sound, drives, registry), 0);
    ASSERT_TRUE(shown.Join()) << "the dialog did not appear";

    EXPECT_EQ(seen.caption, "ｵﾌﾟｼｮﾝ");
    EXPECT_EQ(seen.tabs, (std::vector<std::string>{"表示", "動作", "ﾀｲﾏｰ", "ﾊﾞｰｼﾞｮﾝ情報"}));
    const std::vector<std::pair<int, std::string>> captions = {
        {IDC_OPTION_BUTTON_FLAT, "ﾎﾞﾀﾝをﾌﾗｯﾄにする(&F) ※次回起動時有効"},
        {IDC_OPTION_SMALL_ICON_LABEL, "でｱｲｺﾝを表示する"},
        {IDC_OPTION_POSITION_LABEL, "表示位置(&P)"},
        {IDC_OPTION_POSITION_TOP, "上端"},
        {IDC_OPTION_POSITION_BOTTOM, "下端"},
        {IDC_OPTION_POSITION_LEFT, "左端"},
        {IDC_OPTION_POSITION_RIGHT, "右端"},
        {IDC_OPTION_TOPMOST, "常に手前に表示する(&T)"},
        {IDC_OPTION_AUTO_HIDE, "自動的に隠す(&A)"},
        {IDC_OPTION_SECONDS, "秒後"},
        {IDC_OPTION_TOOLTIPS, "ﾂｰﾙﾁｯﾌﾟを表示する(D)"},
        {IDC_OPTION_EX_MENU_LABEL, "拡張ﾒﾆｭｰ登録可能ｱｲﾃﾑ数(&K)"},
        {IDC_OPTION_NEXT_START, "※再起同時有効"},
        {IDC_OPTION_TARGET_DROP, "ﾀｰｹﾞｯﾄﾄﾞﾛｯﾌﾟを有効にする(&R)"},
        {IDC_OPTION_MEDIA_EJECT, "終了時ﾘﾑｰﾊﾞﾌﾞﾙﾒﾃﾞｨｱをｲｼﾞｪｸﾄする(&V)"},
        {IDC_OPTION_END_SAVE, "終了時の状態を保存する(&S)"},
        {IDC_OPTION_START_WITH_WINDOWS, "Windows の起動時に実行する(&U)"},
        {IDC_OPTION_WALLPAPER_CHANGE, "壁紙を自動的に切り替える(&W)"},
        {IDC_OPTION_MINUTES, "分毎"},
        {IDC_OPTION_NO_SPLASH, "ｽﾌﾟﾗｯｼｭﾛｺﾟを表示しない(&N)"},
        {IDC_OPTION_WAVE_LABEL, "お知らせﾀｲﾏｰ用のｳｪｰﾌﾞﾌｧｲﾙを指定して下さい"},
        {IDC_OPTION_WAVE_TEST, "ﾃｽﾄ"},
        {IDC_OPTION_WAVE_STOP, "ｽﾄｯﾌﾟ"},
        {IDC_OPTION_SLOT_LABEL0 + 9, "10."},
        {IDC_OPTION_TITLE, "たびめにゅ～２－【多機能ランチャー】"},
        {IDOK, "&OK"},
        {IDCANCEL, "ｷｬﾝｾﾙ(&C)"},
    };
    EXPECT_EQ(seen.captions, captions);
    EXPECT_EQ(seen.sizes, (std::vector<std::string>{"32×32", "16×16", "24×24"}));
    EXPECT_EQ(seen.delays,
              (std::vector<std::string>{"0.5", "1.0", "1.5", "2.0", "2.5", "3.0", "3.5", "4.0", "4.5", "5.0"}));
    EXPECT_EQ(seen.sizeSelected, 2);
    EXPECT_EQ(seen.delaySelected, 4);
    EXPECT_TRUE(seen.top);
    EXPECT_TRUE(seen.autoHide);
    EXPECT_TRUE(seen.delayEnabled);
    EXPECT_FALSE(seen.timerEnabled) << "wallpaper rotation is off";
    EXPECT_EQ(seen.exMenuCount, "12");
    EXPECT_EQ(seen.wavePath, "C:\\ｻｳﾝﾄﾞ\\ding.wav");
    EXPECT_EQ(seen.hour0, "07");
    EXPECT_EQ(seen.minute0, "30");
    EXPECT_EQ(seen.hour1, "") << "midnight shows as empty boxes";
    EXPECT_EQ(seen.version.rfind("Version ", 0), 0u) << seen.version;
    ASSERT_FALSE(seen.drives.empty());
    EXPECT_EQ(seen.drives[0], " C:\\(ﾊｰﾄﾞﾃﾞｨｽｸ)    " + std::string(15, ' ') + "3,077 MB");
    const std::vector<std::vector<bool>> pages = {
        {true, false, false, false}, {false, true, false, false}, {false, false, true, false}, {false, false, false, true}};
    EXPECT_EQ(seen.visibleByPage, pages);
    EXPECT_TRUE(bar.calls.empty()) << "nothing reaches the bar before OK";
}

TEST_F(OptionSetWin, KeysAreFilteredAndEnterEmptiesATimeBoxThatIsNoNumber) {
    struct Seen {
        std::string count, timer, hour;
        bool stillOpen = false;
    } seen;
    WhileShown shown(kCaption, [&](HWND dialog) {
        SelectTab(dialog, 1);
        SetItemText(dialog, IDC_OPTION_EX_MENU_COUNT, "");
        Type(dialog, IDC_OPTION_EX_MENU_COUNT, L'a');
        Type(dialog, IDC_OPTION_EX_MENU_COUNT, L'4');
        Type(dialog, IDC_OPTION_EX_MENU_COUNT, L'-');
        Type(dialog, IDC_OPTION_EX_MENU_COUNT, L'2');
        Type(dialog, IDC_OPTION_EX_MENU_COUNT, L'9');  // past the limit of two
        seen.count = ItemText(dialog, IDC_OPTION_EX_MENU_COUNT);
        SetItemText(dialog, IDC_OPTION_WALLPAPER_TIMER, "15");
        SendDlgItemMessageW(dialog, IDC_OPTION_WALLPAPER_TIMER, EM_SETSEL, 2, 2);  // the caret at the end
        Type(dialog, IDC_OPTION_WALLPAPER_TIMER, L'x');
        Type(dialog, IDC_OPTION_WALLPAPER_TIMER, L'\b');
        seen.timer = ItemText(dialog, IDC_OPTION_WALLPAPER_TIMER);

        // Enter through the dialog manager, as a key pressed in the box: it
        // must reach the box instead of pressing OK.
        SelectTab(dialog, 2);
        HWND hour = GetDlgItem(dialog, IDC_OPTION_HOUR0 + 3);
        SetItemText(dialog, IDC_OPTION_HOUR0 + 3, "ab");
        PostMessageW(hour, WM_KEYDOWN, VK_RETURN, 0x001C0001);
        WaitUntil([&] { return ItemText(dialog, IDC_OPTION_HOUR0 + 3).empty() || !IsWindow(dialog); });
        seen.stillOpen = IsWindow(dialog) != FALSE;
        seen.hour = seen.stillOpen ? ItemText(dialog, IDC_OPTION_HOUR0 + 3) : "<closed>";
    });
    EXPECT_EQ(ShowOptionSet(0, state, platform, bar, chooser, sound, drives, registry), 0);
    ASSERT_TRUE(shown.Join());
    EXPECT_EQ(seen.count, "42");
    EXPECT_EQ(seen.timer, "1");
    EXPECT_TRUE(seen.stillOpen) << "Enter in a time box pressed OK";
    EXPECT_EQ(seen.hour, "");
    EXPECT_TRUE(bar.calls.empty()) << "closed by Cancel";
}

TEST_F(OptionSetWin, ThePreviewFollowsThePositionAndTheLinksTurnRedUnderThePointer) {
    struct Seen {
        uint32_t topBefore = 0, rightBefore = 0, topAfter = 0, rightAfter = 0;
        std::pair<int, int> linkIdle, linkHovered, linkLeft;
    } seen;
    WhileShown shown(kCaption, [&](HWND dialog) {
        // Points on the screen just inside its top edge and its right edge.
        const double topX = 0.5, topY = 260.0 / kMonitorPictureHeight;
        const double rightX = 1990.0 / kMonitorPictureWidth, rightY = 0.45;
        seen.topBefore = PicturePixel(dialog, topX, topY);
        seen.rightBefore = PicturePixel(dialog, rightX, rightY);
        CheckRadioButton(dialog, IDC_OPTION_POSITION_TOP, IDC_OPTION_POSITION_RIGHT, IDC_OPTION_POSITION_RIGHT);
        Click(dialog, IDC_OPTION_POSITION_RIGHT);
        seen.topAfter = PicturePixel(dialog, topX, topY);
        seen.rightAfter = PicturePixel(dialog, rightX, rightY);

        SelectTab(dialog, 3);
        HWND link = GetDlgItem(dialog, IDC_OPTION_LINK1);
        seen.linkIdle = RedAndBlue(dialog, IDC_OPTION_LINK1);
        SendMessageW(dialog, WM_SETCURSOR, reinterpret_cast<WPARAM>(link), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        seen.linkHovered = RedAndBlue(dialog, IDC_OPTION_LINK1);
        SendMessageW(dialog, WM_SETCURSOR, reinterpret_cast<WPARAM>(dialog), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        seen.linkLeft = RedAndBlue(dialog, IDC_OPTION_LINK1);
        SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_OPTION_LINK2, STN_DBLCLK), reinterpret_cast<LPARAM>(link));
    });
    EXPECT_EQ(ShowOptionSet(0, state, platform, bar, chooser, sound, drives, registry,
                            {"https://example.jp/tavi/", "mailto:tavi@example.jp"}),
              0);
    ASSERT_TRUE(shown.Join());
    const uint32_t bar = 0xC0C0C0, screen = 0x008080;
    EXPECT_EQ(seen.topBefore, bar);
    EXPECT_EQ(seen.rightBefore, screen);
    EXPECT_EQ(seen.topAfter, screen);
    EXPECT_EQ(seen.rightAfter, bar);
    EXPECT_GT(seen.linkIdle.second, 0);
    EXPECT_EQ(seen.linkIdle.first, 0);
    EXPECT_GT(seen.linkHovered.first, 0);
    EXPECT_EQ(seen.linkHovered.second, 0);
    EXPECT_EQ(seen.linkLeft.first, 0);
    ASSERT_EQ(shell.opened.size(), 1u);
    EXPECT_EQ(shell.opened[0].verb, "open");
    EXPECT_EQ(shell.opened[0].file, "mailto:tavi@example.jp");
}

// An address the build was not given has no link, and with none the notice
// that points to them goes too.
TEST_F(OptionSetWin, TheVersionPageShowsOnlyTheLinksItWasGiven) {
    const struct {
        std::vector<std::string> links;
        bool first, second, notice;
    } cases[] = {{{}, false, false, false},
                 {{"https://example.jp/tavi/"}, true, false, true},
                 {{"https://example.jp/tavi/", "mailto:tavi@example.jp"}, true, true, true}};
    for (const auto& c : cases) {
        std::vector<bool> seen;
        std::string caption;
        WhileShown shown(kCaption, [&](HWND dialog) {
            SelectTab(dialog, 3);
            seen = {Visible(dialog, IDC_OPTION_LINK1), Visible(dialog, IDC_OPTION_LINK2), Visible(dialog, IDC_OPTION_NOTICE)};
            caption = ItemText(dialog, IDC_OPTION_LINK1);
            SelectTab(dialog, 0);
            seen.push_back(Visible(dialog, IDC_OPTION_LINK1));
        });
        EXPECT_EQ(ShowOptionSet(0, state, platform, bar, chooser, sound, drives, registry, c.links), 0);
        ASSERT_TRUE(shown.Join());
        EXPECT_EQ(seen, (std::vector<bool>{c.first, c.second, c.notice, false})) << c.links.size() << " links";
        EXPECT_EQ(caption, c.links.empty() ? "" : c.links[0]);
    }
}

TEST_F(OptionSetWin, TheWaveFileIsBrowsedForAndTested) {
    chooser.answers = {"D:\\音\\新しい.wav"};
    std::string path;
    WhileShown shown(kCaption, [&](HWND dialog) {
        SelectTab(dialog, 2);
        Click(dialog, IDC_OPTION_WAVE_BROWSE);
        path = ItemText(dialog, IDC_OPTION_WAVE_PATH);
        Click(dialog, IDC_OPTION_WAVE_TEST);
        Click(dialog, IDC_OPTION_WAVE_STOP);
        SetItemText(dialog, IDC_OPTION_WAVE_PATH, "  ");
        Click(dialog, IDC_OPTION_WAVE_TEST);
    });
    EXPECT_EQ(ShowOptionSet(0, state, platform, bar, chooser, sound, drives, registry), 0);
    ASSERT_TRUE(shown.Join());
    EXPECT_EQ(path, "D:\\音\\新しい.wav");
    ASSERT_EQ(chooser.asked.size(), 1u);
    EXPECT_EQ(chooser.asked[0].title, "WAVEﾌｧｲﾙの参照");
    EXPECT_EQ(chooser.asked[0].filter, "Wave Files (*.wav)|*.wav");
    EXPECT_EQ(sound.calls, (std::vector<std::string>{"play D:\\音\\新しい.wav async", "stop"}));
}

TEST_F(OptionSetWin, OkStoresTheOptionsLaysTheBarOutAndTheFileReadsBackExactly) {
    state.page.ShowFrom(30);
    WhileShown shown(kCaption, [&](HWND dialog) {
        CheckRadioButton(dialog, IDC_OPTION_POSITION_TOP, IDC_OPTION_POSITION_RIGHT, IDC_OPTION_POSITION_RIGHT);
        SendDlgItemMessageW(dialog, IDC_OPTION_SMALL_ICON, CB_SETCURSEL, 1, 0);
        CheckDlgButton(dialog, IDC_OPTION_TOPMOST, BST_UNCHECKED);
        SetItemText(dialog, IDC_OPTION_EX_MENU_COUNT, "00");
        SetItemText(dialog, IDC_OPTION_HOUR0 + 2, " 7");
        SetItemText(dialog, IDC_OPTION_MINUTE0 + 2, "30");
        Click(dialog, IDOK);
    });
    EXPECT_EQ(ShowOptionSet(0, state, platform, bar, chooser, sound, drives, registry), 0);
    ASSERT_TRUE(shown.Join());
    EXPECT_EQ(bar.calls, (std::vector<std::string>{"not-topmost", "wallpaper-off", "alarm", "redock"}));
    EXPECT_EQ(state.page.Offset(), 0);
    EXPECT_EQ(state.settings.Values().IniBuff, "002101114");
    EXPECT_EQ(state.settings.Values().ExMenuCount, "1");

    // What the re-dock writes, through the system's own profile functions.
    const std::string file = SettingsFilePath(state.ApplicationPath);
    ASSERT_TRUE(state.settings.Save(profile, file));
    Settings restarted;
    LoadSettings(restarted, profile, file);
    EXPECT_EQ(restarted.AlarmTimes[0], "07:30");
    EXPECT_EQ(restarted.AlarmTimes[2], "07:30");
    EXPECT_EQ(restarted.Horizontal, "0");
    EXPECT_EQ(restarted.EdgeCode, "2");
    EXPECT_EQ(restarted.IconSizeIndex, "1");
}

TEST_F(OptionSetWin, CancelChangesNothingAndAHiddenBarIsShownAfterOk) {
    const Settings before = state.settings.Values();
    WhileShown cancelled(kCaption, [&](HWND dialog) {
        CheckRadioButton(dialog, IDC_OPTION_POSITION_TOP, IDC_OPTION_POSITION_RIGHT, IDC_OPTION_POSITION_LEFT);
        SetItemText(dialog, IDC_OPTION_EX_MENU_COUNT, "3");
        Click(dialog, IDCANCEL);
    });
    EXPECT_EQ(ShowOptionSet(0, state, platform, bar, chooser, sound, drives, registry), 0);
    ASSERT_TRUE(cancelled.Join());
    EXPECT_EQ(state.settings.Values().IniBuff, before.IniBuff);
    EXPECT_EQ(state.settings.Values().ExMenuCount, before.ExMenuCount);
    EXPECT_TRUE(bar.calls.empty());

    bar.visible = false;
    WhileShown confirmed(kCaption, [&](HWND dialog) { Click(dialog, IDOK); });
    EXPECT_EQ(ShowOptionSet(0, state, platform, bar, chooser, sound, drives, registry), 0);
    ASSERT_TRUE(confirmed.Join());
    EXPECT_EQ(bar.calls, (std::vector<std::string>{"wallpaper-off", "alarm", "redock", "show"}));
}

TEST_F(OptionSetWin, ADialogThatCannotBeCreatedReportsTheSystemsError) {
    // An owner that is no window keeps the dialog from being created.
    const int error = ShowOptionSet(static_cast<NativeWindow>(0x7FFF0001), state, platform, bar, chooser, sound, drives, registry);
    EXPECT_NE(error, 0);
    EXPECT_TRUE(bar.calls.empty());
}

TEST_F(OptionSetWin, TheMonitorListAndTheHotKeyShowTheSettingsAndOkStoresThem) {
    struct Seen {
        std::vector<std::string> monitors;
        int selected = -1;
        LRESULT hotKey = -1, searchKey = -1;
        std::string monitorLabel, hotKeyLabel, searchKeyLabel;
        bool monitorOnDisplayPage = false, hotKeyOnBehaviourPage = false;
    } seen;
    fakes::SetSetting(state, &Settings::Monitor, "\\\\.\\DISPLAY9");  // away: the bar docks on the primary
    fakes::SetSetting(state, &Settings::HotKey, "1620");
    fakes::SetSetting(state, &Settings::SearchHotKey, "1606");
    WhileShown first(kCaption, [&](HWND dialog) {
        seen.monitors = ComboItems(dialog, IDC_OPTION_MONITOR);
        seen.selected = static_cast<int>(SendDlgItemMessageW(dialog, IDC_OPTION_MONITOR, CB_GETCURSEL, 0, 0));
        seen.hotKey = SendDlgItemMessageW(dialog, IDC_OPTION_HOT_KEY, HKM_GETHOTKEY, 0, 0);
        seen.monitorLabel = ItemText(dialog, IDC_OPTION_MONITOR_LABEL);
        seen.hotKeyLabel = ItemText(dialog, IDC_OPTION_HOT_KEY_LABEL);
        seen.monitorOnDisplayPage = Visible(dialog, IDC_OPTION_MONITOR);
        SelectTab(dialog, 1);
        seen.hotKeyOnBehaviourPage = Visible(dialog, IDC_OPTION_HOT_KEY) && Visible(dialog, IDC_OPTION_SEARCH_KEY) &&
                                     !Visible(dialog, IDC_OPTION_MONITOR);
        seen.searchKey = SendDlgItemMessageW(dialog, IDC_OPTION_SEARCH_KEY, HKM_GETHOTKEY, 0, 0);
        seen.searchKeyLabel = ItemText(dialog, IDC_OPTION_SEARCH_KEY_LABEL);
        SendDlgItemMessageW(dialog, IDC_OPTION_HOT_KEY, HKM_SETHOTKEY, 0x0370, 0);     // Ctrl+Shift+F1
        SendDlgItemMessageW(dialog, IDC_OPTION_SEARCH_KEY, HKM_SETHOTKEY, 0x0647, 0);  // Ctrl+Alt+G
        Click(dialog, IDOK);
    });
    EXPECT_EQ(ShowOptionSet(0, state, platform, bar, chooser, sound, drives, registry), 0);
    ASSERT_TRUE(first.Join());
    ASSERT_EQ(seen.monitors.size(), static_cast<size_t>(GetSystemMetrics(SM_CMONITORS)));
    int primaries = 0;
    for (size_t i = 0; i < seen.monitors.size(); ++i) {
        EXPECT_EQ(seen.monitors[i].rfind(std::to_string(i + 1) + ": ", 0), 0u) << seen.monitors[i];
        const std::string mark = " (プライマリ)";
        const bool primary = seen.monitors[i].size() > mark.size() &&
                             seen.monitors[i].compare(seen.monitors[i].size() - mark.size(), mark.size(), mark) == 0;
        if (!primary) continue;
        ++primaries;
        EXPECT_EQ(seen.selected, static_cast<int>(i)) << "the primary, where the bar docks";
        const std::string size = std::to_string(GetSystemMetrics(SM_CXSCREEN)) + "×" +
                                 std::to_string(GetSystemMetrics(SM_CYSCREEN));
        EXPECT_EQ(seen.monitors[i], std::to_string(i + 1) + ": " + size + mark);
    }
    EXPECT_EQ(primaries, 1);
    EXPECT_EQ(seen.hotKey, 1620);
    EXPECT_EQ(seen.monitorLabel, "ﾓﾆﾀｰ(&M)");
    EXPECT_EQ(seen.hotKeyLabel, "ﾎｯﾄｷｰ(&H)");
    EXPECT_EQ(seen.searchKey, 1606);
    EXPECT_EQ(seen.searchKeyLabel, "検索ｷｰ(&Q)");
    EXPECT_TRUE(seen.monitorOnDisplayPage);
    EXPECT_TRUE(seen.hotKeyOnBehaviourPage);
    EXPECT_EQ(state.settings.Values().Monitor, "\\\\.\\DISPLAY9") << "an OK that touched no list keeps the monitor";
    EXPECT_EQ(state.settings.Values().HotKey, "880");
    EXPECT_EQ(state.settings.Values().SearchHotKey, "1607");
    EXPECT_EQ(bar.calls, (std::vector<std::string>{"topmost", "wallpaper-off", "alarm", "redock", "hotkey"}));

    // The primary picked from the list, the key cleared.
    bar.calls.clear();
    WhileShown second(kCaption, [&](HWND dialog) {
        HWND list = GetDlgItem(dialog, IDC_OPTION_MONITOR);
        SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_OPTION_MONITOR, CBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
        SendDlgItemMessageW(dialog, IDC_OPTION_HOT_KEY, HKM_SETHOTKEY, 0, 0);
        Click(dialog, IDOK);
    });
    EXPECT_EQ(ShowOptionSet(0, state, platform, bar, chooser, sound, drives, registry), 0);
    ASSERT_TRUE(second.Join());
    EXPECT_EQ(state.settings.Values().Monitor, "");
    EXPECT_EQ(state.settings.Values().HotKey, "");
    EXPECT_EQ(bar.calls, (std::vector<std::string>{"topmost", "wallpaper-off", "alarm", "redock", "hotkey"}));
}
