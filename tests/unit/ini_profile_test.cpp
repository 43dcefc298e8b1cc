#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "platform/host_adapters.h"
#include "platform/ini_profile.h"

using namespace tavi;
using namespace std::string_literals;

namespace {

class IniProfileTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = std::filesystem::temp_directory_path() / ("ini_profile_test_" + std::to_string(std::random_device{}()));
        std::filesystem::create_directories(folder_);
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }

    std::string PathOf(const std::string& name) const { return (folder_ / name).string(); }

    // A new file holding `bytes`, or no file at all.
    std::string NewFile(const std::optional<std::string>& bytes) {
        const std::string path = PathOf("case" + std::to_string(++fileCount_) + ".ini");
        if (bytes) std::ofstream(path, std::ios::binary) << *bytes;
        return path;
    }

    std::optional<std::string> Bytes(const std::string& path) { return files_.ReadAll(path); }

    std::filesystem::path folder_;
    int fileCount_ = 0;
    HostFileSystem files_;
    IconvCodePage codePage_;
    IniProfile profile_{files_, codePage_};
};

// The sample in code page 932: "設定" is 90 DD 92 E8, "ｴｸｽﾌﾟﾛｰﾗ" is B4 B8 BD CC DF DB B0 D7,
// "全角" is 91 53 8A 70 and the full-width space is 81 40.
const std::string kSample =
    "top=before any section\r\n"
    "[ \x90\xDD\x92\xE8 ] trailing\r\n"
    "  Path  =  C:\\Program Files\\\xB4\xB8\xBD\xCC\xDF\xDB\xB0\xD7.exe  \r\n"
    "Quoted=\"  spaced  \"\r\n"
    "Single='x'\r\n"
    "Mismatch=\"x'\r\n"
    "Lone=\"\r\n"
    "Empty=\r\n"
    "NoEquals\r\n"
    "  ;comment=read as a key\r\n"
    "Wide=\x81\x40\x91\x53\x8A\x70\x81\x40\r\n"
    "Dup=first\r\n"
    "dup=second\r\n"
    "\x82\x65=full-width F\r\n"
    "tab\t=\ttabbed\t\r\n"
    "[a]b]\r\n"
    "k=bracket\r\n"
    "[\x90\xDD\x92\xE8]\r\n"
    "Path=shadowed\r\n"
    "Only=in the repeated section\r\n";

}  // namespace

TEST_F(IniProfileTest, ReadsValuesAsTheSystemDoes) {
    const std::string file = NewFile(kSample);
    struct Case {
        const char* what;
        std::string section, key, expected;
    };
    const Case cases[] = {
        {"blanks around name and value are trimmed", "設定", "Path", "C:\\Program Files\\ｴｸｽﾌﾟﾛｰﾗ.exe"},
        {"names ignore ASCII case", "設定", "PATH", "C:\\Program Files\\ｴｸｽﾌﾟﾛｰﾗ.exe"},
        {"blanks around the arguments are ignored", " 設定\t", " path ", "C:\\Program Files\\ｴｸｽﾌﾟﾛｰﾗ.exe"},
        {"one pair of double quotes is stripped", "設定", "Quoted", "  spaced  "},
        {"single quotes are stripped too", "設定", "Single", "x"},
        {"mismatched quotes stay", "設定", "Mismatch", "\"x'"},
        {"a lone quote stays", "設定", "Lone", "\""},
        {"empty value", "設定", "Empty", ""},
        {"a line without = has no value", "設定", "NoEquals", ""},
        {"a comment line is a key like any other", "設定", ";comment", "read as a key"},
        {"full-width spaces are data", "設定", "Wide", "\u3000全角\u3000"},
        {"the first of duplicate keys wins", "設定", "DUP", "first"},
        {"full-width letters keep their case", "設定", "ｆ", ""},
        {"full-width letter itself", "設定", "Ｆ", "full-width F"},
        {"tabs are blanks", "設定", "tab", "tabbed"},
        {"the section name runs to the last ]", "a]b", "k", "bracket"},
        {"a repeated section is never searched", "設定", "Only", ""},
        {"lines before the first section", "", "top", "before any section"},
        {"missing section", "nosuch", "Path", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(profile_.GetString(file, c.section, c.key), c.expected) << c.what;
    EXPECT_EQ(profile_.GetString(PathOf("missing.ini"), "設定", "Path"), "") << "missing file";
    EXPECT_EQ(Bytes(file), kSample) << "reading never writes";
}

TEST_F(IniProfileTest, AChangeRewritesTheWholeFileInNormalForm) {
    // Blank lines, blanks around names, text after "]", a second "=x" line
    // and lone LF or CR line ends all go; comments and lines without "=" stay.
    const std::string file = NewFile(
        "\r\n=x\n=y\r\r\n  ; note \r\n[ s ]junk\n\n  k  =  v  \nflag\r\n[t]\r\nz=1");
    ASSERT_TRUE(profile_.WriteString(file, "S", "K", "new"));
    EXPECT_EQ(Bytes(file), "=x\r\n; note\r\n[s]\r\nk=new\r\nflag\r\n[t]\r\nz=1\r\n");
}

TEST_F(IniProfileTest, WritesAndDeletes) {
    using Operation = std::function<bool(IniProfile&, const std::string&)>;
    const auto write = [](std::string s, std::string k, std::string v) -> Operation {
        return [=](IniProfile& p, const std::string& f) { return p.WriteString(f, s, k, v); };
    };
    const auto deleteKey = [](std::string s, std::string k) -> Operation {
        return [=](IniProfile& p, const std::string& f) { return p.DeleteKey(f, s, k); };
    };
    const auto deleteSection = [](std::string s) -> Operation {
        return [=](IniProfile& p, const std::string& f) { return p.DeleteSection(f, s); };
    };
    const std::string longValue(5000, 'x');
    struct Case {
        const char* what;
        std::optional<std::string> before;
        Operation operation;
        std::optional<std::string> after;
    };
    const Case cases[] = {
        {"a write creates a missing file", std::nullopt, write("s", "k", "v"), "[s]\r\nk=v\r\n"},
        {"deleting from a missing file creates nothing", std::nullopt, deleteKey("s", "k"), std::nullopt},
        {"deleting a section of a missing file", std::nullopt, deleteSection("s"), std::nullopt},
        {"a write to an empty file", "", write("s", "k", "v"), "[s]\r\nk=v\r\n"},
        {"a new key goes to the end of its section", "[s]\r\na=1\r\n[t]\r\n", write("S", "b", "2"),
         "[s]\r\na=1\r\nb=2\r\n[t]\r\n"},
        {"a new section goes to the end", "[s]\r\na=1\r\n", write("t", "b", "2"), "[s]\r\na=1\r\n[t]\r\nb=2\r\n"},
        {"an existing key keeps its case", "[Sec]\r\nKey=1\r\n", write("SEC", "key", "2"), "[Sec]\r\nKey=2\r\n"},
        {"only the first duplicate key changes", "[s]\r\nk=1\r\nk=2\r\n", write("s", "k", "3"),
         "[s]\r\nk=3\r\nk=2\r\n"},
        {"a key only in a repeated section is added to the first", "[s]\r\n[s]\r\nk=1\r\n", write("s", "k", "2"),
         "[s]\r\nk=2\r\n[s]\r\nk=1\r\n"},
        {"a line without = gets the value", "[s]\r\nk\r\n", write("s", "k", "v"), "[s]\r\nk=v\r\n"},
        {"the value loses leading blanks only", std::nullopt, write("s", "k", " \t v  "), "[s]\r\nk=v  \r\n"},
        {"new names keep their trailing blanks", std::nullopt, write(" new ", " key ", "v"), "[new ]\r\nkey =v\r\n"},
        {"a line break in a value is written raw", std::nullopt, write("s", "k", "a\r\nb"), "[s]\r\nk=a\r\nb\r\n"},
        {"an unchanged value leaves the file as it was", "[s]\n\n k = v \n", write("s", "k", "v"),
         "[s]\n\n k = v \n"},
        {"a long value", std::nullopt, write("s", "k", longValue), "[s]\r\nk=" + longValue + "\r\n"},
        {"Japanese text is written in code page 932", std::nullopt, write("設定", "ｷｰ", "全角\u3000値"),
         "[\x90\xDD\x92\xE8]\r\n\xB7\xB0=\x91\x53\x8A\x70\x81\x40\x92\x6C\r\n"},
        {"a character the code page lacks is written as Windows does", std::nullopt, write("s", "k", "caf\u00E9 \u2713"),
         "[s]\r\nk=cafe ?\r\n"},
        {"a UTF-8 file keeps its byte order mark", "\xEF\xBB\xBF[s]\r\n", write("s", "k", "\u00E9"),
         "\xEF\xBB\xBF[s]\r\nk=\xC3\xA9\r\n"},
        {"a UTF-16 file stays UTF-16", "\xFF\xFE[\0s\0]\0"s, write("s", "k", "v"),
         "\xFF\xFE[\0s\0]\0\r\0\n\0k\0=\0v\0\r\0\n\0"s},
        {"a stray lead byte swallows the CR after it", "[s]\r\nx=a\x81\r\ny=1\r\n", write("s", "z", "2"),
         "[s]\r\nx=a\x81\x45\r\ny=1\r\nz=2\r\n"},
        {"deleting a key", "[s]\r\na=1\r\nb=2\r\n", deleteKey("S", "A"), "[s]\r\nb=2\r\n"},
        {"deleting a missing key leaves the file as it was", "[s]\n\na=1\n", deleteKey("s", "b"), "[s]\n\na=1\n"},
        {"deleting does not trim the names", "[s]\r\nk=1\r\n", deleteKey(" s", "k "), "[s]\r\nk=1\r\n"},
        {"deleting a key goes on into a repeated section", "[s]\r\na=1\r\n[s]\r\nk=2\r\n", deleteKey("s", "k"),
         "[s]\r\na=1\r\n[s]\r\n"},
        {"deleting the last key keeps the header", "[s]\r\nk=1\r\n", deleteKey("s", "k"), "[s]\r\n"},
        {"deleting a section", "[s]\r\nk=1\r\n[t]\r\nj=2\r\n", deleteSection("S"), "[t]\r\nj=2\r\n"},
        {"deleting one of repeated sections", "[s]\r\nk=1\r\n[S]\r\nk=2\r\n", deleteSection("s"), "[S]\r\nk=2\r\n"},
        {"deleting the lines before the first section", "a=1\r\n[s]\r\n", deleteSection(""), "[s]\r\n"},
        {"deleting the only section empties the file", "[s]\r\nk=1\r\n", deleteSection("s"), ""},
        {"deleting a section does not trim the name", "[s]\r\n", deleteSection(" s"), "[s]\r\n"},
    };
    for (const Case& c : cases) {
        const std::string file = NewFile(c.before);
        EXPECT_TRUE(c.operation(profile_, file)) << c.what;
        EXPECT_EQ(Bytes(file), c.after) << c.what;
    }
}

TEST_F(IniProfileTest, ValuesReadBackAfterWrites) {
    const std::string file = NewFile(std::nullopt);
    const std::string longValue = "C:\\" + std::string(3000, 'x') + "\\ｴｸｽﾌﾟﾛｰﾗ.exe";
    ASSERT_TRUE(profile_.WriteString(file, "s", "long", longValue));
    ASSERT_TRUE(profile_.WriteString(file, "s", "broken", "first\r\nsecond=2"));
    ASSERT_TRUE(profile_.WriteString(file, "s", "quoted", "\"kept inside\""));
    EXPECT_EQ(profile_.GetString(file, "s", "long"), longValue) << "a long value survives";
    EXPECT_EQ(profile_.GetString(file, "s", "broken"), "first") << "a line break ends the value on reading";
    EXPECT_EQ(profile_.GetString(file, "s", "second"), "2") << "the rest of the line is a key of its own";
    EXPECT_EQ(profile_.GetString(file, "s", "quoted"), "kept inside") << "quotes written are stripped on reading";
}

TEST_F(IniProfileTest, FailsWhenTheFileCannotBeWritten) {
    const std::string inMissingFolder = PathOf("no such folder/x.ini");
    EXPECT_FALSE(profile_.WriteString(inMissingFolder, "s", "k", "v")) << "missing folder";
    std::filesystem::create_directory(PathOf("folder.ini"));
    EXPECT_FALSE(profile_.WriteString(PathOf("folder.ini"), "s", "k", "v")) << "a folder in the file's place";
    EXPECT_EQ(profile_.GetString(PathOf("folder.ini"), "s", "k"), "") << "reading a folder";
}

TEST_F(IniProfileTest, ABatchReadsOnceWritesEachChangedFileOnceAndReportsAFailedWriteAtItsEnd) {
    const std::string a = NewFile("[s]\r\nk=old\r\n"s), b = NewFile("[s]\r\nk=same\r\n"s);
    {
        ProfileBatch batch(profile_);
        EXPECT_TRUE(profile_.WriteString(a, "s", "k", "new"));
        EXPECT_TRUE(profile_.WriteString(a, "t", "n", "1"));
        EXPECT_TRUE(profile_.WriteString(b, "s", "k", "same"));
        EXPECT_EQ(profile_.GetString(a, "s", "k"), "new") << "reads inside a batch see its writes";
        EXPECT_EQ(Bytes(a), "[s]\r\nk=old\r\n"s) << "nothing is written before the end";
        ProfileBatch inner(profile_);
        EXPECT_TRUE(inner.End());
        EXPECT_EQ(Bytes(a), "[s]\r\nk=old\r\n"s) << "an inner batch does not write";
        EXPECT_TRUE(batch.End());
    }
    EXPECT_EQ(Bytes(a), "[s]\r\nk=new\r\n[t]\r\nn=1\r\n"s);
    EXPECT_EQ(Bytes(b), "[s]\r\nk=same\r\n"s) << "an unchanged file is not rewritten";

    std::filesystem::create_directory(PathOf("folder.ini"));
    ProfileBatch failing(profile_);
    EXPECT_TRUE(profile_.WriteString(a, "s", "k", "newer"));
    (void)profile_.WriteString(PathOf("folder.ini"), "s", "k", "v");
    EXPECT_FALSE(failing.End());
    EXPECT_EQ(Bytes(a), "[s]\r\nk=newer\r\n[t]\r\nn=1\r\n"s) << "the files that could be written are";
}

// A file's parse is kept between calls; it must never answer for other bytes.
TEST_F(IniProfileTest, AFileReadAgainAnswersFromItsBytesNotFromTheLastReading) {
    const struct {
        const char* name;
        std::function<void(IniProfile&, const std::string&)> between;
        std::string expected;
    } rows[] = {
        {"unchanged", [](IniProfile&, const std::string&) {}, "aaa"},
        {"another program wrote as many bytes",
         [](IniProfile&, const std::string& path) { std::ofstream(path, std::ios::binary) << "[s]\r\nk=bbb\r\n"; },
         "bbb"},
        {"another program wrote more",
         [](IniProfile&, const std::string& path) { std::ofstream(path, std::ios::binary) << "[s]\r\nk=bbbb\r\n"; },
         "bbbb"},
        {"removed", [](IniProfile&, const std::string& path) { std::filesystem::remove(path); }, ""},
        {"written here, then put back by another program",
         [](IniProfile& profile, const std::string& path) {
             EXPECT_TRUE(profile.WriteString(path, "s", "k", "ccc"));
             EXPECT_EQ(profile.GetString(path, "s", "k"), "ccc");
             std::ofstream(path, std::ios::binary) << "[s]\r\nk=aaa\r\n";
         },
         "aaa"},
        {"changed in a batch",
         [](IniProfile& profile, const std::string& path) {
             ProfileBatch batch(profile);
             EXPECT_TRUE(profile.WriteString(path, "s", "k", "ddd"));
             EXPECT_TRUE(batch.End());
         },
         "ddd"},
    };
    for (const auto& row : rows) {
        const std::string path = NewFile("[s]\r\nk=aaa\r\n"s);
        EXPECT_EQ(profile_.GetString(path, "s", "k"), "aaa") << row.name;
        row.between(profile_, path);
        EXPECT_EQ(profile_.GetString(path, "s", "k"), row.expected) << row.name;
        ProfileBatch batch(profile_);
        EXPECT_EQ(profile_.GetString(path, "s", "k"), row.expected) << row.name << ", in a batch";
    }
}

TEST_F(IniProfileTest, KeepingUnicodeWritesUtf16OnlyWhenTheCodePageLacksATextsCharacter) {
    IniProfile keeping(files_, codePage_, true);
    const std::string sjis = "[\x90\xDD\x92\xE8]\r\nPath=C:\\\x93\xFA\x96\x7B\\a.exe\r\n";
    const std::string plain = NewFile(sjis), kept = NewFile(sjis);
    // Text the code page holds, old files: byte for byte what the system writes.
    EXPECT_EQ(keeping.GetString(kept, "設定", "Path"), "C:\\日本\\a.exe");
    ASSERT_TRUE(profile_.WriteString(plain, "設定", "Title", "ﾒﾓ帳"));
    ASSERT_TRUE(keeping.WriteString(kept, "設定", "Title", "ﾒﾓ帳"));
    EXPECT_EQ(Bytes(kept), Bytes(plain));

    for (const std::string value : {"C:\\도구\\편집기.exe", "😀.txt", "café", "Ωmega ½"}) {
        SCOPED_TRACE(value);
        const std::string file = NewFile(sjis);
        ASSERT_TRUE(keeping.WriteString(file, "設定", "Path", value));
        EXPECT_EQ(Bytes(file)->substr(0, 2), "\xFF\xFE");
        EXPECT_EQ(keeping.GetString(file, "設定", "Path"), value);
        EXPECT_EQ(profile_.GetString(file, "設定", "Path"), value) << "the system's own reading agrees";
        ASSERT_TRUE(keeping.WriteString(file, "設定", "Path", "plain"));
        EXPECT_EQ(Bytes(file)->substr(0, 2), "\xFF\xFE") << "it stays in UTF-16, as the system keeps it";
    }
}

// The system reads the file again at every call, so a batch, which keeps it in
// memory, must answer and write as the same calls made one by one, also where
// a line reads back otherwise than it was written.
TEST_F(IniProfileTest, ABatchAnswersAndWritesAsTheCallsOneByOne) {
    struct Call {
        char op;  // 'w' write, 'g' get, 'k' delete key, 's' delete section
        std::string section, key, value;
    };
    struct Case {
        const char* name;
        std::string start;
        std::vector<Call> calls;
    };
    const Case cases[] = {
        {"section name with a trailing blank", "",
         {{'w', "PlaceA ", "IniBuff", "1"}, {'w', "PlaceA", "IniBuff", "SaveX]"}, {'g', "PlaceA", "IniBuff", ""}}},
        {"key name with a trailing blank", "[s]\r\n", {{'w', "s", "k ", "1"}, {'w', "s", "k", "2"}, {'g', "s", "k", ""}}},
        {"value ending in blanks", "", {{'w', "s", "k", "v  "}, {'g', "s", "k", ""}, {'w', "s", "k", "v"}}},
        {"key that reads as a header", "[s]\r\n",
         {{'w', "s", "[t]x", "1"}, {'w', "t", "a", "2"}, {'g', "t", "a", ""}}},
        {"key with an equals sign", "", {{'w', "s", "a=b", "1"}, {'g', "s", "a", ""}, {'w', "s", "a", "2"}}},
        {"nameless keys brought together", "[s]\r\n=1\r\nk=2\r\n=3\r\n",
         {{'k', "s", "k", ""}, {'w', "s", "", "x"}, {'g', "s", "", ""}}},
        {"a nameless section after others", "[a]\r\nk=1\r\n[]\r\nm=2\r\n",
         {{'w', "a", "n", "3"}, {'g', "a", "m", ""}, {'w', "a", "m", "4"}}},
        {"the leading section deleted", "top=1\r\n[a]\r\nk=1\r\n", {{'s', "", "", ""}, {'w', "", "top", "2"}}},
        {"a name the code page writes otherwise", "", {{'w', "s", "caf\xC3\xA9", "1"}, {'w', "s", "cafe", "2"}, {'w', "s", "caf?", "3"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::string> answers[2];
        std::optional<std::string> bytes[2];
        for (const bool batched : {false, true}) {
            const std::string file = NewFile(c.start);
            std::optional<ProfileBatch> batch;
            if (batched) batch.emplace(profile_);
            for (const Call& call : c.calls) {
                switch (call.op) {
                    case 'w': EXPECT_TRUE(profile_.WriteString(file, call.section, call.key, call.value)); break;
                    case 'k': EXPECT_TRUE(profile_.DeleteKey(file, call.section, call.key)); break;
                    case 's': EXPECT_TRUE(profile_.DeleteSection(file, call.section)); break;
                    default: answers[batched].push_back(profile_.GetString(file, call.section, call.key)); break;
                }
            }
            if (batch) EXPECT_TRUE(batch->End());
            bytes[batched] = Bytes(file);
        }
        EXPECT_EQ(answers[1], answers[0]);
        EXPECT_EQ(bytes[1], bytes[0]);
    }
}
