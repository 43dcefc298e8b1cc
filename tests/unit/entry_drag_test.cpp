#include <gtest/gtest.h>

#include "bar/entry_drag.h"
#include "fakes/bar_services_fake.h"
#include "fakes/group_fakes.h"
#include "app/ex_menu_store.h"

using namespace tavi;

TEST(ButtonAtPoint, TheButtonUnderThePointOrNone) {
    // A horizontal toolbar: three 32-pixel buttons in a row, the third not on the page.
    const std::vector<Rect> row = {{0, 0, 32, 32}, {32, 0, 64, 32}, {64, 0, 96, 32}};
    // A vertical one: each button on a row of its own.
    const std::vector<Rect> column = {{0, 0, 39, 39}, {0, 39, 39, 78}};
    const struct {
        const std::vector<Rect>* buttons;
        int visible;
        PixelPoint point;
        std::optional<int> position;
    } cases[] = {
        {&row, 3, {0, 0}, 0},           {&row, 3, {31, 31}, 0},         {&row, 3, {32, 0}, 1},
        {&row, 3, {95, 10}, 2},         {&row, 3, {96, 10}, {}},        {&row, 3, {10, 32}, {}},
        {&row, 3, {-1, 5}, {}},         {&row, 2, {70, 5}, {}},         {&column, 2, {20, 40}, 1},
        {&column, 2, {20, 78}, {}},     {&column, 0, {1, 1}, {}},       {&column, 5, {1, 1}, 0},
    };
    for (const auto& c : cases) {
        std::vector<int> asked;
        const auto rectOf = [&](int i) -> std::optional<Rect> {
            asked.push_back(i);
            return (*c.buttons)[static_cast<size_t>(i)];
        };
        const std::optional<int> found = ButtonAtPoint(static_cast<int>(c.buttons->size()), c.visible, c.point, rectOf);
        EXPECT_EQ(found, c.position) << c.point.x << "," << c.point.y << " of " << c.visible;
        // Each rectangle costs a message: none is asked for past the hit.
        if (found) EXPECT_EQ(asked.size(), static_cast<size_t>(*found + 1));
    }
    // The toolbar's own hit test is tried first and trusted only when its
    // button is on the page and under the point.
    const struct {
        int hint;
        int visible;
        PixelPoint point;
        std::optional<int> position;
        size_t asked;
    } hinted[] = {
        {2, 3, {70, 5}, 2, 1},   // right: one rectangle
        {0, 3, {70, 5}, 2, 4},   // wrong: then the search from the first
        {2, 2, {70, 5}, {}, 2},  // off the page: not even asked
        {-1, 3, {40, 5}, 1, 2},  // the toolbar's "none"
        {7, 3, {40, 5}, 1, 2},   // past the last button
    };
    for (const auto& c : hinted) {
        std::vector<int> asked;
        const auto rectOf = [&](int i) -> std::optional<Rect> {
            asked.push_back(i);
            return row[static_cast<size_t>(i)];
        };
        EXPECT_EQ(ButtonAtPoint(3, c.visible, c.point, rectOf, c.hint), c.position) << c.hint;
        EXPECT_EQ(asked.size(), c.asked) << c.hint;
    }
    // A rectangle the toolbar cannot give ends the search.
    EXPECT_EQ(ButtonAtPoint(3, 3, {40, 5}, [](int i) -> std::optional<Rect> {
                  if (i > 0) return std::nullopt;
                  return Rect{0, 0, 32, 32};
              }),
              std::nullopt);
}

namespace {

class EntryDragTest : public ::testing::Test {
protected:
    fakes::FakePlatform fake;
    MenuMain state;
    std::vector<std::string> log;
    fakes::FakeBarServices bar{log};
    fakes::FakeDragFeedback feedback{log};
    AutoHideState autoHide;
    EntryDrag drag{{state, fake.platform, bar, autoHide, feedback}};
    BarListView view{state, bar};
    const ExMenuSlots games{{"Sol", "C:\\sol.exe", "", "0"}, {}};

    void SetUp() override {
        state.ApplicationPath = "C:\\Tavi";
        state.entries.SetExMenuMax(1);
        fakes::SetSetting(state, &Settings::ToolTips, "1");
        state.page.SetVisibleCount(10);
        EXPECT_TRUE(SaveExMenu(fake.profile, "C:\\Tavi", 1, games, 1));
        fakes::GiveEntries(state, fake.platform,
                           {{"Memo", "C:\\memo.exe", "", "0", "C:\\memo.exe", "0"},
                            {"Games", "[Games]", "", "0", "", "0"},
                            {},
                            {"Calc", "C:\\calc.exe", "/x", "1", "C:\\calc.exe", "0"}});
        state.entries.AttachView(&view);
        fake.files.replaceCalls = 0;
        autoHide.hideCounter = 3;
    }
    // Press at `from`, move, let the delay pass and release at `to`.
    void Drag(int from, std::optional<int> to) {
        drag.Press(MouseButton::Left, from);
        drag.Move();
        drag.Move();
        drag.DelayElapsed();
        drag.Release(MouseButton::Left, to);
    }
    const LaunchEntry& Slot(int index) { return state.entries.Slots().at(static_cast<size_t>(index)); }
    ExMenuSlots Members(int index) { return LoadExMenu(fake.profile, "C:\\Tavi", index, 1); }
};

}  // namespace

TEST_F(EntryDragTest, DraggingOntoAnEmptyButtonAsksWithItsIndexAndMoves) {
    Drag(0, 2);
    ASSERT_EQ(fake.messages.shown.size(), 1u);
    EXPECT_EQ(fake.messages.shown[0].text, "\"Memo\" を \"未定義2\" へ移動します");
    EXPECT_EQ(fake.messages.shown[0].caption, "たびめにゅ～２");
    EXPECT_EQ(fake.messages.shown[0].icon, MessageIcon::Question);
    EXPECT_EQ(fake.messages.shown[0].buttons, MessageButtons::OkCancel);
    EXPECT_EQ(Slot(2).PathName, "C:\\memo.exe");
    EXPECT_EQ(Slot(0), LaunchEntry{});
    EXPECT_EQ(fake.files.replaceCalls, 1) << "one save of the list";
    EXPECT_EQ(log, (std::vector<std::string>{"drag timer on", "drag timer off", "drag cursor", "arrow cursor",
                                             "bar rebuild"}));
    EXPECT_FALSE(drag.ClickArmed()) << "the click that follows must not start the entry";
    EXPECT_FALSE(drag.DragArmed());
    EXPECT_EQ(state.page.CurrentEntry(), 2);
    EXPECT_EQ(autoHide.hideCounter, 0);
    EXPECT_EQ(autoHide.lastReleasePosition, 2);
}

TEST_F(EntryDragTest, AGroupDraggedOntoAnEntryReplacesItAndTakesItsMembers) {
    Drag(1, 3);
    ASSERT_EQ(fake.messages.shown.size(), 1u);
    EXPECT_EQ(fake.messages.shown[0].text, "\"Games\" を \"Calc\" へ移動します");
    EXPECT_EQ(Slot(3).PathName, "[Games]");
    EXPECT_EQ(Slot(1), LaunchEntry{});
    EXPECT_EQ(Members(3), games);
    EXPECT_EQ(Members(1), EmptyExMenu(1));
}

TEST_F(EntryDragTest, CancelAndTheSameButtonMoveNothingAndTheClickStillStarts) {
    fake.messages.answers = {MessageAnswer::Cancel};
    Drag(0, 3);
    EXPECT_EQ(fake.messages.shown.size(), 1u);
    EXPECT_EQ(Slot(0).Title, "Memo");
    EXPECT_EQ(Slot(3).Title, "Calc");
    EXPECT_TRUE(drag.ClickArmed());

    Drag(0, 0);
    EXPECT_EQ(fake.messages.shown.size(), 1u) << "no question for the pressed button itself";
    EXPECT_EQ(Slot(0).Title, "Memo");
    EXPECT_TRUE(drag.ClickArmed());
    EXPECT_FALSE(drag.DragArmed());
    EXPECT_EQ(fake.files.replaceCalls, 0);
}

TEST_F(EntryDragTest, APressOnAnEmptyButtonPastTheEndGrowsTheListButArmsNothing) {
    drag.Press(MouseButton::Left, 7);
    EXPECT_TRUE(state.entries.Has(7));
    EXPECT_EQ(state.entries.LastEntryIndex(), 7);
    EXPECT_FALSE(drag.DragArmed());
    drag.Move();
    drag.Release(MouseButton::Left, 0);
    EXPECT_TRUE(log.empty());
    EXPECT_TRUE(fake.messages.shown.empty());
    EXPECT_TRUE(drag.ClickArmed());
    drag.Press(MouseButton::Left, std::nullopt);
    drag.Press(MouseButton::Right, 0);
    EXPECT_FALSE(drag.DragArmed()) << "neither no button nor the right button arms a drag";
}

TEST_F(EntryDragTest, EveryReleaseEndsTheDrag) {
    const struct {
        const char* name;
        bool delayPassed;
        MouseButton button;
        std::optional<int> at;
        std::vector<std::string> log;
    } cases[] = {
        {"on no button", false, MouseButton::Left, std::nullopt, {"drag timer on", "drag timer off"}},
        {"on no button, cursor shown", true, MouseButton::Left, std::nullopt,
         {"drag timer on", "drag timer off", "drag cursor", "arrow cursor"}},
        {"with the right button", true, MouseButton::Right, 3,
         {"drag timer on", "drag timer off", "drag cursor", "arrow cursor"}},
        {"on the pressed button", false, MouseButton::Left, 0, {"drag timer on", "drag timer off"}},
    };
    for (const auto& c : cases) {
        log.clear();
        drag.Press(MouseButton::Left, 0);
        drag.Move();
        if (c.delayPassed) drag.DelayElapsed();
        if (c.button == MouseButton::Right) fake.messages.answers = {MessageAnswer::Cancel};
        drag.Release(c.button, c.at);
        EXPECT_EQ(log, c.log) << c.name;
        EXPECT_FALSE(drag.DragArmed()) << c.name;
        EXPECT_FALSE(drag.DragStarted()) << c.name;
        log.clear();
        drag.DelayElapsed();  // a timer message already queued
        EXPECT_TRUE(log.empty()) << c.name << ": a late tick shows no cursor";
    }
    EXPECT_EQ(Slot(0).Title, "Memo");
}

TEST_F(EntryDragTest, AMoveOntoAButtonPastTheEndGrowsTheListFirst) {
    state.page.ShowFrom(20);
    state.entries.Reserve(24);
    fakes::PutEntry(state, 21, {"Far", "C:\\far.exe", "", "0", "C:\\far.exe", "0"});
    fake.messages.shown.clear();
    Drag(1, 9);
    ASSERT_TRUE(state.entries.Has(29));
    EXPECT_EQ(Slot(29).Title, "Far");
    EXPECT_EQ(Slot(21), LaunchEntry{});
    EXPECT_EQ(fake.messages.shown[0].text, "\"Far\" を \"未定義29\" へ移動します");
}

TEST_F(EntryDragTest, ADragOntoTheButtonReleasedOnLastStillMoves) {
    // The button clicked last is where the pointer was released before;
    // dragging onto it is an ordinary move.
    drag.Press(MouseButton::Left, 2);
    drag.Release(MouseButton::Left, 2);
    EXPECT_EQ(autoHide.lastReleasePosition, 2);
    Drag(0, 2);
    EXPECT_EQ(Slot(2).Title, "Memo");
    drag.Press(MouseButton::Left, 2);
    drag.Release(MouseButton::Left, std::nullopt);
    EXPECT_EQ(autoHide.lastReleasePosition, -1) << "a release off the buttons is on none";
}

TEST_F(EntryDragTest, AnEntryDeletedDuringTheDragIsNotMoved) {
    drag.Press(MouseButton::Left, 0);
    drag.Move();
    fakes::PutEntry(state, 0, {});
    drag.Release(MouseButton::Left, 2);
    EXPECT_TRUE(fake.messages.shown.empty());
    EXPECT_EQ(Slot(2), LaunchEntry{});
}

TEST_F(EntryDragTest, TheMenuDrivenMoveTakesTheNextClickWithoutAsking) {
    state.page.ActOn(2);
    EXPECT_FALSE(drag.BeginMenuMove(state.page.CurrentEntry())) << "an empty slot has nothing to move";
    drag.DropMenuMove(3);
    EXPECT_EQ(Slot(3).Title, "Calc") << "no move was begun";

    state.page.ActOn(3);
    ASSERT_TRUE(drag.BeginMenuMove(state.page.CurrentEntry()));
    EXPECT_TRUE(drag.MenuMoveActive());
    drag.DropMenuMove(3);
    EXPECT_EQ(Slot(3).Title, "Calc") << "its own button leaves it as it was";
    EXPECT_FALSE(drag.MenuMoveActive());

    ASSERT_TRUE(drag.BeginMenuMove(state.page.CurrentEntry()));
    drag.DropMenuMove(std::nullopt);
    EXPECT_EQ(Slot(3).Title, "Calc") << "a click on no button ends the move";

    ASSERT_TRUE(drag.BeginMenuMove(state.page.CurrentEntry()));
    drag.DropMenuMove(1);
    EXPECT_TRUE(fake.messages.shown.empty());
    EXPECT_EQ(Slot(1).Title, "Calc");
    EXPECT_EQ(Slot(3), LaunchEntry{});
    EXPECT_EQ(Members(1), EmptyExMenu(1)) << "the group it replaced leaves no members behind";

    ASSERT_TRUE(drag.BeginMenuMove(state.page.CurrentEntry()));
    drag.CancelMenuMove();
    EXPECT_FALSE(drag.MenuMoveActive());
    EXPECT_EQ(log, (std::vector<std::string>{"drag cursor", "arrow cursor", "drag cursor", "arrow cursor",
                                             "drag cursor", "arrow cursor", "bar rebuild", "drag cursor",
                                             "arrow cursor"}));
}
