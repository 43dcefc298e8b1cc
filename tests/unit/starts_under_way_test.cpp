#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <vector>

#include "platform/starts_under_way.h"

using namespace tavi;

namespace {

struct Step {
    int atMs;
    const char* file;  // null: the start begun at step `ends` comes back
    int ends;
    bool goes;         // the start may go now (a return always does)
};

}  // namespace

// One drive or share that does not answer takes no more starts until its
// start comes back; the others go on, and never more than the total are under way.
TEST(StartsUnderWay, AStuckDriveTakesNoMoreStartsUntilItsStartComesBack) {
    const struct {
        const char* name;
        std::vector<Step> steps;
    } cases[] = {
        {"quick starts on one drive all go",
         {{0, "C:\\a.exe", 0, true}, {10, "C:\\b.exe", 0, true}, {1999, "c:\\c.exe", 0, true}}},
        {"a start under way for 2 s stops its share, in any case of its name",
         {{0, "\\\\srv\\share\\a.exe", 0, true}, {2000, "\\\\SRV\\Share\\b.exe", 0, false}, {2000, "C:\\x.exe", 0, true}}},
        {"its coming back opens the drive again",
         {{0, "S:\\a.exe", 0, true}, {2500, "s:\\b.exe", 0, false}, {2600, nullptr, 0, true}, {2700, "S:\\a.exe", 0, true}}},
        {"at most three under way in all",
         {{0, "C:\\a.exe", 0, true}, {1, "D:\\b.exe", 0, true}, {2, "E:\\c.exe", 0, true}, {3, "F:\\d.exe", 0, false},
          {4, nullptr, 1, true}, {5, "F:\\d.exe", 0, true}}},
    };
    for (const auto& c : cases) {
        StartsUnderWay starts({3, std::chrono::milliseconds(2000)});
        std::map<int, uint64_t> begun;  // step -> start
        const auto origin = StartsUnderWay::Clock::time_point{};
        for (size_t i = 0; i < c.steps.size(); ++i) {
            const Step& step = c.steps[i];
            if (!step.file) {
                ASSERT_TRUE(begun.contains(step.ends)) << c.name;
                starts.End(begun[step.ends]);
                continue;
            }
            const std::optional<uint64_t> number =
                starts.Begin(step.file, origin + std::chrono::milliseconds(step.atMs));
            EXPECT_EQ(number.has_value(), step.goes) << c.name << ", step " << i;
            if (number) begun[static_cast<int>(i)] = *number;
        }
    }
}
