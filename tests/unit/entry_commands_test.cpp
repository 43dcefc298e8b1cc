#include <gtest/gtest.h>

#include "fakes/menu_fakes.h"
#include "menus/entry_commands.h"

using namespace tavi;

namespace {

class EntryCommandTest : public ::testing::Test {
protected:
    fakes::MenuFixture f;
    CutClipboard clipboard;
    EntryCommandContext context{f.state, f.fake.platform, f.bar, clipboard};
    const ExMenuSlots solitaire{{"Solitaire", "C:\\sol.exe", "", "0"}, {}};

    void SetUp() override {
        f.state.ApplicationPath = "C:\\Tavi";
        f.state.entries.SetExMenuMax(1);
        fakes::SetSetting(f.state, &Settings::ToolTips, "1");
        fakes::GiveEntries(f.state, f.fake.platform,
                           {{"Memo", "C:\\memo.exe", "", "0", "C:\\memo.exe", "0"}, {"Games", "[Games]", "", "0", "", "0"}});
        f.state.entries.Reserve(3);
        EXPECT_TRUE(SaveExMenu(f.fake.profile, "C:\\Tavi", 1, solitaire, 1));
        f.fake.profile.calls.clear();
        f.fake.files.replaceCalls = 0;
    }
    ExMenuSlots Members(int index) { return LoadExMenu(f.fake.profile, "C:\\Tavi", index, 1); }
    const LaunchEntry& Slot(int index) { return f.state.entries.Slots().at(static_cast<size_t>(index)); }
    std::string List() { return f.fake.files.files["C:\\Tavi\\Launch.ini"]; }
    void At(int index, void (*command)(const EntryCommandContext&, int)) { command(context, index); }
};

}  // namespace

TEST_F(EntryCommandTest, DeleteAsksFirstAndCancelKeepsEverything) {
    f.fake.messages.answers = {MessageAnswer::Cancel};
    At(0, DeleteEntry);
    ASSERT_EQ(f.fake.messages.shown.size(), 1u);
    const MessageRequest& box = f.fake.messages.shown[0];
    EXPECT_EQ(box.text, "\"Memo\" を削除します　よろしいですか");
    EXPECT_EQ(box.caption, "たびめにゅ～２");
    EXPECT_EQ(box.icon, MessageIcon::Warning);
    EXPECT_EQ(box.buttons, MessageButtons::OkCancel);
    EXPECT_EQ(Slot(0).Title, "Memo");
    EXPECT_EQ(f.fake.files.replaceCalls, 0);
    EXPECT_TRUE(f.fake.profile.Writes().empty());
    EXPECT_TRUE(f.log.empty());
}

TEST_F(EntryCommandTest, DeletingAGroupEmptiesItsSlotAndItsMembers) {
    At(1, DeleteEntry);
    EXPECT_EQ(Slot(1), LaunchEntry{});
    EXPECT_EQ(List().find("Games"), std::string::npos) << "the list was saved without it";
    EXPECT_TRUE(f.bar.buttons.calls.empty()) << "every picture is built again instead";
    EXPECT_EQ(f.log, std::vector<std::string>{"bar rebuild"});
    EXPECT_EQ(Members(1), EmptyExMenu(1));
}

TEST_F(EntryCommandTest, CutAndPasteMoveAGroupWithItsMembers) {
    At(1, CutEntry);
    EXPECT_TRUE(clipboard.CutPending);
    EXPECT_EQ(clipboard.CutSource, 1);
    EXPECT_EQ(Slot(1), LaunchEntry{});
    EXPECT_EQ(List().find("Games"), std::string::npos);
    EXPECT_EQ(Members(1), solitaire) << "members stay under the source until the paste";
    EXPECT_TRUE(f.log.empty()) << "no full rebuild on a cut";

    At(2, PasteEntry);
    EXPECT_TRUE(f.fake.messages.shown.empty()) << "a free slot takes the entry without asking";
    EXPECT_EQ(Slot(2).PathName, "[Games]");
    EXPECT_EQ(Members(2), solitaire);
    EXPECT_EQ(Members(1), EmptyExMenu(1));
    EXPECT_FALSE(clipboard.CutPending);
    EXPECT_TRUE(clipboard.members.empty());
    EXPECT_EQ(f.log, std::vector<std::string>{"bar rebuild"});
    EXPECT_NE(List().find("Games\r\n[Games]"), std::string::npos);
}

TEST_F(EntryCommandTest, PasteWithNothingCutDoesNothing) {
    At(2, PasteEntry);
    EXPECT_EQ(Slot(2), LaunchEntry{});
    EXPECT_EQ(f.fake.files.replaceCalls, 0);
    EXPECT_TRUE(f.log.empty());
}

TEST_F(EntryCommandTest, PasteOverARegisteredEntryAsksAndCancelKeepsTheClipboard) {
    const struct {
        const char* targetTitle;
        MessageAnswer answer;
        const char* text;
    } cases[] = {
        {"Memo", MessageAnswer::Cancel, "\"Games\" を \"Memo\" へ移動します"},
        {"  ", MessageAnswer::Cancel, "\"Games\" を \"未定義0\" へ移動します"},
        {"Memo", MessageAnswer::Ok, "\"Games\" を \"Memo\" へ移動します"},
    };
    At(1, CutEntry);
    for (const auto& c : cases) {
        LaunchEntry target = Slot(0);
        target.Title = c.targetTitle;
        fakes::PutEntry(f.state, 0, target);
        f.fake.messages.shown.clear();
        f.fake.messages.answers = {c.answer};
        At(0, PasteEntry);
        ASSERT_EQ(f.fake.messages.shown.size(), 1u);
        EXPECT_EQ(f.fake.messages.shown[0].text, c.text);
        EXPECT_EQ(f.fake.messages.shown[0].icon, MessageIcon::Question);
        EXPECT_EQ(f.fake.messages.shown[0].buttons, MessageButtons::OkCancel);
        const bool moved = c.answer == MessageAnswer::Ok;
        EXPECT_EQ(clipboard.CutPending, !moved) << c.text;
        EXPECT_EQ(Slot(0).PathName, moved ? "[Games]" : "C:\\memo.exe") << c.text;
    }
    EXPECT_EQ(Members(0), solitaire);
}

TEST_F(EntryCommandTest, PastingBackOntoTheCutSlotKeepsTheMembers) {
    At(1, CutEntry);
    At(1, PasteEntry);
    EXPECT_EQ(Slot(1).Title, "Games");
    EXPECT_EQ(Members(1), solitaire);
}

TEST_F(EntryCommandTest, PastePastTheEndGrowsTheList) {
    At(0, CutEntry);
    At(7, PasteEntry);
    ASSERT_TRUE(f.state.entries.Has(7));
    EXPECT_EQ(Slot(7).Title, "Memo");
    EXPECT_NE(List().find("Memo\r\nC:\\memo.exe"), std::string::npos);
}

TEST_F(EntryCommandTest, ASecondCutWritesTheFirstBackToItsSlot) {
    At(1, CutEntry);
    At(0, CutEntry);
    EXPECT_EQ(Slot(1).PathName, "[Games]") << "back in its own slot";
    EXPECT_EQ(Members(1), solitaire);
    EXPECT_EQ(clipboard.entry.Title, "Memo");
    EXPECT_EQ(f.log, std::vector<std::string>{"bar rebuild"});
    EXPECT_NE(List().find("Games"), std::string::npos);
}

TEST_F(EntryCommandTest, ACutWhoseSlotWasTakenGoesToTheFirstFreeSlot) {
    At(1, CutEntry);
    fakes::PutEntry(f.state, 1, {"Calc", "C:\\calc.exe", "", "0", "", "0"});
    At(0, CutEntry);
    EXPECT_EQ(Slot(2).PathName, "[Games]");
    EXPECT_EQ(Members(2), solitaire);
    EXPECT_EQ(Members(1), EmptyExMenu(1)) << "no stale members under a slot that holds no group";
}

TEST_F(EntryCommandTest, AtExitAPendingCutIsWrittenBackGrowingAFullList) {
    EXPECT_FALSE(RestorePendingCut(context));
    EXPECT_EQ(f.fake.files.replaceCalls, 0);
    At(1, CutEntry);
    fakes::PutEntry(f.state, 1, {"Calc", "C:\\calc.exe", "", "0", "", "0"});
    fakes::PutEntry(f.state, 2, {"Note", "C:\\note.exe", "", "0", "", "0"});
    EXPECT_TRUE(RestorePendingCut(context));
    ASSERT_TRUE(f.state.entries.Has(3));
    EXPECT_EQ(Slot(3).PathName, "[Games]");
    EXPECT_EQ(Members(3), solitaire);
    EXPECT_NE(List().find("Games\r\n[Games]"), std::string::npos);
    EXPECT_FALSE(clipboard.CutPending);
}

TEST_F(EntryCommandTest, MembersOfANewGroupAtTheSourceOrOfASharedSectionSurvive) {
    At(1, CutEntry);
    // A new group registered at the cut slot meanwhile keeps what it holds.
    fakes::PutEntry(f.state, 1, {"New", "[New]", "", "0", "", "0"});
    const ExMenuSlots newMembers{{"Paint", "C:\\paint.exe", "", "0"}, {}};
    EXPECT_TRUE(SaveExMenu(f.fake.profile, "C:\\Tavi", 1, newMembers, 1));
    At(2, PasteEntry);
    EXPECT_EQ(Members(1), newMembers);
    EXPECT_EQ(Members(2), solitaire);

    // Entries 100 apart share one section: pasting 2 -> 102 must not erase it.
    At(2, CutEntry);
    At(102, PasteEntry);
    EXPECT_EQ(Slot(102).PathName, "[Games]");
    EXPECT_EQ(Members(102), solitaire);
}
