#include <gtest/gtest.h>

#include "platform/messages.h"
#include "app/menu_main.h"
#include "app/save_notice.h"
#include "fakes/fakes.h"
#include "platform/own_files_profile.h"

using namespace tavi;

TEST(SaveNotices, TellsOncePerRunOfFailuresAndASuccessRearmsIt) {
    fakes::FakeMessageBoxes messages;
    MenuMain state;
    state.ApplicationPath = "C:\\Tavi";
    const struct {
        bool saved;
        size_t told;
    } steps[] = {{true, 0}, {false, 1}, {false, 1}, {false, 1}, {true, 1}, {true, 1}, {false, 2}};
    for (const auto& step : steps) {
        EXPECT_EQ(state.notices.Note(messages, state.ApplicationPath, step.saved), step.saved);
        EXPECT_EQ(messages.shown.size(), step.told);
        EXPECT_EQ(state.notices.SaveFailed(), !step.saved);
    }
    EXPECT_EQ(messages.shown[0].text, std::string(text::kSaveFailed) + "C:\\Tavi");
    EXPECT_EQ(messages.shown[0].icon, MessageIcon::Warning);
}

TEST(OwnFilesProfile, OnlyFilesDirectlyInTheProgramsFolderAreOurs) {
    fakes::RecordingProfile own, system;
    OwnFilesProfile profile(own, system, "C:\\Program Files\\Tavi");
    const struct {
        const char* file;
        bool ours;
    } cases[] = {
        {"C:\\Program Files\\Tavi\\TaviLaunch.ini", true},
        {"c:\\program files\\TAVI\\TaviMenu2.INI", true},
        {"C:/Program Files/Tavi/TaviMenu2.INI", true},
        {"C:\\Program Files\\Tavi\\sub\\x.ini", false},
        {"C:\\Program Files\\Tavi2\\x.ini", false},
        {"C:\\Program Files\\Tavi", false},
        {"C:\\WINDOWS\\system.ini", false},
        {"win.ini", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        own.calls.clear();
        system.calls.clear();
        (void)profile.WriteString(c.file, "s", "k", "v");
        (void)profile.GetString(c.file, "s", "k");
        EXPECT_EQ(own.calls.size(), c.ours ? 2u : 0u);
        EXPECT_EQ(system.calls.size(), c.ours ? 0u : 2u);
    }
}
