#include <gtest/gtest.h>

#include "fakes/fakes.h"
#include "fakes/info_fakes.h"
#include "tools/memory_space.h"

using namespace tavi;
using fakes::FakeMemoryStatus;
using fakes::FakeSystemResources;

TEST(PercentBar, WholePercentNeverZeroOrHundredUnlessExact) {
    const struct {
        double fraction;
        bool exact;
        int percent;
        double fill;
    } cases[] = {
        {0.0, true, 0, 0.0},   {0.0, false, 1, 0.0},   {0.004, false, 1, 0.004}, {0.005, false, 1, 0.005},
        {0.01, false, 1, 0.01}, {0.015, false, 2, 0.015}, {0.5, false, 50, 0.5},    {0.994, false, 99, 0.994},
        {0.995, false, 99, 0.995}, {1.0, false, 99, 1.0}, {1.0, true, 100, 1.0},     {1.7, false, 99, 1.0},
        {-0.2, false, 1, 0.0},
    };
    for (const auto& c : cases) {
        const PercentBar bar = PlanPercentBar(c.fraction, c.exact);
        EXPECT_EQ(bar.percent, c.percent) << c.fraction << (c.exact ? " exact" : "");
        EXPECT_DOUBLE_EQ(bar.fraction, c.fill) << c.fraction;
        EXPECT_EQ(bar.Text(), std::to_string(c.percent) + "%");
    }
}

TEST(PercentBar, TextCentredAndFillFollowingTheFraction) {
    const PercentBarLayout full = LayOutPercentBar(PlanPercentBar(1.0), 200, 20, 30, 12);
    EXPECT_EQ(full.text, MakeRect(85, 4, 30, 12));
    EXPECT_EQ(full.fill, MakeRect(0, 0, 200, 20));
    EXPECT_EQ(LayOutPercentBar(PlanPercentBar(0.01), 200, 20, 24, 12).fill, MakeRect(0, 0, 2, 20));
    EXPECT_EQ(LayOutPercentBar(PlanPercentBar(0.5), 201, 21, 25, 13).text, MakeRect(88, 4, 25, 13));
    EXPECT_EQ(LayOutPercentBar(PlanPercentBar(0, true), 200, 20, 18, 12).fill, Rect{}) << "nothing filled";
}

TEST(MemorySpaceRefresh, PhysicalMemoryInWholeKilobytesBeyondTwoGigabytes) {
    FakeMemoryStatus memory;
    memory.figures = MemoryFigures{37, 34359738368ull + 1023, 3221225472ull + 2047};  // 32 GB, 3 GB
    FakeSystemResources resources;
    fakes::FakeSystemInfo system;
    fakes::MemoryFileSystem files;
    const MemorySpaceView view = MemorySpaceRefresh(memory, resources, system, files);
    EXPECT_EQ(view.totalPhys, "33,554,432 KB");
    EXPECT_EQ(view.availPhys, "3,145,729 KB");
    EXPECT_EQ(view.load, PlanPercentBar(0.37));
}

TEST(MemorySpaceRefresh, LoadBarRules) {
    const std::pair<uint32_t, int> cases[] = {{0, 0}, {1, 1}, {55, 55}, {99, 99}, {100, 99}};
    for (const auto& [load, shown] : cases) {
        FakeMemoryStatus memory;
        memory.figures = MemoryFigures{load, 1024, 1024};
        FakeSystemResources resources;
        fakes::FakeSystemInfo system;
        fakes::MemoryFileSystem files;
        const MemorySpaceView view = MemorySpaceRefresh(memory, resources, system, files);
        ASSERT_TRUE(view.load) << load;
        EXPECT_EQ(view.load->percent, shown) << load;
        EXPECT_DOUBLE_EQ(view.load->fraction, load / 100.0) << load;
    }
}

TEST(MemorySpaceRefresh, WithoutTheResourceLibraryTheBarsSaySo) {
    FakeMemoryStatus memory;  // and no memory figures either: they stay as they were
    FakeSystemResources resources;
    resources.percents = {{ResourceKind::System, 50}, {ResourceKind::User, 60}, {ResourceKind::Gdi, 70}};
    fakes::FakeSystemInfo system;
    fakes::MemoryFileSystem files;
    const MemorySpaceView view = MemorySpaceRefresh(memory, resources, system, files);
    EXPECT_FALSE(view.totalPhys);
    EXPECT_FALSE(view.availPhys);
    EXPECT_FALSE(view.load);
    EXPECT_EQ(view.resources, MemorySpaceView::Resources::Missing);
    EXPECT_TRUE(resources.asked.empty());
}

TEST(MemorySpaceRefresh, ALibraryThatCannotBeUsedIsMissingToo) {
    FakeMemoryStatus memory;
    FakeSystemResources resources;
    resources.percents = {{ResourceKind::System, 50}};
    fakes::FakeSystemInfo system;
    fakes::MemoryFileSystem files;
    files.files["C:\\WINDOWS\\system32\\rsrc32.dll"] = "MZ";
    EXPECT_EQ(MemorySpaceRefresh(memory, resources, system, files).resources, MemorySpaceView::Resources::Missing);
}

TEST(MemorySpaceRefresh, WithoutASystemFolderTheResourceBarsStayAsTheyWere) {
    FakeMemoryStatus memory;
    FakeSystemResources resources;
    fakes::FakeSystemInfo system;
    system.systemDirectory = "";
    fakes::MemoryFileSystem files;
    EXPECT_EQ(MemorySpaceRefresh(memory, resources, system, files).resources, MemorySpaceView::Resources::Unchanged);
}

TEST(MemorySpaceRefresh, ResourcesAreAskedSystemUserGdi) {
    FakeMemoryStatus memory;
    FakeSystemResources resources;
    resources.percents = {{ResourceKind::System, 0}, {ResourceKind::User, 1}, {ResourceKind::Gdi, 100}};
    fakes::FakeSystemInfo system;
    system.systemDirectory = "C:\\WINDOWS\\SYSTEM";
    fakes::MemoryFileSystem files;
    files.files["C:\\WINDOWS\\SYSTEM\\rsrc32.dll"] = "MZ";
    const MemorySpaceView view = MemorySpaceRefresh(memory, resources, system, files);
    EXPECT_EQ(view.resources, MemorySpaceView::Resources::Shown);
    EXPECT_EQ(resources.asked,
              (std::vector<ResourceKind>{ResourceKind::System, ResourceKind::User, ResourceKind::Gdi}));
    EXPECT_EQ(view.resourceBars[0], PlanPercentBar(0, true));
    EXPECT_EQ(view.resourceBars[1].percent, 1);
    EXPECT_DOUBLE_EQ(view.resourceBars[1].fraction, 0.01);
    EXPECT_EQ(view.resourceBars[2].percent, 99);
}
