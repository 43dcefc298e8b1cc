#include <gtest/gtest.h>

#include "platform/messages.h"
#include "bar/accessible_names.h"
#include "fakes/fakes.h"

using namespace tavi;

namespace {

LaunchEntry Entry(const char* title, const char* path) { return {title, path, "", "0", "", "0"}; }

}  // namespace

TEST(AccessibleNames, TitleOrTheNameThePathEndsWith) {
    struct Case {
        LaunchEntry entry;
        const char* name;
    };
    const Case cases[] = {
        {Entry("メモ帳", "C:\\WINDOWS\\notepad.exe"), "メモ帳"},
        {Entry("", "C:\\WINDOWS\\notepad.exe"), "notepad.exe"},
        {Entry("   ", "C:\\WINDOWS\\notepad.exe"), "notepad.exe"},
        {Entry("", " C:\\Tools\\run.bat "), "run.bat"},
        {Entry("", "C:\\Docs\\"), "Docs"},
        {Entry("", "C:\\Docs\\\\"), "Docs"},
        {Entry("", "C:\\"), "C:"},
        {Entry("", "notepad.exe"), "notepad.exe"},
        {Entry("", "[ゲーム]"), "ゲーム"},
        {Entry("遊び", "[ゲーム]"), "遊び"},
        {Entry(" 前後に空白 ", "C:\\a.exe"), " 前後に空白 "},
    };
    for (const Case& c : cases)
        EXPECT_EQ(AccessibleEntryName(c.entry), c.name) << "title '" << c.entry.Title << "' path '" << c.entry.PathName
                                                       << "'";
}

TEST(AccessibleNames, ButtonsOfThePage) {
    fakes::FakePlatform fake;
    MenuMain state;
    state.ApplicationPath = "C:\\Tavi";
    fakes::GiveEntries(state, fake.platform,
                       {Entry("A", "C:\\a.exe"), Entry("", ""), Entry("G", "[Group]"), Entry("", "C:\\d.txt"),
                        Entry("E", "C:\\e.exe"), {"F", "C:\\F\\", "", "3", "", "0"}});
    state.page.SetVisibleCount(4);
    const std::string start(text::kActionStartEntry);
    const std::string open(text::kActionOpenGroup);
    using R = AccessibleRole;
    struct Case {
        int offset;
        int position;
        int focused;
        ButtonDescription expected;
    };
    const Case cases[] = {
        {0, 0, -1, {"A", R::PushButton, false, false, start}},
        {0, 0, 0, {"A", R::PushButton, true, false, start}},
        {0, 1, 1, {"", R::PushButton, true, true, ""}},  // an empty slot keeps the focus it was given
        {0, 2, 0, {"G", R::ButtonMenu, false, false, open}},
        {0, 3, 3, {"d.txt", R::PushButton, true, false, start}},
        {0, 4, -1, {"", R::PushButton, false, true, ""}},  // past the page
        {0, -1, -1, {"", R::PushButton, false, true, ""}},
        {4, 0, 0, {"E", R::PushButton, true, false, start}},  // second page
        {4, 1, 0, {"F", R::ButtonMenu, false, false, open}},  // a folder shown as a menu opens one
        {4, 2, 2, {"", R::PushButton, true, true, ""}},  // past the entries
    };
    for (const Case& c : cases) {
        state.page.ShowFrom(c.offset);
        EXPECT_EQ(DescribeButton(state, c.position, c.focused), c.expected)
            << "offset " << c.offset << " position " << c.position << " focused " << c.focused;
    }
}

TEST(AccessibleNames, PagingButtonsAreNamedByTheirCaptions) {
    EXPECT_EQ(PageButtonName(PageCommand::Close), text::kCloseButton);
    EXPECT_EQ(PageButtonName(PageCommand::Next), text::kNextButton);
    EXPECT_EQ(PageButtonName(PageCommand::Previous), text::kPreviousButton);
}
