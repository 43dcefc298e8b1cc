#include <gtest/gtest.h>

#include "dialogs/file_information.h"
#include "fakes/info_fakes.h"

using namespace tavi;
using fakes::FakeFileDetails;
using fakes::FakeRegistry;

namespace {

constexpr RegistryRoot kClasses = RegistryRoot::ClassesRoot;

LaunchEntry EntryFor(const std::string& path) {
    LaunchEntry entry;
    entry.Title = "t";
    entry.PathName = path;
    entry.IconPath = " C:\\Windows\\notepad.exe ";
    entry.IconIndex = "2";
    return entry;
}

}  // namespace

TEST(GetTypeName, FromTheAttributesTheExtensionAndTheShellsClasses) {
    FakeFileDetails details;
    details.attributes["C:\\RECYCLED"] = kAttributeDirectory | kAttributeHidden;
    details.attributes["C:\\Tools"] = kAttributeDirectory;
    details.attributes["C:\\Tools\\"] = kAttributeDirectory;
    details.attributes["C:\\a.txt"] = kAttributeArchive;
    details.attributes["C:\\my.folder"] = kAttributeDirectory;
    FakeRegistry registry;
    registry.SetText(kClasses, ".txt", "", "txtfile");
    registry.SetText(kClasses, "txtfile", "", "テキスト ドキュメント");
    registry.SetText(kClasses, ".cls", "", "nodescription");  // its class has no text
    registry.AddKey(kClasses, "nodescription");
    registry.AddKey(kClasses, ".bare");  // key without a default value

    const std::pair<const char*, const char*> cases[] = {
        {"C:\\RECYCLED", "ごみ箱"},
        {"D:\\Recycled", "ﾌｧｲﾙ"},  // without attributes it is only a name, and has no extension
        {"C:\\Tools", "ﾌｧｲﾙ ﾌｫﾙﾀﾞ"},
        {"C:\\Tools\\", "ﾌｧｲﾙ ﾌｫﾙﾀﾞ"},
        {"C:\\my.folder", "ﾌｧｲﾙ ﾌｫﾙﾀﾞ"},
        {"C:\\a.txt", "テキスト ドキュメント"},
        {"C:\\missing.TXT", "テキスト ドキュメント"},  // class names are found without case
        {"C:\\README", "ﾌｧｲﾙ"},
        {"C:\\v1.0\\README", "ﾌｧｲﾙ"},  // a "\" comes before any "."
        {"C:\\x.cls", "CLS ﾌｧｲﾙ"},
        {"C:\\x.bare", "BARE ﾌｧｲﾙ"},
        {"C:\\x.unknownext", "UNKNOWNEXT ﾌｧｲﾙ"},
        {"C:\\写真.jpeg", "JPEG ﾌｧｲﾙ"},
    };
    for (const auto& [path, expected] : cases) EXPECT_EQ(GetTypeName(path, details, registry), expected) << path;
}

TEST(FileInformationFormats, SizesInFullWithSeparatorsAndNoDigitsForZero) {
    const std::pair<uint64_t, const char*> cases[] = {
        {0, "ﾊﾞｲﾄ"},
        {1, "1ﾊﾞｲﾄ"},
        {999, "999ﾊﾞｲﾄ"},
        {1000, "1,000ﾊﾞｲﾄ"},
        {1234567, "1,234,567ﾊﾞｲﾄ"},
        {2147483648ull, "2,147,483,648ﾊﾞｲﾄ"},     // 2 GB
        {3221225472ull, "3,221,225,472ﾊﾞｲﾄ"},     // 3 GB: once negative
        {5368709120ull, "5,368,709,120ﾊﾞｲﾄ"},     // 5 GB: once only its low part
    };
    for (const auto& [bytes, expected] : cases) EXPECT_EQ(FormatFileSize(bytes), expected) << bytes;
    EXPECT_EQ(FormatFileSize(1234567, "."), "1.234.567ﾊﾞｲﾄ");
}

TEST(FileInformationFormats, TimesWithoutLeadingZerosAndTheWeekday) {
    const struct {
        FileStamp time;
        const char* expected;
    } cases[] = {
        {{2003, 4, 5, 6, 9, 5, 7}, "2003年4月5日 土曜日 9:5:7"},
        {{2024, 12, 31, 2, 23, 59, 59}, "2024年12月31日 火曜日 23:59:59"},
        {{2000, 1, 2, 0, 0, 0, 0}, "2000年1月2日 日曜日 0:0:0"},
        {{2001, 10, 10, 3, 12, 30, 0}, "2001年10月10日 水曜日 12:30:0"},
    };
    for (const auto& c : cases) EXPECT_EQ(FormatFileTime(c.time), c.expected);
}

TEST(FileInformationFormats, TheFolderIsThePathUpToItsLastSeparator) {
    const std::pair<const char*, const char*> cases[] = {
        {"C:\\Tools\\a.txt", "C:\\Tools"},
        {"C:\\a.txt", "C:"},
        {"C:\\Tools\\", "C:\\Tools"},
        // The file's name also occurs earlier in the path.
        {"C:\\a\\b\\a", "C:\\a\\b"},
        {"C:\\data.txt\\data.txt", "C:\\data.txt"},
        {"\\\\server\\share\\f.doc", "\\\\server\\share"},
        {"C:/Tools/a.txt", "C:/Tools"},
    };
    for (const auto& [path, folder] : cases) EXPECT_EQ(FolderOfPath(path), folder) << path;
}

TEST(FileInformationLoad, AFileShowsEverything) {
    FakeFileDetails details;
    const std::string path = "C:\\ﾃｽﾄ\\日本語の名前.txt";
    details.attributes[path] = kAttributeArchive | kAttributeReadOnly;
    details.shortPaths[path] = "C:\\ECA6~1\\A0B1~1.TXT";
    FileFacts facts;
    facts.size = 3221225472ull;
    facts.attributes = kAttributeReadOnly | kAttributeHidden | kAttributeArchive | kAttributeCompressed;
    facts.created = FileStamp{2003, 4, 5, 6, 9, 5, 7};
    facts.modified = FileStamp{2003, 4, 6, 0, 10, 0, 0};
    facts.accessed = std::nullopt;  // a system that keeps no access times
    details.facts[path] = facts;
    FakeRegistry registry;
    registry.SetText(kClasses, ".txt", "", "txtfile");
    registry.SetText(kClasses, "txtfile", "", "テキスト ドキュメント");

    const FileInformationView view = FileInformationLoad(EntryFor("  " + path + " "), details, registry);
    EXPECT_EQ(view.caption, "日本語の名前.txtのﾌﾟﾛﾊﾟﾃｨ");
    EXPECT_EQ(view.fileName, "日本語の名前.txt");
    EXPECT_EQ(view.place[0], "テキスト ドキュメント");
    EXPECT_EQ(view.place[1], "C:\\ﾃｽﾄ");
    EXPECT_EQ(view.place[2], "3,221,225,472ﾊﾞｲﾄ");
    EXPECT_EQ(view.access[0], "A0B1~1.TXT");
    EXPECT_EQ(view.access[1], "2003年4月5日 土曜日 9:5:7");
    EXPECT_EQ(view.access[2], "2003年4月6日 日曜日 10:0:0");
    EXPECT_EQ(view.access[3], "<不明>");
    EXPECT_EQ(view.attributes, (std::array<bool, 5>{true, true, true, false, true}));
    EXPECT_EQ(view.iconPath, "C:\\Windows\\notepad.exe");
    EXPECT_EQ(view.iconIndex, 2);
    EXPECT_EQ(details.opened.size(), 1u);
    EXPECT_TRUE(details.waits.empty());
}

TEST(FileInformationLoad, ABusyFileIsTriedAgainOnce) {
    FakeFileDetails details;
    details.facts["C:\\busy.log"] = FileFacts{10, kAttributeSystem, {}, {}, {}};
    details.failOpens = 1;
    FakeRegistry registry;
    const FileInformationView view = FileInformationLoad(EntryFor("C:\\busy.log"), details, registry);
    EXPECT_EQ(view.place[2], "10ﾊﾞｲﾄ");
    EXPECT_EQ(view.attributes, (std::array<bool, 5>{false, false, false, true, false}));
    EXPECT_EQ(details.opened.size(), 2u);
    EXPECT_EQ(details.waits, std::vector<int>{500});
}

TEST(FileInformationLoad, AFolderShowsItsTypeAndUnknownTimesAndSize) {
    FakeFileDetails details;
    details.attributes["C:\\Tools\\"] = kAttributeDirectory;
    FakeRegistry registry;
    const FileInformationView view = FileInformationLoad(EntryFor("C:\\Tools\\"), details, registry);
    EXPECT_EQ(view.fileName, "");
    EXPECT_EQ(view.caption, "のﾌﾟﾛﾊﾟﾃｨ");
    EXPECT_EQ(view.place[0], "ﾌｧｲﾙ ﾌｫﾙﾀﾞ");
    EXPECT_EQ(view.place[1], "C:\\Tools");
    EXPECT_EQ(view.place[2], "<不明>");
    for (const std::string& value : view.access) EXPECT_EQ(value, "<不明>");
    EXPECT_EQ(view.attributes, (std::array<bool, 5>{}));
    EXPECT_EQ(details.opened.size(), 2u) << "two attempts";
    EXPECT_EQ(details.waits, std::vector<int>{500}) << "one pause between them, none after the last";
}

TEST(FileInformationLoad, ABareNameHasNoFolder) {
    FakeFileDetails details;
    FakeRegistry registry;
    const FileInformationView view = FileInformationLoad(EntryFor("notepad.exe"), details, registry);
    EXPECT_EQ(view.fileName, "notepad.exe");
    EXPECT_EQ(view.place[0], "EXE ﾌｧｲﾙ");
    EXPECT_EQ(view.place[1], "<不明>");
    EXPECT_EQ(view.access[0], "<不明>");
}
