#include "app/crash_restart.h"

#include <gtest/gtest.h>

namespace tavi {
namespace {

TEST(CrashRestart, OnlyTheSystemsOwnArgumentMarksARestartedStart) {
    const struct {
        const char* arguments;
        bool restarted;
    } rows[] = {
        {"", false},
        {"/restarted", true},
        {"  /RESTARTED  ", true},
        {"\"/restarted\"", true},
        {"/x /restarted", true},
        {"/restartedX", false},
        {"restarted", false},
        {"C:\\restarted\\", false},
    };
    for (const auto& row : rows) EXPECT_EQ(IsRestartedStart(row.arguments), row.restarted) << row.arguments;
}

TEST(CrashRestart, ARestartedBarComesBackAfterACrashOnlyOnceItHasSettled) {
    const struct {
        bool restarted, settled;
        bool afterCrash;
    } rows[] = {
        {false, false, true},
        {true, false, false},  // a crash soon after a restart does not loop
        {true, true, true},
    };
    for (const auto& row : rows) {
        const RestartRequest request = RestartRequestFor(row.restarted, row.settled);
        EXPECT_EQ(request.afterCrash, row.afterCrash) << row.restarted << row.settled;
        EXPECT_EQ(request.afterHang, row.afterCrash) << row.restarted << row.settled;
        EXPECT_TRUE(request.afterUpdate);
        EXPECT_FALSE(request.afterReboot) << "a start with Windows brings it back then";
        EXPECT_TRUE(IsRestartedStart(request.commandLine)) << "the new start knows it was restarted";
    }
}

}  // namespace
}  // namespace tavi
