#include <gtest/gtest.h>

#include "app/startup.h"
#include "app/ex_menu_store.h"
#include "fakes/fakes.h"

using namespace tavi;
using fakes::FakePlatform;

namespace {

class FakeAppWindows final : public AppWindows {
public:
    MenuMain* state = nullptr;
    std::vector<std::string> calls;
    bool anotherInstance = false;
    bool layoutFinishes = true;
    BarLoadResult load;

    bool AnotherInstanceRunning() override { return anotherInstance; }
    void ShowSplash() override { calls.push_back("splash"); }
    void CloseSplash() override { calls.push_back("close splash"); }
    EntryStore entriesToLoad;
    Platform* platform = nullptr;
    BarLoadResult ShowBar() override {
        calls.push_back("show bar");
        fakes::GiveEntries(*state, *platform, entriesToLoad.slots);
        BarLoadResult result = load;
        result.laidOut = layoutFinishes && !load.controlFailed;
        return result;
    }
    void HideBar() override { calls.push_back("hide bar"); }
    void UnloadBar() override { calls.push_back("unload bar"); }
    void ApplyStartTopMost(bool topMost) override { calls.push_back(topMost ? "topmost" : "not topmost"); }
    void StartTimers(bool wallpaper) override { calls.push_back(wallpaper ? "timers+wallpaper" : "timers"); }
    void BuildWallpaperMenu() override { calls.push_back("wallpapers"); }
    std::function<void()> afterPaint;
    void AfterFirstPaint(std::function<void()> work) override {
        calls.push_back("after first paint");
        afterPaint = std::move(work);
    }
    void FinishBar() override { calls.push_back("finish bar"); }
    void RegisterUpCheck() override { calls.push_back("up check"); }

    // What the message loop does with the deferred work.
    void RunDeferred() {
        ASSERT_TRUE(afterPaint) << "no work was left for after the first paint";
        auto work = std::move(afterPaint);
        afterPaint = nullptr;
        work();
    }
};

class StartupTest : public ::testing::Test {
protected:
    FakePlatform fake;
    MenuMain state;
    FakeAppWindows windows;
    const std::string ini = "C:\\Tavi\\TaviLaunch.ini";

    void SetUp() override {
        state.ApplicationPath = "C:\\Tavi";
        windows.state = &state;
        windows.platform = &fake.platform;
    }
};

}  // namespace

TEST_F(StartupTest, ASecondCopyShowsTheRefusalAndTouchesNothing) {
    windows.anotherInstance = true;
    EXPECT_FALSE(RunMain(state, fake.platform, windows));
    ASSERT_EQ(fake.messages.shown.size(), 1u);
    EXPECT_EQ(fake.messages.shown[0].text, "既に起動中です　二重起動はできません");
    EXPECT_EQ(fake.messages.shown[0].icon, MessageIcon::Error);
    EXPECT_EQ(fake.messages.shown[0].buttons, MessageButtons::Ok);
    EXPECT_TRUE(windows.calls.empty());
    EXPECT_TRUE(fake.profile.calls.empty());
    EXPECT_EQ(fake.files.replaceCalls, 0);

    // The system's restart after a crash finds a bar the user started
    // meanwhile: it ends without a word.
    fake.messages.shown.clear();
    EXPECT_FALSE(RunMain(state, fake.platform, windows, true));
    EXPECT_TRUE(fake.messages.shown.empty());
    EXPECT_TRUE(windows.calls.empty());
}

TEST_F(StartupTest, NormalStartInOrder) {
    fake.profile.Set(ini, "Option", "WallPaperChenge", "1");
    fake.system.drives = {{"A:\\", DriveType::Removable, "3.5 インチ FD (A:)"},
                          {"C:\\", DriveType::Fixed, "ローカル ディスク (C:)"},
                          {"E:\\", DriveType::Removable, "リムーバブル ディスク (E:)"},
                          {"F:\\", DriveType::Removable, "MO (F:)"}};
    (void)state.wallpaper.Tick(12, 1000);
    EXPECT_TRUE(RunMain(state, fake.platform, windows));
    // Up to the painted bar only what the user sees first; the splash goes
    // as soon as the bar is there.
    EXPECT_EQ(windows.calls,
              (std::vector<std::string>{"splash", "show bar", "topmost", "close splash", "after first paint"}));
    EXPECT_EQ(state.RemovableDrives, std::vector<std::string>{""}) << "nothing of the deferred work is done before the first paint";

    windows.calls.clear();
    windows.RunDeferred();
    EXPECT_EQ(windows.calls,
              (std::vector<std::string>{"finish bar", "timers+wallpaper", "wallpapers", "up check"}));
    EXPECT_EQ(state.RemovableDrives, (std::vector<std::string>{"E:\\", "F:\\"}));
    EXPECT_EQ(state.entries.ExMenuMax(), 9);
    EXPECT_EQ(state.wallpaper.Minutes(), 0);
    EXPECT_TRUE(fake.messages.shown.empty());
    EXPECT_TRUE(fake.profile.Writes().empty());  // settings are read, not written, at start
}

TEST_F(StartupTest, ABarClosedBeforeItsFirstPaintWasHandledDoesNoDeferredWork) {
    EXPECT_TRUE(RunMain(state, fake.platform, windows));
    state.Closing = true;
    windows.calls.clear();
    windows.RunDeferred();
    EXPECT_TRUE(windows.calls.empty());
    EXPECT_EQ(state.RemovableDrives, std::vector<std::string>{""});
}

TEST_F(StartupTest, SplashTopMostAndWallpaperTimerFollowTheSettings) {
    fake.profile.Set(ini, "Option", "SplashLogo", "1");
    fake.profile.Set(ini, "IniBuff", "IniBuff", "003101011");
    EXPECT_TRUE(RunMain(state, fake.platform, windows));
    windows.RunDeferred();
    EXPECT_EQ(windows.calls, (std::vector<std::string>{"show bar", "not topmost", "after first paint", "finish bar",
                                                       "timers", "wallpapers", "up check"}));

    // A splash setting that is not a number counts as 0: the splash shows,
    // even when it starts with a digit.
    for (const char* value : {"abc", "1abc", "", " ", "0", "0.0"}) {
        windows.calls.clear();
        fake.profile.Set(ini, "Option", "SplashLogo", value);
        EXPECT_TRUE(RunMain(state, fake.platform, windows)) << '"' << value << '"';
        ASSERT_FALSE(windows.calls.empty());
        EXPECT_EQ(windows.calls.front(), "splash") << '"' << value << '"';
        EXPECT_EQ(windows.calls.back(), "after first paint") << '"' << value << '"';
        EXPECT_EQ(windows.calls[windows.calls.size() - 2], "close splash") << '"' << value << '"';
    }
    for (const char* value : {"1", " 1 ", "2", "-1"}) {
        windows.calls.clear();
        fake.profile.Set(ini, "Option", "SplashLogo", value);
        EXPECT_TRUE(RunMain(state, fake.platform, windows)) << '"' << value << '"';
        EXPECT_EQ(windows.calls.front(), "show bar") << '"' << value << '"';
    }
}

TEST_F(StartupTest, AControlThatFailsEndsTheProgramWithDetails) {
    windows.load = {true, "クラスが登録されていません"};
    EXPECT_FALSE(RunMain(state, fake.platform, windows));
    EXPECT_EQ(windows.calls, (std::vector<std::string>{"splash", "show bar", "close splash", "unload bar"}));
    ASSERT_EQ(fake.messages.shown.size(), 1u);
    EXPECT_EQ(fake.messages.shown[0].text,
              "起動に必要なランタイムが正しくインストールされていない可能性があります 処理を中断します\r\n\r\n詳細\r\n"
              "クラスが登録されていません");
    EXPECT_EQ(fake.messages.shown[0].icon, MessageIcon::Error);
}

TEST_F(StartupTest, ABarThatDidNotFinishItsLayoutIsHiddenAndUnloaded) {
    windows.layoutFinishes = false;
    EXPECT_FALSE(RunMain(state, fake.platform, windows));
    EXPECT_EQ(windows.calls,
              (std::vector<std::string>{"splash", "show bar", "hide bar", "close splash", "unload bar"}));
    ASSERT_EQ(fake.messages.shown.size(), 1u);
    EXPECT_TRUE(fake.messages.shown[0].text.starts_with("起動に必要な"));
}

TEST(ExMenuMax, FromTheCountSetting) {
    const struct {
        const char* count;
        int max;
    } cases[] = {{"10", 9}, {"1", 0}, {"abc", 9}, {"", 9}, {" 5 ", 4}, {"2.5", 1}, {"0", -1}, {"99999999", 9},
               {"150", 99}, {"100", 99}};
    for (const auto& c : cases) EXPECT_EQ(ExMenuMaxFor(c.count), c.max) << '"' << c.count << '"';
}

TEST(RemovableDrives, FloppiesAreLeftOutAndNoneLeavesOneEmptyElement) {
    fakes::FakeSystemInfo system;
    EXPECT_EQ(CollectRemovableDrives(system), std::vector<std::string>{""});
    system.drives = {{"A:\\", DriveType::Removable, "3.5 インチ FD (A:)"},
                     {"D:\\", DriveType::CdRom, "CD (D:)"}};
    EXPECT_EQ(CollectRemovableDrives(system), std::vector<std::string>{""});
    system.drives.push_back({"G:\\", DriveType::Removable, "fd lower case (G:)"});  // the test is case-sensitive
    EXPECT_EQ(CollectRemovableDrives(system), std::vector<std::string>{"G:\\"});
    EXPECT_EQ(system.nameAsks.back(), (std::vector<std::string>{"A:\\", "G:\\"}))
        << "only removable drives are named, all at once: the start waits on no other drive";
}

namespace {

class FakeBarShutdown final : public BarShutdown {
public:
    std::vector<std::string> calls;
    void StopTimers() override { calls.push_back("timers off"); }
    void EjectMedia() override { calls.push_back("eject"); }
    std::pair<int, int> BarPositionTwips() override {
        calls.push_back("position");
        return {0, 450};
    }
    void RemoveTrayIcon() override { calls.push_back("tray"); }
    void RemoveAppBar(bool autoHide) override { calls.push_back(autoHide ? "appbar autohide" : "appbar"); }
};

}  // namespace

TEST(Shutdown, SavesPositionAndSettingsOnlyWhenAsked) {
    FakePlatform fake;
    MenuMain state;
    state.ApplicationPath = "C:\\Tavi";
    FakeBarShutdown bar;
    RunShutdown(state, fake.platform, bar);
    EXPECT_EQ(bar.calls, (std::vector<std::string>{"timers off", "position", "tray", "appbar autohide"}));
    EXPECT_EQ(state.settings.Values().SaveY, "450");
    EXPECT_EQ(fake.profile.Writes().size(), 15u);
    EXPECT_EQ(fake.profile.GetString("C:\\Tavi\\TaviLaunch.ini", "Place", "SaveY"), "450");
    EXPECT_TRUE(state.Closing);

    FakePlatform untouched;
    MenuMain quiet;
    fakes::SetSetting(quiet, &Settings::SaveOnExit, "0");
    fakes::SetSetting(quiet, &Settings::MediaEject, "1");
    fakes::SetSetting(quiet, &Settings::AutoHide, "0");
    FakeBarShutdown other;
    RunShutdown(quiet, untouched.platform, other);
    EXPECT_EQ(other.calls, (std::vector<std::string>{"timers off", "eject", "tray", "appbar"}));
    EXPECT_TRUE(untouched.profile.calls.empty());
}

TEST_F(StartupTest, GroupsOfAnOlderFileGetTheirOwnSectionAfterTheFirstPaint) {
    const std::string members = "C:\\Tavi\\TaviMenu2.INI";
    fake.profile.Set(members, "ExMenu07", "00ExPathName", "C:\\a.exe");
    windows.entriesToLoad.ResizeEntryArrays(107);
    windows.entriesToLoad.slots[107] = {"Tools", "[Tools]", "", "0", "", "0"};
    ASSERT_TRUE(RunMain(state, fake.platform, windows));
    EXPECT_TRUE(fake.profile.Writes().empty()) << "nothing is written before the first paint";
    windows.RunDeferred();  // before any click can open the group
    EXPECT_EQ(fake.profile.GetString(members, "ExMenu107", "00ExPathName"), "C:\\a.exe");
    EXPECT_EQ(LoadExMenu(fake.profile, "C:\\Tavi", 107, 0)[0].ExPathName, "C:\\a.exe");
}
