#include <gtest/gtest.h>

#include "menus/import_plan.h"

using namespace tavi;

namespace {

LaunchEntry Entry(const std::string& title, const std::string& path, const std::string& command = "") {
    return LaunchEntry{title, path, command, "0", path, "0"};
}

// A bar from a picture: "A" an entry titled A (target C:\A.exe), "." a free slot,
// "t" a slot with a title but no target (kept: it is not free).
EntryStore Bar(const std::string& picture) {
    EntryStore store;
    for (char c : picture) {
        if (c == '.')
            store.slots.push_back({});
        else if (c == 't')
            store.slots.push_back(LaunchEntry{"label", "", "", "0", "", "0"});
        else
            store.slots.push_back(Entry(std::string(1, c), std::string("C:\\") + c + ".exe"));
    }
    store.LastEntryIndex = static_cast<int>(store.slots.size());
    return store;
}

std::vector<LaunchEntry> Shortcuts(const std::string& letters) {
    std::vector<LaunchEntry> shortcuts;
    for (char c : letters) shortcuts.push_back(Entry(std::string(1, c), std::string("C:\\") + c + ".exe"));
    return shortcuts;
}

}  // namespace

TEST(ShortcutImport, FreeSlotsFirstNothingOverwrittenDuplicatesSkippedAndTheLimitHolds) {
    const struct {
        const char* bar;
        const char* shortcuts;
        int limit;
        std::vector<int> slots;
        int duplicates, overLimit;
    } cases[] = {
        {"", "XYZ", 1000, {0, 1, 2}, 0, 0},                    // an empty bar
        {"AB", "XY", 1000, {2, 3}, 0, 0},                      // after the last entry
        {"A.B..C", "XYZ", 1000, {1, 3, 4}, 0, 0},              // the holes first
        {"A.B", "XYZ", 1000, {1, 3, 4}, 0, 0},                 // then past the end
        {"AtB", "X", 1000, {3}, 0, 0},                         // a titled slot is not free
        {"AB", "BXA", 1000, {2}, 2, 0},                        // already on the bar
        {"A", "XXX", 1000, {1}, 2, 0},                         // twice in the same import
        {"A..", "XYZ", 3, {1, 2}, 0, 1},                       // the limit: slots 0..limit-1 only
        {"ABC", "X", 3, {}, 0, 1},                             // a full bar takes nothing
        {"AB", "AX", 2, {}, 1, 1},                             // a duplicate is a duplicate, full or not
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("bar \"") + c.bar + "\" shortcuts \"" + c.shortcuts + "\" limit " +
                     std::to_string(c.limit));
        const EntryStore store = Bar(c.bar);
        const std::vector<LaunchEntry> shortcuts = Shortcuts(c.shortcuts);
        const ImportPlan plan = PlanShortcutImport(store, shortcuts, c.limit);
        EXPECT_EQ(plan.slots, c.slots);
        EXPECT_EQ(plan.duplicates, c.duplicates);
        EXPECT_EQ(plan.overLimit, c.overLimit);
        EXPECT_EQ(plan.placed.size(), plan.slots.size());
        EXPECT_EQ(static_cast<int>(plan.slots.size()) + plan.Skipped(), static_cast<int>(shortcuts.size()))
            << "every shortcut is counted once";
        // Applied, every entry that was there is still there, in its slot.
        EntryStore after = store;
        ApplyImportPlan(after, plan);
        for (size_t i = 0; i < store.slots.size(); ++i)
            if (!store.slots[i].Title.empty() || !store.slots[i].PathName.empty())
                EXPECT_EQ(after.slots[i], store.slots[i]) << "slot " << i;
        for (size_t i = 0; i < plan.slots.size(); ++i)
            EXPECT_EQ(after.slots[static_cast<size_t>(plan.slots[i])], plan.placed[i]);
        EXPECT_LE(after.UpperBound(), c.limit - 1);
    }
}

TEST(ShortcutImport, SameTargetIgnoresCaseAndBlanksButNotParameters) {
    EntryStore store;
    store.slots = {Entry("Edit", "C:\\Tools\\Edit.exe", "-n"), Entry("Group", "[Work]")};
    store.LastEntryIndex = 2;
    const std::vector<LaunchEntry> shortcuts = {
        Entry("same", " c:\\tools\\EDIT.EXE ", "-n"),  // duplicate
        Entry("other parameters", "C:\\Tools\\Edit.exe", "-m"),
        Entry("no parameters", "C:\\Tools\\Edit.exe"),
        Entry("a file named like the group", "[Work]"),  // duplicate of the group entry's path
        Entry("broken", ""),
        Entry("blank", "   "),
    };
    const ImportPlan plan = PlanShortcutImport(store, shortcuts);
    ASSERT_EQ(plan.placed.size(), 2u);
    EXPECT_EQ(plan.placed[0].Title, "other parameters");
    EXPECT_EQ(plan.placed[1].Title, "no parameters");
    EXPECT_EQ(plan.slots, (std::vector<int>{2, 3}));
    EXPECT_EQ(plan.duplicates, 2);
    EXPECT_EQ(plan.unusable, 2);
    EXPECT_EQ(plan.Skipped(), 4);
}

TEST(ShortcutImport, AThousandShortcutsOntoANearlyFullBarStopAtTheLimit) {
    EntryStore store;
    store.slots.assign(990, Entry("x", "C:\\x.exe"));
    store.slots[500] = {};
    store.LastEntryIndex = 990;
    std::vector<LaunchEntry> shortcuts;
    for (int i = 0; i < 1000; ++i) shortcuts.push_back(Entry("s", "C:\\s" + std::to_string(i) + ".exe"));
    const ImportPlan plan = PlanShortcutImport(store, shortcuts);
    ASSERT_EQ(plan.slots.size(), 11u);
    EXPECT_EQ(plan.slots.front(), 500);
    EXPECT_EQ(plan.slots.back(), kEntryLimit - 1);
    EXPECT_EQ(plan.overLimit, 989);
    ApplyImportPlan(store, plan);
    EXPECT_EQ(store.UpperBound(), kEntryLimit - 1);
    EXPECT_EQ(store.slots[999].PathName, "C:\\s10.exe");
}
