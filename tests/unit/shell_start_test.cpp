#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "bar/file_drop.h"
#include "platform/shell_start.h"

using namespace tavi;

namespace {

// How a program built with the usual C runtime splits its command line
// (CommandLineToArgvW's rules): the program name ends at the next quote or
// blank; then 2n backslashes before a quote give n and the quote toggles
// quoting, 2n+1 give n and a literal quote; "" inside quotes is a quote.
std::vector<std::string> SplitCommandLine(const std::string& line) {
    std::vector<std::string> arguments;
    size_t i = 0;
    std::string name;
    if (i < line.size() && line[i] == '"') {
        for (++i; i < line.size() && line[i] != '"'; ++i) name += line[i];
        if (i < line.size()) ++i;
    } else {
        for (; i < line.size() && line[i] != ' ' && line[i] != '\t'; ++i) name += line[i];
    }
    arguments.push_back(name);
    for (;;) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
        if (i >= line.size()) break;
        std::string argument;
        bool quoted = false;
        while (i < line.size() && (quoted || (line[i] != ' ' && line[i] != '\t'))) {
            size_t backslashes = 0;
            while (i < line.size() && line[i] == '\\') ++backslashes, ++i;
            if (i < line.size() && line[i] == '"') {
                argument.append(backslashes / 2, '\\');
                if (backslashes % 2 == 1) {
                    argument += '"';
                } else if (quoted && i + 1 < line.size() && line[i + 1] == '"') {
                    argument += '"';
                    ++i;
                } else {
                    quoted = !quoted;
                }
                ++i;
            } else {
                argument.append(backslashes, '\\');
                if (i < line.size() && (quoted || (line[i] != ' ' && line[i] != '\t'))) argument += line[i++];
            }
        }
        arguments.push_back(argument);
    }
    return arguments;
}

}  // namespace

TEST(ShellStart, ProgramsByFullPathAreStartedDirectlyEverythingElseByTheShell) {
    const struct {
        const char* verb;
        const char* file;
        bool direct;
        bool bare;
    } cases[] = {
        {"open", "C:\\Tools\\memo.exe", true, false},
        {"Open", "C:\\Tools\\MEMO.EXE", true, false},  // the desktop list says "Open"
        {"", "C:\\a b&c^d!e%PATH%f(g);h,i\\m.exe", true, false},
        {"open", "\\\\server\\share\\tool.com", true, false},
        {"open", "c:\\tools\\old.com", true, false},
        {"open", "C:\\Tools\\run.bat", false, false},   // a batch file needs its interpreter
        {"open", "C:\\Tools\\run.cmd", false, false},
        {"open", "C:\\Links\\memo.lnk", false, false},  // the shell follows shortcuts
        {"open", "C:\\Docs\\a.txt", false, false},
        {"open", "C:\\Docs\\", false, false},           // a folder
        {"open", "C:\\Docs.exe\\", false, false},       // a folder whose name ends in .exe
        {"open", "\"C:\\Tools\\memo.exe\"", false, false},
        {"print", "C:\\Tools\\memo.exe", false, false},
        {"open", "Tools\\memo.exe", false, false},      // relative: the shell resolves it
        {"open", "C:memo.exe", false, false},
        {"open", "explorer.exe", false, true},          // found by the system's search
        {"open", "EXPLORER.EXE", false, true},
        {"print", "explorer.exe", false, false},
        {"open", "readme.txt", false, false},
        {"open", "", false, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsDirectProgram(c.verb, c.file), c.direct) << c.verb << " " << c.file;
        EXPECT_EQ(IsBareProgramName(c.verb, c.file), c.bare) << c.verb << " " << c.file;
    }
}

// Parameters go to the program exactly as typed: nothing is quoted, escaped
// or expanded on the way, so "%PATH%", "^", "&" and quotes arrive as they are.
TEST(ShellStart, TheCommandLineIsTheQuotedProgramAndTheParametersUntouched) {
    const struct {
        const char* program;
        const char* parameters;
        const char* line;
        std::vector<std::string> argv;
    } cases[] = {
        {"C:\\t\\m.exe", "", "\"C:\\t\\m.exe\"", {"C:\\t\\m.exe"}},
        {"C:\\t\\m.exe", "/p", "\"C:\\t\\m.exe\" /p", {"C:\\t\\m.exe", "/p"}},
        {"C:\\a b\\m.exe", "\"x y\" %PATH%", "\"C:\\a b\\m.exe\" \"x y\" %PATH%", {"C:\\a b\\m.exe", "x y", "%PATH%"}},
        {"C:\\a&b^c\\m.exe", "a&b ^c !d! (e) f,g;h", "\"C:\\a&b^c\\m.exe\" a&b ^c !d! (e) f,g;h",
         {"C:\\a&b^c\\m.exe", "a&b", "^c", "!d!", "(e)", "f,g;h"}},
        {"C:\\t\\m.exe", "say \\\"hi\\\"", "\"C:\\t\\m.exe\" say \\\"hi\\\"", {"C:\\t\\m.exe", "say", "\"hi\""}},
        {"C:\\t\\m.exe", "  two  ", "\"C:\\t\\m.exe\"   two  ", {"C:\\t\\m.exe", "two"}},
    };
    for (const auto& c : cases) {
        const std::string line = ProgramCommandLine(c.program, c.parameters);
        EXPECT_EQ(line, c.line);
        EXPECT_EQ(SplitCommandLine(line), c.argv) << line;
    }
}

// A file dropped onto an entry reaches its program as one argument, whatever
// its name holds; the entry's own parameters come first, unchanged.
TEST(ShellStart, ADroppedFileArrivesAsOneArgumentWhateverItsName) {
    const char* files[] = {
        "C:\\plain.txt",
        "C:\\a b\\c d.txt",
        "C:\\x&calc.txt",
        "C:\\a^b^^c.txt",
        "C:\\%PATH%\\100%.txt",
        "C:\\bang!x!.txt",
        "C:\\a(1);b,c=d.txt",
        "C:\\My Folder\\",
        "C:\\trailing\\\\",
        "C:\\ﾃﾞｰﾀ\\日本語 ファイル.txt",
    };
    for (const char* file : files) {
        const std::string line = ProgramCommandLine("C:\\t\\m.exe", TargetDropParameters("/p \"x y\"", file));
        const std::vector<std::string> expected{"C:\\t\\m.exe", "/p", "x y", file};
        EXPECT_EQ(SplitCommandLine(line), expected) << line;
    }
}

TEST(ShellStart, PathLimitsCountUtf16UnitsWithRoomForTheEnd) {
    const std::string ascii259(259, 'a');
    const std::string ascii247(247, 'a');
    std::string kana259;  // 259 characters of three UTF-8 bytes, one unit each
    for (int i = 0; i < 259; ++i) kana259 += "ｱ";
    std::string astral130;  // 130 characters outside the basic plane: 260 units
    for (int i = 0; i < 130; ++i) astral130 += "\xF0\x9F\x98\x80";
    const struct {
        std::string path;
        size_t units;
        bool fileTooLong;
        bool folderTooLong;
    } cases[] = {
        {"", 0, false, false},
        {"C:\\a", 4, false, false},
        {ascii247, 247, false, false},
        {ascii247 + "a", 248, false, true},
        {ascii259, 259, false, true},
        {ascii259 + "a", 260, true, true},
        {kana259, 259, false, true},
        {kana259 + "ｱ", 260, true, true},
        {astral130, 260, true, true},
        {astral130.substr(4), 258, false, true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Utf16Length(c.path), c.units) << c.path.size() << " bytes";
        EXPECT_EQ(FilePathTooLong(c.path), c.fileTooLong) << c.units << " units";
        EXPECT_EQ(FolderPathTooLong(c.path), c.folderTooLong) << c.units << " units";
    }
}

TEST(ShellStart, FoldersLoseTheirClosingBackslashButRootsKeepItAndErrorsBecomeTheShellsCodes) {
    EXPECT_EQ(WorkingFolder("C:"), "C:\\");
    EXPECT_EQ(WorkingFolder("C:\\"), "C:\\");
    EXPECT_EQ(WorkingFolder("C:\\Tools"), "C:\\Tools");
    EXPECT_EQ(WorkingFolder(""), "");

    const std::pair<const char*, const char*> files[] = {
        {"C:\\Docs\\", "C:\\Docs"},         {"C:\\My Docs\\\\", "C:\\My Docs"}, {"C:\\", "C:\\"},
        {"c:\\\\", "c:\\\\"},             {"\\\\srv\\share\\", "\\\\srv\\share"},
        {"C:\\a.txt", "C:\\a.txt"},        {"\\", "\\"},   {"", ""},
    };
    for (const auto& [file, shellFile] : files) EXPECT_EQ(ShellFileName(file), shellFile) << file;

    const std::pair<uint32_t, int> errors[] = {
        {2, 2}, {3, 3}, {5, 5}, {11, 11}, {193, 11}, {32, 26}, {8, 0}, {14, 0}, {206, 31}, {87, 31},
    };
    for (const auto& [error, result] : errors) EXPECT_EQ(ShellResultForStartError(error), result) << error;
}
