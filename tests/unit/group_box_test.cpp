// The group box beside a right-edge bar, ten slots:
//
//   box.left                                   box.right = bar window's left
//   |<-- 33 -->|<-- w -->| ... |<-- w -->|<-- w -->||  bar  |
//   |  cmdExit | slot 9  | ... | slot 1  | slot 0  || group |  <- in line with
//   |   "4" -> |         |     |         |         || button|     the group button
//
// Slot 0 always lies against the bar, the close button at the far end, its
// arrow pointing back to the bar. The other edges mirror or turn this.
#include <gtest/gtest.h>

#include "app/entry_store.h"
#include "app/start_log.h"
#include "dialogs/group_box.h"
#include "fakes/bar_services_fake.h"
#include "fakes/group_fakes.h"

using namespace tavi;

namespace {

// What the search is told of starts.
struct RecordedStarts final : StartLog {
    std::vector<std::string> started;
    void Started(std::string_view path, std::string_view parameters) override {
        started.push_back(std::string(path) + " " + std::string(parameters));
    }
};

const char* Name(DockEdge e) {
    switch (e) {
        case DockEdge::Left: return "left";
        case DockEdge::Right: return "right";
        case DockEdge::Top: return "top";
        case DockEdge::Bottom: return "bottom";
    }
    return "?";
}

bool Inside(const Rect& inner, const Rect& outer) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

bool Overlap(const Rect& a, const Rect& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

// The button at page position `position` of a bar laid out by LayoutBar, in
// screen pixels, the way the bar window reports it.
Rect ButtonOf(const BarLayout& layout, DockEdge edge, int32_t tpp, int position) {
    const Rect toolbar = TwipsToPixels(layout.toolbar, tpp, tpp);
    const int32_t w = layout.metrics.buttonPixels;
    const int32_t left = layout.windowPixels.left + toolbar.left + (IsHorizontal(edge) ? position * w : 0);
    const int32_t top = layout.windowPixels.top + toolbar.top + (IsHorizontal(edge) ? 0 : position * w);
    return MakeRect(left, top, w, w);
}

}  // namespace

TEST(GroupBoxLayout, ARightBarWithTenSlotsEndsAtTheBarsLeftEdge) {
    GroupBoxPlacement p;
    p.edge = DockEdge::Right;
    p.barWindow = {1239, 0, 1280, 1024};
    p.groupButton = {1240, 200, 1279, 239};
    p.buttonPixels = 39;
    p.exitPixels = 33;
    p.slots = 10;
    const GroupBoxLayout layout = LayoutGroupBox(p);
    EXPECT_EQ(layout.box, (Rect{1239 - 33 - 390, 200, 1239, 239}));
    EXPECT_EQ(layout.exit, (Rect{0, 0, 33, 39}));
    EXPECT_EQ(layout.exitGlyph, '4');
    EXPECT_EQ(layout.members[9], (Rect{33, 0, 72, 39}));
    EXPECT_EQ(layout.members[0], (Rect{33 + 9 * 39, 0, 423, 39}));
}

TEST(GroupBoxLayout, EveryEdgeDpiAndTaskbarPutsTheBoxFlushBesideTheGroupButton) {
    const std::pair<const char*, Rect> taskbars[] = {
        {"bottom", {0, 1040, 1920, 1080}}, {"top", {0, 0, 1920, 40}}, {"left", {0, 0, 62, 1080}},
        {"right", {1858, 0, 1920, 1080}},
    };
    const struct {
        int dpi;
        int exit;
    } scales[] = {{96, 33}, {120, 41}, {144, 49}, {192, 61}};
    for (DockEdge edge : {DockEdge::Left, DockEdge::Right, DockEdge::Top, DockEdge::Bottom})
        for (const auto& [taskbarName, taskbar] : taskbars)
            for (const auto& scale : scales)
                for (int slots : {1, 5, 10}) {
                    SCOPED_TRACE(std::string(Name(edge)) + " bar, taskbar " + taskbarName + ", " +
                                 std::to_string(scale.dpi) + " dpi, " + std::to_string(slots) + " slots");
                    LayoutInput input;
                    input.edge = edge;
                    input.screen = MakeScreenInfo(1920, 1080, scale.dpi, scale.dpi, taskbar);
                    const BarLayout bar = LayoutBar(input);
                    const int32_t tpp = input.screen.twipsPerPixelX;
                    const Rect button = ButtonOf(bar, edge, tpp, 2);
                    const GroupBoxLayout l =
                        LayoutGroupBox(PlacementFromBar(ButtonSizesOf(bar), edge, bar.windowPixels, button, slots));
                    const int32_t w = bar.metrics.buttonPixels;
                    const int32_t length = slots * w + scale.exit;
                    const Rect& window = bar.windowPixels;
                    switch (edge) {
                        case DockEdge::Left:
                            EXPECT_EQ(l.box, MakeRect(window.right, button.top, length, w));
                            break;
                        case DockEdge::Right:
                            EXPECT_EQ(l.box, MakeRect(window.left - length, button.top, length, w));
                            break;
                        case DockEdge::Top:
                            EXPECT_EQ(l.box, MakeRect(button.left, window.bottom, w, length));
                            break;
                        case DockEdge::Bottom:
                            EXPECT_EQ(l.box, MakeRect(button.left, window.top - length, w, length));
                            break;
                    }
                    const Rect client = MakeRect(0, 0, l.box.Width(), l.box.Height());
                    ASSERT_EQ(l.members.size(), static_cast<size_t>(slots));
                    for (size_t i = 0; i < l.members.size(); ++i) {
                        EXPECT_EQ(l.members[i].Width(), w);
                        EXPECT_EQ(l.members[i].Height(), w);
                        EXPECT_TRUE(Inside(l.members[i], client)) << "slot " << i;
                        EXPECT_FALSE(Overlap(l.members[i], l.exit)) << "slot " << i;
                        for (size_t j = i + 1; j < l.members.size(); ++j)
                            EXPECT_FALSE(Overlap(l.members[i], l.members[j])) << i << " and " << j;
                    }
                    EXPECT_TRUE(Inside(l.exit, client));
                    // A member's folder menu crosses the box from the bar: below a row, right of a column.
                    const Rect& last = l.members.back();
                    const Rect member{l.box.left + last.left, l.box.top + last.top, l.box.left + last.right,
                                      l.box.top + last.bottom};
                    const FolderMenuAnchor expected =
                        IsHorizontal(edge) ? FolderMenuAnchor{l.box.right, member.top, MenuSide::Right, l.box}
                                           : FolderMenuAnchor{member.left, l.box.bottom, MenuSide::Below, l.box};
                    EXPECT_EQ(MemberMenuAnchor(l, slots - 1), expected);
                    // Along the box it is 495 twips at the bar's scale, across it as wide as a button.
                    EXPECT_EQ(IsHorizontal(edge) ? l.exit.Height() : l.exit.Width(), scale.exit);
                    EXPECT_EQ(IsHorizontal(edge) ? l.exit.Width() : l.exit.Height(), w);
                    // Slot 0 touches the bar's side, the close button the far end.
                    const Rect& first = l.members[0];
                    switch (edge) {
                        case DockEdge::Left:
                            EXPECT_EQ(first.left, 0);
                            EXPECT_EQ(l.exit.right, client.right);
                            EXPECT_EQ(l.exitGlyph, '3');
                            break;
                        case DockEdge::Right:
                            EXPECT_EQ(first.right, client.right);
                            EXPECT_EQ(l.exit.left, 0);
                            EXPECT_EQ(l.exitGlyph, '4');
                            break;
                        case DockEdge::Top:
                            EXPECT_EQ(first.top, 0);
                            EXPECT_EQ(l.exit.bottom, client.bottom);
                            EXPECT_EQ(l.exitGlyph, '5');
                            break;
                        case DockEdge::Bottom:
                            EXPECT_EQ(first.bottom, client.bottom);
                            EXPECT_EQ(l.exit.top, 0);
                            EXPECT_EQ(l.exitGlyph, '6');
                            break;
                    }
                }
}

TEST(GroupBoxLayout, WithoutALayoutTheButtonItselfGivesTheSize) {
    const GroupBoxPlacement p = PlacementFromBar(BarButtonSizes{}, DockEdge::Top, {0, 0, 1280, 41}, {100, 1, 140, 40}, 3);
    EXPECT_EQ(p.buttonPixels, 40);
    EXPECT_EQ(p.exitPixels, 33);
    EXPECT_EQ(LayoutGroupBox(p).box, MakeRect(100, 41, 40, 3 * 40 + 33));
}

TEST(GroupBoxLayout, APointOnAnEdgeIsInside) {
    const Rect box{100, 200, 300, 240};
    const std::pair<PixelPoint, bool> cases[] = {
        {{100, 200}, false}, {{300, 240}, false}, {{200, 220}, false}, {{99, 220}, true},
        {{301, 220}, true},  {{200, 199}, true},  {{200, 241}, true},  {{-5, -5}, true},
    };
    for (const auto& [point, outside] : cases)
        EXPECT_EQ(PointerOutside(box, point), outside) << point.x << "," << point.y;
}

TEST(GroupButton, TheFirstIconOfTheProgramThatOpensTheMemberAndItsTitle) {
    fakes::FakeShell shell;
    shell.associations = {{"C:\\Tools\\ed.exe", "C:\\Tools\\ed.exe"},
                          {"D:\\Notes\\a.txt", "\"C:\\Program Files\\Editor\\editor.exe\""},
                          {"D:\\odd.dat", "   "}};
    // `answered`: the shell has answered for the document; until then the
    // member waits with a generic picture, named and with its title as tip.
    struct Case {
        ExMenuEntry member;
        bool answered;
        GroupButtonPicture picture;
    };
    const Case cases[] = {
        {{"Ed", "C:\\Tools\\ed.exe", "", "0"}, true, {"C:\\Tools\\ed.exe", "Ed", "Ed"}},
        {{"Notes", " D:\\Notes\\a.txt ", "", "0"}, true, {"C:\\Program Files\\Editor\\editor.exe", "Notes", "Notes"}},
        {{"", "C:\\Tools\\ed.exe", "", "0"}, true, {"C:\\Tools\\ed.exe", "", "ed.exe"}},
        {{"No program", "D:\\Notes\\b.xyz", "", "0"}, true, {"", "", "No program"}},
        {{"", "D:\\Notes\\b.xyz", "", "0"}, true, {"", "", "b.xyz"}},
        {{"Blank program", "D:\\odd.dat", "", "0"}, true, {"", "", "Blank program"}},
        {{"Empty", "  ", "", "0"}, true, {}},
        {{"Notes", " D:\\Notes\\a.txt ", "", "0"}, false, {"", "Notes", "Notes", false, true}},
        {{"", "\\\\dead\\share\\a.txt", "", "0"}, false, {"", "", "a.txt", false, true}},
        {{"Empty", "  ", "", "0"}, false, {}},
    };
    for (const auto& [member, answered, picture] : cases)
        EXPECT_EQ(answered ? GroupButtonFor(member, shell) : GroupButtonFor(member, std::nullopt), picture)
            << member.ExTitle << (answered ? "" : ", not answered yet");
}

namespace {

class GroupBoxTest : public ::testing::Test {
protected:
    fakes::FakePlatform fake;
    MenuMain state;
    std::vector<std::string> log;
    fakes::FakeBarServices bar{log};
    fakes::FakeGroupBoxWindow window{log};
    fakes::FakeGroupBoxView& view = window.view;
    const ExMenuEntry editor{"Ed", "C:\\Tools\\ed.exe", "-n", "2"};

    void SetUp() override {
        state.ApplicationPath = "C:\\Tavi";
        state.entries.SetExMenuMax(3);
        state.page.ShowFrom(10);
        std::vector<LaunchEntry> entries(14);
        entries[12] = {"Tools", "[Tools]", "", "0", "", "0"};
        entries[13] = {"Memo", "C:\\memo.exe", "", "0", "C:\\memo.exe", "0"};
        fakes::GiveEntries(state, fake.platform, entries);
        state.entries.Reserve(20);
        fake.files.replaceCalls = 0;
        fake.shell.associations = {{"C:\\Tools\\ed.exe", "C:\\Tools\\ed.exe"}};
        view.shell = &fake.shell;
        ExMenuSlots members = EmptyExMenu(3);
        members[1] = editor;
        EXPECT_TRUE(SaveExMenu(fake.profile, "C:\\Tavi", 12, members, 3));
        fake.profile.calls.clear();
    }
    ExMenuSlots Stored(int index = 12) { return LoadExMenu(fake.profile, "C:\\Tavi", index, 3); }
};

}  // namespace

TEST_F(GroupBoxTest, LoadingDrawsTheUsedSlotsOnly) {
    GroupBox box(state, fake.platform, 12);
    EXPECT_EQ(box.Slots(), 4);
    box.Load(view);
    EXPECT_EQ(view.log, std::vector<std::string>{"member 1 [C:\\Tools\\ed.exe] [Ed]"});
    EXPECT_FALSE(box.Choice());
}

TEST_F(GroupBoxTest, AMemberWaitsForItsProgramAndIsDrawnAgainWhenItComes) {
    GroupBox box(state, fake.platform, 12);
    view.programsComing = {"C:\\Tools\\ed.exe"};
    box.Load(view);
    box.ProgramFound(view, "C:\\Other\\x.txt");
    EXPECT_EQ(view.log, std::vector<std::string>{"member 1 [] [Ed] waiting"}) << "only the members of that document";
    // One whose answer never comes can still be chosen and started.
    box.MemberClicked(view, 1);
    EXPECT_EQ(box.Choice(), 1);
    EXPECT_TRUE(box.StartChoice());
    ASSERT_EQ(fake.shell.opened.size(), 1u);
    EXPECT_EQ(fake.shell.opened[0].file, "C:\\Tools\\ed.exe");

    GroupBox again(state, fake.platform, 12);
    view.log.clear();
    again.Load(view);
    view.programsComing.clear();
    again.ProgramFound(view, "C:\\Tools\\ed.exe");
    EXPECT_EQ(view.log, (std::vector<std::string>{"member 1 [] [Ed] waiting", "member 1 [C:\\Tools\\ed.exe] [Ed]"}));
}

TEST_F(GroupBoxTest, ALeftClickOnAMemberChoosesItAndTheBoxClosesAfterTheDelay) {
    GroupBox box(state, fake.platform, 12);
    box.MemberClicked(view, 1);
    EXPECT_EQ(box.Choice(), 1);
    EXPECT_EQ(box.ExMenuIndex(), 1);
    EXPECT_EQ(view.log, std::vector<std::string>{"close after delay"});
    box.MemberClicked(view, 2);
    box.MemberMenu(view, 1);
    box.MouseLeaveTick(view, {0, 0, 10, 10}, {500, 500});
    EXPECT_EQ(view.log.size(), 1u) << "a closing box takes no more clicks";
    EXPECT_EQ(box.Choice(), 1);

    RecordedStarts starts;
    state.starts = &starts;
    EXPECT_TRUE(box.StartChoice());
    EXPECT_EQ(starts.started, std::vector<std::string>{"C:\\Tools\\ed.exe -n"}) << "counted for the search";
    ASSERT_EQ(fake.shell.opened.size(), 1u);
    EXPECT_EQ(fake.shell.opened[0].file, "C:\\Tools\\ed.exe");
    EXPECT_EQ(fake.shell.opened[0].parameters, "-n");
    EXPECT_EQ(fake.shell.opened[0].show, ShowCommand::Maximized);
    EXPECT_EQ(fake.shell.opened[0].directory, "C:\\Tools");
}

TEST_F(GroupBoxTest, AMemberFolderShownAsAMenuOpensItAndTheBoxStaysUntilAnItemIsChosen) {
    ExMenuSlots members = Stored();
    members[2] = {"Docs", " D:\\Docs\\ ", "", "3"};
    ASSERT_TRUE(SaveExMenu(fake.profile, "C:\\Tavi", 12, members, 3));
    GroupBox box(state, fake.platform, 12);
    const Rect at{100, 100, 300, 140};
    view.whileChildOpen = [&] {
        box.MouseLeaveTick(view, at, {900, 900});  // the pointer is over the menu, outside the box
        box.MemberClicked(view, 1);
    };
    view.folderMenuChoices = {false, true};
    box.MemberClicked(view, 2);        // dismissed
    box.MemberClicked(view, 2, true);  // an item chosen, from the keyboard
    EXPECT_EQ(view.log, (std::vector<std::string>{"folder menu 2 D:\\Docs\\", "restart timer",
                                                  "folder menu 2 D:\\Docs\\ by keys", "restart timer", "close"}));
    EXPECT_FALSE(box.Choice()) << "the menu carried out its item itself";
    EXPECT_FALSE(box.StartChoice());
    EXPECT_TRUE(fake.shell.opened.empty());
}

TEST_F(GroupBoxTest, AFailingMemberOffersToDeleteThatMemberOnly) {
    fake.shell.result = 2;
    fake.messages.answers = {MessageAnswer::Yes};
    state.page.ActOn(13);  // some other entry was acted on last
    GroupBox box(state, fake.platform, 12);
    box.MemberClicked(view, 1);
    RecordedStarts starts;
    state.starts = &starts;
    EXPECT_TRUE(box.StartChoice()) << "handed to the shell";
    EXPECT_TRUE(starts.started.empty()) << "what did not start is not counted";
    ASSERT_EQ(fake.messages.shown.size(), 1u);
    EXPECT_EQ(fake.messages.shown[0].text, "C:\\Tools\\ed.exe起動失敗 ｴﾝﾄﾘｰを削除しますか");
    EXPECT_EQ(Stored(), EmptyExMenu(3)) << "the member is gone from the file";
    EXPECT_EQ(state.entries.At(12).PathName, "[Tools]");
    EXPECT_EQ(state.entries.At(13).PathName, "C:\\memo.exe");
    EXPECT_EQ(fake.files.replaceCalls, 0) << "the bar's list is not touched";
}

TEST_F(GroupBoxTest, ALeftClickOnAnEmptySlotRegistersAMember) {
    GroupBox box(state, fake.platform, 12);
    const ExMenuEntry notes{"Notes", "C:\\Tools\\ed.exe", "/p \"D:\\a b.txt\"", "0"};
    view.edits = {std::nullopt, notes};
    box.MemberClicked(view, 3);
    EXPECT_EQ(Stored()[3], ExMenuEntry{}) << "Cancel stores nothing";
    EXPECT_TRUE(fake.profile.Writes().empty());
    box.MemberClicked(view, 3);
    EXPECT_EQ(Stored()[3], notes);
    EXPECT_EQ(box.Members()[3], notes);
    EXPECT_EQ(view.editedMembers, (std::vector<ExMenuEntry>{{}, {}}));
    EXPECT_EQ(view.log, (std::vector<std::string>{"NewAppEx", "restart timer", "NewAppEx", "restart timer",
                                                  "member 3 [C:\\Tools\\ed.exe] [Notes]"}));
    EXPECT_FALSE(box.Choice()) << "registering keeps the box open";
}

TEST_F(GroupBoxTest, TheMenuOffersAddForAnEmptySlotAndEditOrDeleteForAUsedOne) {
    GroupBox box(state, fake.platform, 12);
    box.MemberMenu(view, 0);
    box.MemberMenu(view, 1);
    EXPECT_EQ(view.menuStates, (std::vector<GroupMenuStates>{{true, false, false}, {false, true, true}}));

    // Items the slot was not offered do nothing, even if they arrive.
    view.menuChoices = {GroupMenuCommand::Delete, GroupMenuCommand::Edit};
    box.MemberMenu(view, 0);
    box.MemberMenu(view, 0);
    EXPECT_TRUE(fake.profile.Writes().empty());
    EXPECT_EQ(view.editedMembers.size(), 0u);

    const ExMenuEntry renamed{"Editor", "C:\\Tools\\ed.exe", "-n", "2"};
    view.menuChoices = {GroupMenuCommand::Edit};
    view.edits = {renamed};
    box.MemberMenu(view, 1);
    EXPECT_EQ(view.editedMembers, std::vector<ExMenuEntry>{editor}) << "edit opens on the member";
    EXPECT_EQ(Stored()[1], renamed);

    view.log.clear();
    view.menuChoices = {GroupMenuCommand::Delete};
    box.MemberMenu(view, 1);
    EXPECT_EQ(Stored(), EmptyExMenu(3));
    EXPECT_EQ(view.log, (std::vector<std::string>{"menu", "restart timer", "member 1 [] []"}));

    view.menuChoices = {GroupMenuCommand::Add};
    view.edits = {editor};
    box.MemberMenu(view, 2);
    EXPECT_EQ(Stored()[2], editor);
}

TEST_F(GroupBoxTest, TheMenuKeyOpensTheMenuAtTheMemberAndTheMouseAtThePointer) {
    GroupBox box(state, fake.platform, 12);
    box.MemberMenu(view, 1, true);
    box.MemberMenu(view, 3, true);
    box.MemberMenu(view, 1);
    EXPECT_EQ(view.log, (std::vector<std::string>{"menu at member 1", "restart timer", "menu at member 3",
                                                  "restart timer", "menu", "restart timer"}));
    EXPECT_EQ(view.menuStates, (std::vector<GroupMenuStates>{{false, true, true}, {true, false, false},
                                                             {false, true, true}}));
}

TEST_F(GroupBoxTest, ATypedCharacterFindsTheNextMemberItBegins) {
    ExMenuSlots members = EmptyExMenu(3);
    members[0] = {"Memo", "C:\\memo.exe", "", "0"};
    members[1] = {"", "D:\\Tools\\Xedit.exe", "", "0"};
    members[2] = {"Xtra", "", "", "0"};  // a title left in a free slot
    members[3] = {"めも帳", "C:\\notepad.exe", "", "0"};
    ASSERT_TRUE(SaveExMenu(fake.profile, "C:\\Tavi", 12, members, 3));
    GroupBox box(state, fake.platform, 12);
    const struct {
        int from;
        char32_t typed;
        std::optional<int> expected;
    } cases[] = {
        {0, U'x', 1},            {1, U'x', 1},           {2, U'X', 1},
        {0, U'ﾒ', 3},            {3, U'め', 3},          {1, U'M', 0},
        {3, U'ｍ', 0},           {0, U'm', 0},           {0, U'q', std::nullopt},
        {0, 0x1B, std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(box.MemberStartingWith(c.from, c.typed), c.expected)
            << "from " << c.from << " typed U+" << std::hex << static_cast<uint32_t>(c.typed);
    EXPECT_TRUE(view.log.empty()) << "finding moves nothing by itself";
}

TEST_F(GroupBoxTest, ThePointerLeavingClosesTheBoxButNotWhileItsOwnWindowsAreOpen) {
    GroupBox box(state, fake.platform, 12);
    const Rect at{100, 100, 300, 140};
    box.MouseLeaveTick(view, at, {300, 140});
    EXPECT_TRUE(view.log.empty()) << "on the edge";

    // The timer fires while the member dialog, and then the menu, are up.
    view.whileChildOpen = [&] {
        EXPECT_TRUE(box.ChildWindowOpen());
        box.MouseLeaveTick(view, at, {900, 900});
        box.MemberClicked(view, 1);
        box.Dismiss(view);
    };
    box.MemberClicked(view, 0);
    box.MemberMenu(view, 1);
    EXPECT_EQ(view.log, (std::vector<std::string>{"NewAppEx", "restart timer", "menu", "restart timer"}));
    EXPECT_FALSE(box.ChildWindowOpen());

    box.MouseLeaveTick(view, at, {301, 120});
    EXPECT_EQ(view.log.back(), "close");
    EXPECT_FALSE(box.Choice());
}

TEST_F(GroupBoxTest, OpenedByKeysTheBoxWaitsWhileThePointerRestsWhereItWas) {
    const Rect at{100, 100, 300, 140};
    const PixelPoint away{900, 900}, moved{901, 900}, inside{200, 120};
    const struct {
        const char* name;
        bool byKeys;
        std::vector<PixelPoint> ticks;
        bool closed;
    } cases[] = {
        {"by the mouse, outside", false, {away}, true},
        {"by keys, the pointer resting", true, {away, away, away}, false},
        {"by keys, the pointer moved away", true, {away, moved}, true},
        {"by keys, the pointer moved inside, then rests", true, {inside, inside}, false},
        {"by keys, inside and then out", true, {inside, away}, true},
    };
    for (const auto& c : cases) {
        GroupBox box(state, fake.platform, 12, c.byKeys);
        box.PointerAtShow(away);
        view.log.clear();
        for (const PixelPoint& pointer : c.ticks) box.MouseLeaveTick(view, at, pointer);
        EXPECT_EQ(view.log, c.closed ? std::vector<std::string>{"close"} : std::vector<std::string>{}) << c.name;
    }
}

TEST_F(GroupBoxTest, EscapeAndTheCloseButtonCloseWithoutAChoice) {
    GroupBox box(state, fake.platform, 12);
    box.Dismiss(view);
    EXPECT_EQ(view.log, std::vector<std::string>{"close"});
    EXPECT_FALSE(box.StartChoice());
    EXPECT_TRUE(fake.shell.opened.empty());
}

TEST_F(GroupBoxTest, OpeningPausesTheTimerShowsTheBoxBesideTheButtonAndStartsTheChoice) {
    bar.windowRect = {1239, 0, 1280, 1024};
    bar.layout.metrics.buttonPixels = 32;
    bar.layout.buttonTwips = 480;
    fakes::SetSetting(state, &Settings::Horizontal, "0");
    fakes::SetSetting(state, &Settings::EdgeCode, "2");  // right edge
    window.script = [](GroupBox& box, fakes::FakeGroupBoxView& v) { box.MemberClicked(v, 1); };
    OpenGroupBox(bar, state, fake.platform, window, 2);
    EXPECT_EQ(state.page.CurrentEntry(), 12);
    EXPECT_EQ(log, (std::vector<std::string>{"timer pause", "box shown", "box closed", "timer resume"}));
    ASSERT_TRUE(window.shownAt);
    // The fake bar's button 2 is at x 64..96, y 0..32.
    EXPECT_EQ(window.shownAt->box, MakeRect(1239 - (4 * 32 + 33), 0, 4 * 32 + 33, 32));
    ASSERT_EQ(fake.shell.opened.size(), 1u);
    EXPECT_EQ(fake.shell.opened[0].file, "C:\\Tools\\ed.exe");
}

TEST_F(GroupBoxTest, AMemberWhoseProgramRunsIsDrawnRunningFollowsWhatRunsAndAnEditedOneAskedAgain) {
    bar.runningPath = editor.ExPathName;
    window.script = [&](GroupBox& box, fakes::FakeGroupBoxView& v) {
        v.edits = {ExMenuEntry{"Ed2", "C:\\Tools\\ed.exe", "", "0"}, ExMenuEntry{"Memo", "C:\\memo.exe", "", "0"}};
        box.MemberClicked(v, 2);
        box.MemberClicked(v, 3);
        bar.Runs("");  // ed ends while the box is open: both of its members lose the mark
        bar.Runs("");  // told again with nothing changed: nothing is drawn again
        bar.Runs("C:\\memo.exe");
    };
    OpenGroupBox(bar, state, fake.platform, window, 2);
    EXPECT_EQ(view.log, (std::vector<std::string>{"member 1 [C:\\Tools\\ed.exe] [Ed] running", "NewAppEx",
                                                  "restart timer",
                                                  "member 2 [C:\\Tools\\ed.exe] [Ed2] running", "NewAppEx",
                                                  "restart timer", "member 3 [] []", "member 1 not running",
                                                  "member 2 not running", "member 3 running"}));
    // Once the box is gone, what runs reaches none of its members.
    EXPECT_FALSE(bar.runningFollower);
}

TEST_F(GroupBoxTest, EveryWayOutResumesTheTimerAndOnlyGroupsOpen) {
    OpenGroupBox(bar, state, fake.platform, window, 3);  // an ordinary entry
    OpenGroupBox(bar, state, fake.platform, window, 50);  // past the list
    EXPECT_TRUE(log.empty());

    OpenGroupBox(bar, state, fake.platform, window, 2);  // closed without a choice
    EXPECT_EQ(log, (std::vector<std::string>{"timer pause", "box shown", "box closed", "timer resume"}));
    EXPECT_TRUE(fake.shell.opened.empty());

    log.clear();
    window.throwInside = true;
    EXPECT_ANY_THROW(OpenGroupBox(bar, state, fake.platform, window, 2));
    EXPECT_EQ(log, (std::vector<std::string>{"timer pause", "box shown", "timer resume"}));

    log.clear();
    window.throwInside = false;
    state.Closing = true;
    OpenGroupBox(bar, state, fake.platform, window, 2);
    EXPECT_EQ(log.back(), "box closed") << "a closing bar keeps its timer off";
}
