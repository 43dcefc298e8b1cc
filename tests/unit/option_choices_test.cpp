// The options dialog's monitor list and global key: what it shows and what
// OK keeps, over monitor layouts and settings.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/settings.h"
#include "fakes/bar_services_fake.h"
#include "fakes/fakes.h"
#include "platform/ini_profile.h"
#include "tools/option_choices.h"
#include "tools/option_set.h"

using namespace tavi;

namespace {

MonitorInfo Mon(const char* name, Rect r, bool primary) { return {name, r, r, 96, primary}; }

const std::vector<MonitorInfo> kTwo = {Mon("\\\\.\\DISPLAY1", {0, 0, 1280, 1024}, true),
                                       Mon("\\\\.\\DISPLAY2", {1280, 0, 2304, 768}, false)};
// The primary listed second, a monitor at negative coordinates first.
const std::vector<MonitorInfo> kThree = {Mon("\\\\.\\DISPLAY3", {-1920, -120, 0, 960}, false),
                                         Mon("\\\\.\\DISPLAY1", {0, 0, 2560, 1440}, true),
                                         Mon("\\\\.\\DISPLAY2", {2560, 0, 3584, 768}, false)};

}  // namespace

TEST(MonitorChoice, ItemsInTheSystemsOrderWithNumberSizeAndThePrimaryMarked) {
    EXPECT_EQ(MonitorChoiceLoad("", kTwo).items,
              (std::vector<std::string>{"1: 1280×1024 (プライマリ)", "2: 1024×768"}));
    EXPECT_EQ(MonitorChoiceLoad("", kThree).items,
              (std::vector<std::string>{"1: 1920×1080", "2: 2560×1440 (プライマリ)", "3: 1024×768"}));
    const MonitorChoice none = MonitorChoiceLoad("\\\\.\\DISPLAY2", {});
    EXPECT_TRUE(none.items.empty());
    EXPECT_EQ(none.selected, -1);
}

TEST(MonitorChoice, TheSelectedItemIsTheMonitorTheBarDocksOn) {
    const struct {
        const char* what;
        std::string setting;
        const std::vector<MonitorInfo>* monitors;
        int selected;
    } cases[] = {
        {"no setting: the primary", "", &kTwo, 0},
        {"the second named", "\\\\.\\DISPLAY2", &kTwo, 1},
        {"the primary named", "\\\\.\\DISPLAY1", &kTwo, 0},
        {"a monitor that is away: the primary", "\\\\.\\DISPLAY3", &kTwo, 0},
        {"binary bytes: the primary", std::string("\x01\xff", 2), &kTwo, 0},
        {"no setting, primary listed second", "", &kThree, 1},
        {"the first listed, left of the primary", "\\\\.\\DISPLAY3", &kThree, 0},
        {"names are matched exactly", "\\\\.\\display2", &kThree, 1},
    };
    for (const auto& c : cases) EXPECT_EQ(MonitorChoiceLoad(c.setting, *c.monitors).selected, c.selected) << c.what;
}

TEST(MonitorChoice, OkStoresAPickAndKeepsAnUntouchedSetting) {
    const struct {
        const char* what;
        std::string setting;
        int selected;
        bool picked;
        std::string stored;
    } cases[] = {
        {"untouched, primary user: the file stays without the key", "", 0, false, ""},
        {"untouched second", "\\\\.\\DISPLAY2", 1, false, "\\\\.\\DISPLAY2"},
        {"untouched, the monitor away: kept for its return", "\\\\.\\DISPLAY3", 0, false, "\\\\.\\DISPLAY3"},
        {"untouched, an over-long value kept", std::string(600, 'M'), 0, false, std::string(600, 'M')},
        {"the second picked", "", 1, true, "\\\\.\\DISPLAY2"},
        {"the second set without a notice of the pick", "", 1, false, "\\\\.\\DISPLAY2"},
        {"the primary picked: empty", "\\\\.\\DISPLAY2", 0, true, ""},
        {"the primary picked while the named one is away", "\\\\.\\DISPLAY3", 0, true, ""},
        {"the primary named and picked again: empty", "\\\\.\\DISPLAY1", 0, true, ""},
        {"nothing selected: kept", "\\\\.\\DISPLAY2", -1, true, "\\\\.\\DISPLAY2"},
        {"past the list: kept", "\\\\.\\DISPLAY2", 2, true, "\\\\.\\DISPLAY2"},
    };
    for (const auto& c : cases) {
        const MonitorChoice choice = MonitorChoiceLoad(c.setting, kTwo);
        EXPECT_EQ(MonitorSettingOnOk(c.setting, choice, c.selected, c.picked), c.stored) << c.what;
    }
    // With no monitor listed there is nothing to pick: the setting stays.
    EXPECT_EQ(MonitorSettingOnOk("\\\\.\\DISPLAY2", MonitorChoiceLoad("\\\\.\\DISPLAY2", {}), -1, false),
              "\\\\.\\DISPLAY2");
}

TEST(HotKeyChoice, TheControlShowsTheSettingAndOkStoresItsWord) {
    const struct {
        const char* setting;
        uint32_t word;
    } shown[] = {
        {"", 0}, {"1620", 1620}, {" 1620 ", 1620}, {"2599", 2599} /* Ctrl with the extended Right */, {"12ab", 0},
        {"0", 0}, {"65536", 0}, {"529", 0} /* Ctrl alone */, {"-1620", 0},
    };
    for (const auto& c : shown) EXPECT_EQ(HotKeyWordOf(c.setting), c.word) << "\"" << c.setting << "\"";
    const struct {
        uint32_t word;
        const char* stored;
    } stored[] = {
        {0, ""}, {1620, "1620"}, {0x0370, "880"} /* Ctrl+Shift+F1 */, {0x0411, ""} /* Alt with Ctrl as its key */,
        {0x1054, ""} /* a flag the control has not */, {0x10000, ""},
    };
    for (const auto& c : stored) EXPECT_EQ(HotKeySettingOf(c.word), c.stored) << c.word;
}

TEST(OptionChoicesOk, TheKeysAreRegisteredAfreshOnlyWhenOneChanged) {
    const struct {
        const char* before;
        const char* after;
        const char* searchBefore;
        const char* searchAfter;
        bool changed;
    } cases[] = {
        {"", "", "", "", false},
        {"", "1620", "", "", true},
        {"1620", "1620", "", "", false},  // a key held elsewhere is not reported again
        {"1620", "880", "", "", true},
        {"1620", "", "", "", true},  // given up
        {"12ab", "", "", "", true},  // the control showed none
        {"1620", "1620", "", "1606", true},  // the search key alone
        {"1620", "1620", "1606", "1606", false},
        {"", "", "1606", "", true},
    };
    for (const auto& c : cases) {
        const std::string what = std::string(c.before) + " -> " + c.after + ", " + c.searchBefore + " -> " + c.searchAfter;
        MenuMain state;
        fakes::SetSetting(state, &Settings::HotKey, c.before);
        fakes::SetSetting(state, &Settings::SearchHotKey, c.searchBefore);
        fakes::SetSetting(state, &Settings::Monitor, "\\\\.\\DISPLAY3");
        fakes::FakeBarServices bar;
        const bool changed = OptionChoicesOk({"\\\\.\\DISPLAY2", c.after, c.searchAfter}, state.settings);
        EXPECT_EQ(changed, c.changed) << what;
        EXPECT_EQ(state.settings.Values().HotKey, c.after);
        EXPECT_EQ(state.settings.Values().SearchHotKey, c.searchAfter);
        EXPECT_EQ(state.settings.Values().Monitor, "\\\\.\\DISPLAY2");
        EXPECT_TRUE(bar.calls.empty()) << "nothing reaches the bar while the dialog is open";
        OptionSetAfterOk(bar, changed);
        const std::vector<std::string> expected =
            c.changed ? std::vector<std::string>{"bar redock force", "bar hotkey"} : std::vector<std::string>{"bar redock force"};
        EXPECT_EQ(bar.calls, expected) << what;
    }
}

// Through the real file: a monitor and a key chosen and then cleared leave
// the file as a first run wrote it.
TEST(OptionChoicesOk, ClearedChoicesLeaveTheFileAsItWas) {
    fakes::TempFolder folder;
    HostFileSystem files;
    IconvCodePage codePage;
    IniProfile profile(files, codePage);
    const std::string path = SettingsFilePath(folder.Path());
    MenuMain state;
    ASSERT_TRUE(state.settings.Save(profile, path));
    const std::string firstRun = files.ReadAll(path).value_or("");

    (void)OptionChoicesOk({"\\\\.\\DISPLAY2", "1620", "1606", "en"}, state.settings);
    ASSERT_TRUE(state.settings.Save(profile, path));
    const std::string chosen = files.ReadAll(path).value_or("");
    EXPECT_NE(chosen.find("Monitor=\\\\.\\DISPLAY2\r\n"), std::string::npos);
    EXPECT_NE(chosen.find("\nHotKey=1620\r\n"), std::string::npos);
    EXPECT_NE(chosen.find("\nSearchHotKey=1606\r\n"), std::string::npos);
    EXPECT_NE(chosen.find("\nLanguage=en\r\n"), std::string::npos);

    (void)OptionChoicesOk({"", "", "", ""}, state.settings);
    ASSERT_TRUE(state.settings.Save(profile, path));
    EXPECT_EQ(files.ReadAll(path).value_or(""), firstRun);
    Settings back;
    LoadSettings(back, profile, path);
    EXPECT_EQ(back.Monitor, "");
    EXPECT_EQ(back.HotKey, "");
    EXPECT_EQ(back.SearchHotKey, "");
    EXPECT_EQ(back.Language, "");
}

TEST(LanguageChoice, TheListShowsTheSettingAndOkKeepsItUnlessAnotherItemIsChosen) {
    EXPECT_EQ(LanguageItems(), (std::vector<std::string>{"自動", "日本語", "English"}));
    const struct {
        const char* setting;
        int shown;     // 0 自動, 1 日本語, 2 English
        int selected;  // what the user leaves chosen at OK
        const char* stored;
    } cases[] = {
        {"", 0, 0, ""},
        {"", 0, 2, "en"},
        {"ja", 1, 1, "ja"},
        {"ja", 1, 0, ""},  // 自動 is no value: the key goes
        {"en", 2, 1, "ja"},
        {" EN", 2, 2, " EN"},  // kept as written
        {"fr", 0, 0, "fr"},    // unknown: shown as 自動 and kept
        {"fr", 0, 1, "ja"},
        {"fr", 0, -1, "fr"},   // no item chosen
        {"fr", 0, 3, "fr"},    // no such item
    };
    for (const auto& c : cases) {
        EXPECT_EQ(LanguageItemOf(c.setting), c.shown) << c.setting;
        EXPECT_EQ(LanguageSettingOnOk(c.setting, c.selected), c.stored) << c.setting << " " << c.selected;
    }
}
