#include <gtest/gtest.h>

#include <map>

#include "fakes/fakes.h"
#include "fakes/info_fakes.h"
#include "tools/start_with_windows.h"

using namespace tavi;

namespace {

const std::string kRun = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const std::string kSelf = "C:\\Users\\山田\\AppData\\Local\\Programs\\TaviMenu2\\TaviMenu2.exe";
const std::string kQuoted = "\"" + kSelf + "\"";
const std::string kOther = "\"D:\\Tools\\TaviMenu2\\TaviMenu2.exe\"";
const std::string kThird = "\"E:\\Bar\\TaviMenu2.exe\"";

using RunValues = std::map<std::string, std::string>;  // name: command

}  // namespace

// The box shows whether a value of ours starts this folder's program; OK
// changes the registry only where it differs from the box, takes a name no
// value holds, and leaves every value of another folder or program as it was.
TEST(StartWithWindows, EachFolderKeepsItsOwnValueAndNeverTouchesAnothers) {
    const struct {
        const char* name;
        RunValues before;
        bool shown;   // the box as the dialog opens
        bool ticked;  // the box at OK
        RunValues after;
    } cases[] = {
        {"none, ticked", {}, false, true, {{"TaviMenu2", kQuoted}}},
        {"none, left unticked", {}, false, false, {}},
        {"ours, left ticked", {{"TaviMenu2", kQuoted}}, true, true, {{"TaviMenu2", kQuoted}}},
        {"ours in other case, without quotes",
         {{"taviMENU2", "c:/users/山田/appdata/local/programs/tavimenu2/TAVIMENU2.EXE"}}, true, true,
         {{"taviMENU2", "c:/users/山田/appdata/local/programs/tavimenu2/TAVIMENU2.EXE"}}},
        {"ours with an argument", {{"TaviMenu2", kQuoted + " /min"}}, true, true, {{"TaviMenu2", kQuoted + " /min"}}},
        {"ours, unticked", {{"TaviMenu2", kQuoted}}, true, false, {}},
        {"another folder's, left unticked", {{"TaviMenu2", kOther}}, false, false, {{"TaviMenu2", kOther}}},
        {"another folder's, ticked: a second name",
         {{"TaviMenu2", kOther}}, false, true, {{"TaviMenu2", kOther}, {"TaviMenu2 (2)", kQuoted}}},
        {"two others: the first free number",
         {{"TaviMenu2", kOther}, {"TaviMenu2 (2)", kThird}}, false, true,
         {{"TaviMenu2", kOther}, {"TaviMenu2 (2)", kThird}, {"TaviMenu2 (3)", kQuoted}}},
        {"the first name free again", {{"TaviMenu2 (2)", kOther}}, false, true,
         {{"TaviMenu2", kQuoted}, {"TaviMenu2 (2)", kOther}}},
        {"ours under a second name, unticked: the other stays",
         {{"TaviMenu2", kOther}, {"TaviMenu2 (2)", kQuoted}}, true, false, {{"TaviMenu2", kOther}}},
        {"edited by hand to start another program", {{"TaviMenu2", "C:\\Windows\\notepad.exe"}}, false, true,
         {{"TaviMenu2", "C:\\Windows\\notepad.exe"}, {"TaviMenu2 (2)", kQuoted}}},
        {"a longer path that begins with ours", {{"TaviMenu2", "\"" + kSelf + ".old\""}}, false, false,
         {{"TaviMenu2", "\"" + kSelf + ".old\""}}},
        {"a value of the user's own naming ours is not ours to remove",
         {{"MyBar", kQuoted}, {"TaviMenu2 (02)", kQuoted}, {"TaviMenu2 (1)", kQuoted}}, false, false,
         {{"MyBar", kQuoted}, {"TaviMenu2 (02)", kQuoted}, {"TaviMenu2 (1)", kQuoted}}},
        {"both names ours, unticked: both go", {{"TaviMenu2", kQuoted}, {"TaviMenu2 (7)", kSelf}}, true, false, {}},
    };
    for (const auto& c : cases) {
        fakes::FakeRegistry registry;
        fakes::FakeMessageBoxes messages;
        for (const auto& [name, command] : c.before) registry.SetText(RegistryRoot::CurrentUser, kRun, name, command);
        EXPECT_EQ(StartsWithWindows(registry, kSelf), c.shown) << c.name;
        OptionSetStartWithWindows(registry, messages, kSelf, c.ticked);
        RunValues after;
        for (const std::string& name : registry.ValueNames(RegistryRoot::CurrentUser, kRun))
            after[name] = registry.ReadText(RegistryRoot::CurrentUser, kRun, name).value_or("?");
        EXPECT_EQ(after, c.after) << c.name;
        EXPECT_EQ(registry.changes.empty(), c.shown == c.ticked) << c.name << ": written only where the box differs";
        EXPECT_TRUE(messages.shown.empty()) << c.name;
        EXPECT_EQ(StartsWithWindows(registry, kSelf), c.ticked) << c.name << ", opened again";
    }
}

// A value of that name this program cannot read (another kind, as a
// hand-made REG_EXPAND_SZ) keeps its name: ours takes the next one.
TEST(StartWithWindows, AValueThatCannotBeReadKeepsItsName) {
    fakes::FakeRegistry registry;
    fakes::FakeMessageBoxes messages;
    registry.SetNumber(RegistryRoot::CurrentUser, kRun, "TaviMenu2", 1);
    OptionSetStartWithWindows(registry, messages, kSelf, true);
    EXPECT_EQ(registry.Find(RegistryRoot::CurrentUser, kRun, "TaviMenu2")->number, 1u);
    EXPECT_EQ(registry.ReadText(RegistryRoot::CurrentUser, kRun, "TaviMenu2 (2)"), kQuoted);
}

TEST(StartWithWindows, ARefusedChangeIsToldOnceAndLeavesTheValueAsItWas) {
    for (const bool ticked : {true, false}) {
        fakes::FakeRegistry registry;
        fakes::FakeMessageBoxes messages;
        if (!ticked) registry.SetText(RegistryRoot::CurrentUser, kRun, "TaviMenu2", kQuoted);
        registry.failing.insert(kRun);
        OptionSetStartWithWindows(registry, messages, kSelf, ticked);
        ASSERT_EQ(messages.shown.size(), 1u) << ticked;
        EXPECT_EQ(messages.shown[0].text, "Windows の起動時に実行する設定を変更できませんでした");
        EXPECT_EQ(messages.shown[0].caption, "たびめにゅ～２");
        EXPECT_EQ(messages.shown[0].icon, MessageIcon::Warning);
        EXPECT_EQ(StartsWithWindows(registry, kSelf), !ticked) << "as it was";
    }
}
