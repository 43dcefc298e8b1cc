#include <gtest/gtest.h>

#include <functional>
#include <set>

#include "fakes/fakes.h"
#include "fakes/folder_contents_fake.h"
#include "menus/folder_menu.h"

using namespace tavi;
using Kind = FolderMenuKind;

namespace {

FolderEntry File(const char* name) { return {name, false, false, false, false}; }
FolderEntry Folder(const char* name) { return {name, true, false, false, false}; }
FolderEntry Hidden(FolderEntry entry) { return entry.hidden = true, entry; }
FolderEntry System(FolderEntry entry) { return entry.system = true, entry; }
FolderEntry Link(const char* name) { return {name, true, false, false, true}; }

struct Shown {
    Kind kind;
    std::string caption;
    bool operator==(const Shown&) const = default;
};
void PrintTo(const Shown& shown, std::ostream* out) { *out << static_cast<int>(shown.kind) << " " << shown.caption; }

std::vector<Shown> ShownOf(const std::vector<FolderMenuItem>& items) {
    std::vector<Shown> shown;
    for (const auto& item : items) shown.push_back({item.kind, item.caption});
    return shown;
}

std::vector<FolderEntry> Numbered(int count, const char* prefix) {
    std::vector<FolderEntry> entries;
    for (int i = count; i >= 1; --i) entries.push_back(File((prefix + std::to_string(i) + ".txt").c_str()));
    return entries;
}

// 68 characters: five times twelve, then eight.
const std::string kLong =
    "とても長い名前のファイルとても長い名前のファイルとても長い名前のファイルとても長い名前のファイル"
    "とても長い名前のファイル_end.txt";

}  // namespace

TEST(FolderMenu, ShowsOneLevelAsTheExplorerWould) {
    const Shown kEmpty{Kind::Placeholder, "(空)"}, kMore{Kind::More, "その他..."};
    const struct {
        const char* what;
        FolderContents contents;
        std::vector<Shown> shown;
    } cases[] = {
        {"folders first, each part without case and numbers by value",
         {FolderReadOutcome::Listed,
          {File("b.txt"), Folder("zeta"), File("File10.txt"), File("a.TXT"), Folder("Alpha"), File("file2.txt"),
           File("file02.txt"), Folder("10"), Folder("9")},
          false},
         {{Kind::Submenu, "9"},
          {Kind::Submenu, "10"},
          {Kind::Submenu, "Alpha"},
          {Kind::Submenu, "zeta"},
          {Kind::File, "a.TXT"},
          {Kind::File, "b.txt"},
          {Kind::File, "file02.txt"},
          {Kind::File, "file2.txt"},
          {Kind::File, "File10.txt"}}},
        {"symbols, digits, letters, then Japanese; full width and kana type folded",
         {FolderReadOutcome::Listed,
          {File("漢字.txt"), File("カ.txt"), File("ｂ.txt"), File("あ2.txt"), File("_x.txt"), File("1.txt"),
           File("ア1.txt"), File("A.txt")},
          false},
         {{Kind::File, "_x.txt"},
          {Kind::File, "1.txt"},
          {Kind::File, "A.txt"},
          {Kind::File, "ｂ.txt"},
          {Kind::File, "ア1.txt"},
          {Kind::File, "あ2.txt"},
          {Kind::File, "カ.txt"},
          {Kind::File, "漢字.txt"}}},
        {"shortcuts without their extension, sorted by the name shown",
         {FolderReadOutcome::Listed,
          {File("Zed.LNK"), File("b.lnk.txt"), File("web.url"), File(".lnk"), File("a c.lnk"), Folder("dir.lnk")},
          false},
         {{Kind::Submenu, "dir.lnk"},
          {Kind::File, ".lnk"},
          {Kind::File, "a c"},
          {Kind::File, "b.lnk.txt"},
          {Kind::File, "web"},
          {Kind::File, "Zed"}}},
        {"ampersands shown as themselves, tabs as spaces, long names cut in the middle",
         {FolderReadOutcome::Listed, {File("R&D.txt"), File("a\tb&&.txt"), File(kLong.c_str())}, false},
         {{Kind::File, "a b&&&&.txt"},
          {Kind::File, "R&&D.txt"},
          {Kind::File, "とても長い名前のファイルとても長い名前のファイルとても長..."
                       "長い名前のファイルとても長い名前のファイル_end.txt"}}},
        {"hidden and system items left out",
         {FolderReadOutcome::Listed,
          {Hidden(File("secret.txt")), System(File("desktop.ini")), Hidden(Folder("$RECYCLE")),
           System(Folder("System Volume Information")), File("shown.txt")},
          false},
         {{Kind::File, "shown.txt"}}},
        {"a folder with only hidden items is empty",
         {FolderReadOutcome::Listed, {Hidden(File("secret.txt"))}, false},
         {kEmpty}},
        {"empty", {FolderReadOutcome::Listed, {}, false}, {kEmpty}},
        {"unreadable", {FolderReadOutcome::Unreadable, {}, false}, {{Kind::Placeholder, "(開けません)"}}},
        {"no answer in time", {FolderReadOutcome::TimedOut, {}, false}, {{Kind::Placeholder, "(応答がありません)"}}},
        {"a listing cut short ends with more",
         {FolderReadOutcome::Listed, {File("a.txt")}, true},
         {{Kind::File, "a.txt"}, kMore}},
        {"a link to a folder opens in the explorer, not as a submenu",
         {FolderReadOutcome::Listed, {Link("Parent"), Folder("Real")}, false},
         {{Kind::File, "Parent"}, {Kind::Submenu, "Real"}}},
    };
    for (const auto& c : cases) {
        const auto items = FolderMenuItems("C:\\Menu", c.contents);
        EXPECT_EQ(ShownOf(items), c.shown) << c.what;
        for (const auto& item : items)
            EXPECT_EQ(item.enabled, item.kind != Kind::Placeholder) << c.what << ": " << item.caption;
    }
}

TEST(FolderMenu, ShowsFiveHundredItemsThenMore) {
    fakes::FakeFolderTree tree;
    std::vector<FolderEntry> many = Numbered(600, "f");
    many.insert(many.begin(), Hidden(File("hidden.txt")));
    tree.Add("C:\\Many", many);
    tree.Add("C:\\Exactly", Numbered(500, "f"));

    const auto items = ListFolderMenu(tree, "C:\\Many");
    ASSERT_EQ(items.size(), 501u);
    // Listed from f600 down, so the listing stopped after f100.
    EXPECT_EQ(items[0].caption, "f100.txt");
    EXPECT_EQ(items[499].caption, "f599.txt") << "the 500 first of what was listed, in order";
    EXPECT_EQ(items[500], (FolderMenuItem{Kind::More, "その他...", "C:\\Many", true}));
    ASSERT_EQ(tree.reads.size(), 1u);
    EXPECT_EQ(tree.reads[0].cap, 501u) << "one more than is shown, so that more is known";
    EXPECT_EQ(tree.reads[0].limit, kFolderMenuWait);

    const auto exactly = ListFolderMenu(tree, "C:\\Exactly");
    ASSERT_EQ(exactly.size(), 500u);
    EXPECT_EQ(exactly.back().kind, Kind::File) << "500 items need no more";
}

// Opening every submenu of a tree whose folders link back to their parents
// must come to an end, every folder of the tree read once, when it opens.
TEST(FolderMenu, LinksBackToAParentGiveNoEndlessMenu) {
    fakes::FakeFolderTree tree;
    tree.Add("C:\\", {Folder("Sub"), Link("Loop"), File("R&D.txt")});
    tree.Add("C:\\Sub", {Link("Up"), Folder("Deeper"), Hidden(Folder("Hidden"))});
    tree.Add("C:\\Sub\\Deeper", {Link("Top")});
    tree.links = {{"C:\\Loop", "C:\\"}, {"C:\\Sub\\Up", "C:\\Sub"}, {"C:\\Sub\\Deeper\\Top", "C:\\"}};

    EXPECT_EQ(ListFolderMenu(tree, "C:\\"), (std::vector<FolderMenuItem>{{Kind::File, "Loop", "C:\\Loop", true},
                                                                      {Kind::Submenu, "Sub", "C:\\Sub", true},
                                                                      {Kind::File, "R&&D.txt", "C:\\R&D.txt", true}}));
    EXPECT_EQ(tree.reads.size(), 1u) << "only the level shown";

    std::vector<std::string> opened;
    std::function<void(const std::string&, int)> open = [&](const std::string& folder, int depth) {
        ASSERT_LT(depth, 10) << "endless submenus at " << folder;
        opened.push_back(folder);
        for (const auto& item : ListFolderMenu(tree, folder))
            if (item.kind == Kind::Submenu) open(item.path, depth + 1);
    };
    open("C:\\", 0);
    EXPECT_EQ(opened, (std::vector<std::string>{"C:\\", "C:\\Sub", "C:\\Sub\\Deeper"}));
}

// A showing never waits past kFolderMenuWait: a folder that never answers
// shows "(応答がありません)" each time at once, and one that answers late is
// handed on when it comes, to the open menu or to the folder's next showing.
TEST(FolderMenu, AFolderThatAnswersLateOrNeverHoldsNoShowing) {
    const std::vector<std::string> kSilent{"(応答がありません)"}, kA{"a.txt"}, kB{"b.txt"}, kNone{};
    struct Step {
        enum Act { List, Answer, Quicken } act;
        std::string folder;  // Answer: none; the folders told, in order, are `shown`
        std::vector<std::string> shown;
    };
    const struct {
        const char* what;
        std::set<std::string> silent, slow;
        std::vector<Step> steps;
    } cases[] = {
        {"a folder that answers in time", {}, {}, {{Step::List, "C:\\A", kA}, {Step::Answer, "", kNone}}},
        {"a folder that never answers, opened again and again",
         {"C:\\A"},
         {},
         {{Step::List, "C:\\A", kSilent},
          {Step::Answer, "", kNone},
          {Step::List, "C:\\A", kSilent},
          {Step::List, "C:\\B", kB}}},
        {"a late listing is told when it comes and shown once, then the folder is asked again",
         {},
         {"C:\\A"},
         {{Step::List, "C:\\A", kSilent},
          {Step::Answer, "", {"C:\\A"}},
          {Step::List, "C:\\A", kA},
          {Step::List, "C:\\A", kSilent},
          {Step::Answer, "", {"C:\\A"}}}},
        {"a listing that comes in time wins over a late one",
         {},
         {"C:\\A"},
         {{Step::List, "C:\\A", kSilent},
          {Step::Answer, "", {"C:\\A"}},
          {Step::Quicken, "C:\\A", kNone},
          {Step::List, "C:\\A", kB},
          {Step::List, "C:\\A", kB}}},
        {"late listings of two folders each wait for their own",
         {},
         {"C:\\A", "C:\\B"},
         {{Step::List, "C:\\A", kSilent},
          {Step::List, "C:\\B", kSilent},
          {Step::Answer, "", {"C:\\A", "C:\\B"}},
          {Step::List, "C:\\B", kB},
          {Step::List, "C:\\A", kA}}},
    };
    for (const auto& c : cases) {
        fakes::FakeFolderTree tree;
        tree.Add("C:\\A", {File("a.txt")});
        tree.Add("C:\\B", {File("b.txt")});
        tree.silent = c.silent;
        tree.slow = c.slow;
        std::vector<std::string> told;
        FolderMenuListings listings(tree, [&](const std::string& folder) { told.push_back(folder); });
        for (size_t step = 0; step < c.steps.size(); ++step) {
            const Step& s = c.steps[step];
            const std::string where = std::string(c.what) + ", step " + std::to_string(step + 1);
            if (s.act == Step::List) {
                const auto items = listings.List(s.folder);
                std::vector<std::string> shown;
                for (const auto& item : items) shown.push_back(item.caption);
                EXPECT_EQ(shown, s.shown) << where;
                EXPECT_EQ(AwaitsListing(items), s.shown == kSilent) << where;
            } else if (s.act == Step::Answer) {
                told.clear();
                tree.AnswerLate();
                EXPECT_EQ(told, s.shown) << where;
            } else {
                tree.slow.erase(s.folder);
                tree.Add(s.folder, {File("b.txt")});
            }
        }
        for (const auto& read : tree.reads) EXPECT_EQ(read.limit, kFolderMenuWait) << c.what;
    }
    static_assert(kFolderMenuWait * 4 <= kAnswerBudget, "a menu and its submenu listed at once still answer in time");

    // Late listings are kept for so many folders at most, the oldest let go.
    fakes::FakeFolderTree tree;
    FolderMenuListings listings(tree, nullptr);
    for (size_t i = 0; i <= kFolderMenuMostLate; ++i) {
        const std::string folder = "C:\\" + std::to_string(i);
        tree.Add(folder, {File("a.txt")});
        tree.slow.insert(folder);
        (void)listings.List(folder);
    }
    EXPECT_EQ(tree.AnswerLate(), static_cast<int>(kFolderMenuMostLate + 1));
    EXPECT_FALSE(listings.HasLate("C:\\0")) << "the oldest let go";
    EXPECT_TRUE(listings.HasLate("C:\\1"));
    EXPECT_TRUE(listings.HasLate("C:\\" + std::to_string(kFolderMenuMostLate)));
}

TEST(FolderMenu, PicturesAreKeptByFolderByTypeOrByFile) {
    const struct {
        FolderMenuItem item;
        const char* key;
    } cases[] = {
        {{Kind::Submenu, "Sub", "C:\\Menu\\Sub", true}, "folder"},
        {{Kind::File, "a.txt", "C:\\Menu\\a.txt", true}, "type:.TXT"},
        {{Kind::File, "b.Txt", "D:\\b.Txt", true}, "type:.TXT"},
        {{Kind::File, "Tool", "C:\\Menu\\Tool.lnk", true}, "file:C:\\MENU\\TOOL.LNK"},
        {{Kind::File, "app.exe", "C:\\Menu\\app.exe", true}, "file:C:\\MENU\\APP.EXE"},
        {{Kind::File, "web", "C:\\Menu\\web.url", true}, "file:C:\\MENU\\WEB.URL"},
        {{Kind::File, "Parent", "C:\\Menu\\Parent", true}, "file:C:\\MENU\\PARENT"},  // a link, perhaps to a folder
        {{Kind::File, "notes", "C:\\v1.2\\notes", true}, "file:C:\\V1.2\\NOTES"},  // a dot in the folder only
        {{Kind::More, "その他...", "C:\\Menu", true}, ""},
        {{Kind::Placeholder, "(空)", "C:\\Menu", false}, ""},
    };
    for (const auto& c : cases) EXPECT_EQ(FolderMenuIconKey(c.item), c.key) << c.item.path;
}

TEST(FolderMenu, AChosenItemIsOpenedByTheShellAsAnEntryIs) {
    fakes::FakePlatform fake;
    EXPECT_TRUE(OpenFolderMenuItem(fake.platform, {Kind::File, "Tool", "C:\\Menu\\Sub\\Tool.lnk", true}));
    EXPECT_TRUE(OpenFolderMenuItem(fake.platform, {Kind::More, "その他...", "C:\\Menu", true}));
    EXPECT_FALSE(OpenFolderMenuItem(fake.platform, {Kind::Placeholder, "(空)", "C:\\Menu", false}));
    EXPECT_FALSE(OpenFolderMenuItem(fake.platform, {Kind::Submenu, "Sub", "C:\\Menu\\Sub", true}));
    ASSERT_EQ(fake.shell.opened.size(), 2u);
    const ShellOpenRequest& link = fake.shell.opened[0];
    EXPECT_EQ(link.verb, "open");
    EXPECT_EQ(link.file, "C:\\Menu\\Sub\\Tool.lnk") << "the shortcut itself, which keeps its own folder and arguments";
    EXPECT_EQ(link.parameters, "");
    EXPECT_EQ(link.directory, "C:\\Menu\\Sub");
    EXPECT_EQ(link.show, ShowCommand::Normal);
    EXPECT_EQ(fake.shell.opened[1].file, "C:\\Menu") << "the folder itself, in the explorer";

    fake.shell.result = 2;
    EXPECT_TRUE(OpenFolderMenuItem(fake.platform, {Kind::File, "gone.txt", "C:\\Menu\\gone.txt", true}));
    ASSERT_EQ(fake.messages.shown.size(), 1u);
    EXPECT_EQ(fake.messages.shown[0].text, "C:\\Menu\\gone.txt起動失敗") << "no entry of ours to offer to delete";
    EXPECT_EQ(fake.messages.shown[0].buttons, MessageButtons::Ok);
}

// A drive or share stops answering as one: the unit listings are given up on.
TEST(FolderRoot, IsTheDriveOrTheShareInEveryForm) {
    const std::pair<const char*, const char*> cases[] = {
        {"C:\\Users\\me", "c:"},
        {"c:/x", "c:"},
        {"\\\\Server\\Share\\a\\b", "\\\\server\\share"},
        {"\\\\?\\UNC\\Server\\Share\\a", "\\\\server\\share"},
        {"\\\\?\\D:\\long", "d:"},
        {"\\\\server", "\\\\server"},
        {"relative\\x", "relative\\x"},
    };
    for (const auto& [folder, root] : cases) EXPECT_EQ(FolderRoot(folder), root) << folder;
}
