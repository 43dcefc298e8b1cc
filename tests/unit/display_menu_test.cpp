#include <gtest/gtest.h>

#include "dialogs/reboot_dialog.h"
#include "fakes/desktop_fakes.h"
#include "fakes/menu_fakes.h"
#include "menus/desktop_list_handlers.h"
#include "menus/display_menu.h"

using namespace tavi;
using Log = std::vector<std::string>;

namespace {

const ListItem kProperties{"ﾃﾞｨｽﾌﾟﾚｲﾌﾟﾛﾊﾟﾃｨの設定...", "", true, false};
const ListItem kSeparator{"-", "", true, false};

ListItem Mode(const char* caption, bool checked = false) { return {caption, "", true, checked}; }

}  // namespace

TEST(DisplayModeCaption, ShowsSizeRateAndColourDepth) {
    const struct {
        DisplayMode mode;
        const char* caption;
    } cases[] = {
        {{800, 600, 8, 60}, " 800x600 (60 kHz) (256色)"},
        {{1024, 768, 32, 0}, " 1024x768 (32 ﾋﾞｯﾄ)"},
        {{640, 480, 4, 0}, " 640x480 (16色)"},
        {{1280, 1024, 15, 75}, " 1280x1024 (75 kHz) (15 ﾋﾞｯﾄ)"},
        {{1280, 1024, 16, 0}, " 1280x1024 (16 ﾋﾞｯﾄ)"},
        {{3840, 2160, 24, 144}, " 3840x2160 (144 kHz) (24 ﾋﾞｯﾄ)"},
    };
    for (const auto& c : cases) EXPECT_EQ(DisplayModeCaption(c.mode), c.caption);
}

TEST(DisplayModeCaption, EveryModeIsFoundAgainFromItsOwnCaption) {
    for (const int bits : {1, 2, 4, 8, 15, 16, 24, 32})
        for (const int rate : {0, 1, 59, 60, 144})
            for (const auto& [width, height] : {std::pair{640, 480}, std::pair{1366, 768}, std::pair{7680, 4320}}) {
                const DisplayMode mode{width, height, bits, rate};
                const std::string caption = DisplayModeCaption(mode);
                EXPECT_EQ(ParseDisplayModeCaption(caption), mode) << caption;
            }
}

TEST(DisplayModeCaption, OtherItemsNameNoMode) {
    for (const char* caption : {"ﾃﾞｨｽﾌﾟﾚｲﾌﾟﾛﾊﾟﾃｨの設定...", "-", "(なし)", "", " 800x600", " 800x(256色)",
                                " abcx600 (256色)", " 800x600 (x kHz) (256色)", " 800x600 ( ﾋﾞｯﾄ)",
                                " -800x600 (32 ﾋﾞｯﾄ)", " 800x600 (3x2 ﾋﾞｯﾄ)"})
        EXPECT_EQ(ParseDisplayModeCaption(caption), std::nullopt) << caption;
    EXPECT_EQ(ParseDisplayModeCaption("1024 x 768 (32 ﾋﾞｯﾄ)"), (DisplayMode{1024, 768, 32, 0}))
        << "spaces around the numbers are read over";
}

TEST(SetChgDisplay, SeparatesColourDepthsInTheDriversOrderAndChecksTheCurrentMode) {
    Log log;
    fakes::FakeDisplayModes display(log);
    display.modes = {{640, 480, 8, 60}, {800, 600, 8, 60}, {640, 480, 16, 60}, {800, 600, 16, 0}, {1024, 768, 8, 75}};
    const struct {
        DisplayMode current;
        std::vector<bool> checks;  // of the five modes
    } cases[] = {
        {{800, 600, 8, 60}, {false, true, false, false, false}},
        {{800, 600, 8, 75}, {false, false, false, false, false}},  // the rate must match when the mode has one
        {{800, 600, 16, 72}, {false, false, false, true, false}},  // a mode without a rate matches any
        {{1024, 768, 8, 75}, {false, false, false, false, true}},
        {{1024, 768, 32, 75}, {false, false, false, false, false}},
    };
    for (const auto& c : cases) {
        display.current = c.current;
        RunTimeList list;
        SetChgDisplay(display, list);
        EXPECT_EQ(list.items, (std::vector<ListItem>{kProperties, kSeparator,
                                                     Mode(" 640x480 (60 kHz) (256色)", c.checks[0]),
                                                     Mode(" 800x600 (60 kHz) (256色)", c.checks[1]), kSeparator,
                                                     Mode(" 640x480 (60 kHz) (16 ﾋﾞｯﾄ)", c.checks[2]),
                                                     Mode(" 800x600 (16 ﾋﾞｯﾄ)", c.checks[3]), kSeparator,
                                                     Mode(" 1024x768 (75 kHz) (256色)", c.checks[4])}))
            << fakes::Describe(c.current);
    }
}

TEST(SetChgDisplay, NoModesGiveADisabledNoneAndRepeatedModesAreListedOnce) {
    Log log;
    fakes::FakeDisplayModes display(log);
    display.modes = {{800, 600, 32, 60}, {800, 600, 32, 60}, {800, 600, 16, 60}, {800, 600, 32, 60}};
    display.current = {800, 600, 32, 60};
    RunTimeList list;
    SetChgDisplay(display, list);
    EXPECT_EQ(list.items, (std::vector<ListItem>{kProperties, kSeparator, Mode(" 800x600 (60 kHz) (32 ﾋﾞｯﾄ)", true),
                                                 kSeparator, Mode(" 800x600 (60 kHz) (16 ﾋﾞｯﾄ)")}));

    display.modes.clear();
    SetChgDisplay(display, list);  // the earlier items go
    EXPECT_EQ(list.items, (std::vector<ListItem>{kProperties, {"(なし)", "", false, false}}));
}

TEST(RebootDialog, OkAnswersByTheSelectedOptionAndCancelChangesNothing) {
    EXPECT_FALSE(RebootDialogLoad().optRestart) << "storing without a restart is preselected";
    EXPECT_EQ(RebootDialogOk({true}), RebootChoice::RestartNow);
    EXPECT_EQ(RebootDialogOk({false}), RebootChoice::StoreOnly);
    EXPECT_EQ(RebootDialogCancel(), RebootChoice::Cancel);
    // RebootChoice keeps its numbers: 0 cancelled, 1 restart now, 2 store only.
    EXPECT_EQ(static_cast<int>(RebootDialogOk({true})), 1);
    EXPECT_EQ(static_cast<int>(RebootDialogOk(RebootDialogLoad())), 2);
    EXPECT_EQ(static_cast<int>(RebootDialogCancel()), 0);
}

namespace {

// The whole display-mode path: the handlers over fakes of the driver, the
// restart, RebootDialog and the bar, all logging into one list.
class ChgDisplaySetTest : public ::testing::Test {
protected:
    Log log;
    fakes::FakePlatform fake;
    fakes::FakeFolderListing folders;
    fakes::FakeDesktopParameters desktop{log};
    fakes::FakeDisplayModes display{log};
    fakes::FakeSystemRestart restart{log};
    fakes::FakeRebootPrompt prompt{log};
    fakes::FakeBarServices bar{log};
    MenuMain state;
    RunTimeList displayList;
    DesktopListHandlers handlers{
        DesktopListPorts{state, fake.platform, folders, desktop, display, restart, prompt, bar}};

    void SetUp() override {
        display.modes = {{800, 600, 8, 60}, {800, 600, 8, 75}, {1024, 768, 15, 60}, {1024, 768, 32, 0}};
        display.current = {1024, 768, 32, 60};
        handlers.AttachDisplayList(displayList);
        handlers.SetChgDisplay();
    }
    std::vector<std::string> Checked() const {
        std::vector<std::string> checked;
        for (const ListItem& item : displayList.items)
            if (item.checked) checked.push_back(item.caption);
        return checked;
    }
};

}  // namespace

TEST_F(ChgDisplaySetTest, APassedTestIsAppliedAndTheBarLaidOutOnTheNewScreen) {
    const struct {
        const char* caption;
        const char* request;
    } cases[] = {
        {" 800x600 (75 kHz) (256色)", "800x600@8/75"},
        {" 800x600 (60 kHz) (256色)", "800x600@8/60"},
        {" 1024x768 (60 kHz) (15 ﾋﾞｯﾄ)", "1024x768@15/60"},
        {" 1024x768 (32 ﾋﾞｯﾄ)", "1024x768@32/0"},  // no rate: the driver chooses
    };
    for (const auto& c : cases) {
        log.clear();
        handlers.ChgDisplaySet(c.caption);
        EXPECT_EQ(log, (Log{"timer pause", std::string("test ") + c.request, std::string("apply ") + c.request,
                            "bar redock force", "timer resume"}))
            << c.caption;
        EXPECT_EQ(Checked(), std::vector<std::string>{c.caption}) << "the list follows the new mode";
    }
    EXPECT_TRUE(fake.messages.shown.empty());
}

TEST_F(ChgDisplaySetTest, WhatTheSystemRefusesIsNeverAppliedAndIsTold) {
    const struct {
        DisplayChange test;
        DisplayChange apply;
        Log log;
        const char* message;
    } cases[] = {
        {DisplayChange::BadMode, DisplayChange::Successful, {"timer pause", "test 800x600@8/60", "timer resume"},
         "ﾃﾞｨｽﾌﾟﾚｲがこの画面ﾓｰﾄﾞに対応していないため変更できません\r\n\r\n800x600 (60 kHz) (256色) (ｺｰﾄﾞ -2)"},
        {DisplayChange::Failed, DisplayChange::Successful, {"timer pause", "test 800x600@8/60", "timer resume"},
         "ﾃﾞｨｽﾌﾟﾚｲがこの画面ﾓｰﾄﾞに対応していないため変更できません\r\n\r\n800x600 (60 kHz) (256色) (ｺｰﾄﾞ -1)"},
        {DisplayChange::Successful, DisplayChange::NotUpdated,
         {"timer pause", "test 800x600@8/60", "apply 800x600@8/60", "timer resume"},
         "画面ﾓｰﾄﾞを変更できませんでした\r\n\r\n800x600 (60 kHz) (256色) (ｺｰﾄﾞ -3)"},
    };
    for (const auto& c : cases) {
        log.clear();
        fake.messages.shown.clear();
        display.testAnswer = c.test;
        display.applyAnswer = c.apply;
        handlers.ChgDisplaySet(" 800x600 (60 kHz) (256色)");
        EXPECT_EQ(log, c.log) << c.message;
        ASSERT_EQ(fake.messages.shown.size(), 1u);
        const MessageRequest& shown = fake.messages.shown[0];
        EXPECT_EQ(shown.text, c.message);
        EXPECT_EQ(shown.caption, "たびめにゅ～２");
        EXPECT_EQ(shown.icon, c.test == DisplayChange::Successful ? MessageIcon::Error : MessageIcon::Warning);
        EXPECT_EQ(shown.buttons, MessageButtons::Ok);
        EXPECT_EQ(display.current, (DisplayMode{1024, 768, 32, 60}));
        EXPECT_EQ(Checked(), std::vector<std::string>{" 1024x768 (32 ﾋﾞｯﾄ)"});
    }
}

TEST_F(ChgDisplaySetTest, AModeThatNeedsARestartAsksFirst) {
    const struct {
        RebootChoice answer;
        DisplayChange store;
        bool restartAccepted;
        Log log;
        const char* message;  // nullptr: none
    } cases[] = {
        {RebootChoice::Cancel, DisplayChange::Successful, true,
         {"timer pause", "test 800x600@8/75", "frmReboot 4660", "timer resume"}, nullptr},
        {RebootChoice::StoreOnly, DisplayChange::Successful, true,
         {"timer pause", "test 800x600@8/75", "frmReboot 4660", "store 800x600@8/75", "timer resume"}, nullptr},
        {RebootChoice::RestartNow, DisplayChange::Restart, true,
         {"timer pause", "test 800x600@8/75", "frmReboot 4660", "apply 800x600@8/75", "restart", "bar close"},
         nullptr},
        {RebootChoice::RestartNow, DisplayChange::Restart, false,
         {"timer pause", "test 800x600@8/75", "frmReboot 4660", "apply 800x600@8/75", "restart refused",
          "timer resume"},
         "ｺﾝﾋﾟｭｰﾀを再起動できませんでした 新しい画面ﾓｰﾄﾞは次回の起動時に有効になります\r\n\r\n"
         "800x600 (75 kHz) (256色)"},
        {RebootChoice::RestartNow, DisplayChange::NotUpdated, true,
         {"timer pause", "test 800x600@8/75", "frmReboot 4660", "apply 800x600@8/75", "timer resume"},
         "画面ﾓｰﾄﾞを変更できませんでした\r\n\r\n800x600 (75 kHz) (256色) (ｺｰﾄﾞ -3)"},
        {RebootChoice::StoreOnly, DisplayChange::NotUpdated, true,
         {"timer pause", "test 800x600@8/75", "frmReboot 4660", "store 800x600@8/75", "timer resume"},
         "画面ﾓｰﾄﾞを変更できませんでした\r\n\r\n800x600 (75 kHz) (256色) (ｺｰﾄﾞ -3)"},
    };
    display.testAnswer = DisplayChange::Restart;
    for (const auto& c : cases) {
        log.clear();
        fake.messages.shown.clear();
        prompt.answer = c.answer;
        display.applyAnswer = display.storeAnswer = c.store;
        restart.accepts = c.restartAccepted;
        handlers.ChgDisplaySet(" 800x600 (75 kHz) (256色)");
        EXPECT_EQ(log, c.log) << static_cast<int>(c.answer);
        ASSERT_EQ(fake.messages.shown.size(), c.message ? 1u : 0u);
        if (c.message) EXPECT_EQ(fake.messages.shown[0].text, c.message);
    }
}

TEST_F(ChgDisplaySetTest, ACaptionNamingNoOfferedModeChangesNothingAndRefreshesTheList) {
    display.modes.erase(display.modes.begin());  // 800x600 at 60 Hz is gone since the list was built
    log.clear();
    handlers.ChgDisplaySet(" 800x600 (60 kHz) (256色)");
    handlers.ChgDisplaySet("ﾃﾞｨｽﾌﾟﾚｲﾌﾟﾛﾊﾟﾃｨの設定...");
    EXPECT_EQ(log, (Log{"timer pause", "timer resume", "timer pause", "timer resume"}));
    EXPECT_EQ(displayList.items.size(), 7u) << "properties, then three modes of three depths with their separators";
    EXPECT_TRUE(fake.messages.shown.empty());
}
