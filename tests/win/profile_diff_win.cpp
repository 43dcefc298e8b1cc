// Compares IniProfile with the system's profile functions on generated INI
// files: the same calls on two copies of each file must give the same values
// and leave the same bytes.
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "platform/ini_profile.h"
#include "platform/win32_adapters_win.h"
#include "temp_folder_win.h"

using namespace tavi;

namespace {

constexpr uint32_t kFirstSeed = 1;
constexpr uint32_t kCaseCount = 600;

struct Operation {
    enum Kind { Get, Write, DeleteKey, DeleteSection } kind;
    std::string section, key, value;
};

struct Case {
    uint32_t seed;
    std::optional<std::string> bytes;  // in code page 932; none for a missing file
    std::vector<Operation> operations;
};

// Names mix ASCII (whose case does not matter), full-width and Greek letters
// (whose case does), kana, kanji and the full-width space.
const char* const kSectionNames[] = {"Settings", "設定", "ｴｸｽﾌﾟﾛｰﾗ", "Group 1", "全角\u3000空白", "Ａｂｃ",
                                     "ａｂｃ",   "Αβγ",  "a]b",      "Menu",    "ﾒﾆｭｰ", "PlaceA "};
const char* const kKeyNames[] = {"Path", "path2", "名前", "ｷｰ", "Key Name", "Ｘ", "ｘ", "\u3000x", ";note", "Dup", "A1", "IniBuff "};
const char* const kWords[] = {"C:\\Program Files\\ｴｸｽﾌﾟﾛｰﾗ.exe", "設定ファイル", "ﾃﾞｨｽﾌﾟﾚｲ", "\u3000値\u3000",
                              "1", "-25", "a=b", "; not a comment", "x y", "全角　空白", "[not]", "\\\\server\\share"};

class CaseGenerator {
public:
    CaseGenerator(uint32_t seed, CodePage& codePage) : seed_(seed), random_(seed), codePage_(codePage) {}

    Case Make() {
        Case made{seed_, std::nullopt, {}};
        if (!Chance(6)) made.bytes = File();
        const int count = 3 + Pick(9);
        for (int i = 0; i < count; ++i) made.operations.push_back(MakeOperation());
        return made;
    }

private:
    int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }
    bool Chance(int percent) { return Pick(100) < percent; }
    template <size_t N>
    std::string From(const char* const (&pool)[N]) {
        return pool[Pick(static_cast<int>(N))];
    }

    std::string Blanks() {
        static const char* const kBlanks[] = {"", "", "", " ", "  ", "\t", " \t "};
        return From(kBlanks);
    }

    // The same name in another ASCII case, now and then.
    std::string Vary(std::string name) {
        if (!Chance(40)) return name;
        for (char& c : name) {
            if (c >= 'a' && c <= 'z' && Chance(50)) {
                c = static_cast<char>(c - 'a' + 'A');
            } else if (c >= 'A' && c <= 'Z' && Chance(50)) {
                c = static_cast<char>(c - 'A' + 'a');
            }
        }
        return name;
    }

    std::string LongValue() {
        std::string value;
        const size_t length = 1000 + Pick(2500);
        while (value.size() < length) value += From(kWords);
        return value;
    }

    std::string Value() { return values_.emplace_back(NewValue()); }

    std::string NewValue() {
        switch (Pick(12)) {
            case 0: return "";
            case 1: return "\"" + From(kWords) + "\"";
            case 2: return "'" + From(kWords) + "'";
            case 3: return "\"" + From(kWords) + "'";
            case 4: return Pick(2) ? "\"" : "\"\"";
            case 5: return LongValue();
            case 6: return "\" " + From(kWords) + " \"";
            default: return From(kWords);
        }
    }

    std::string Line() {
        const int kind = Pick(100);
        if (kind < 15) {
            std::string junk[] = {"", "", "", "junk", " ;c", "]"};
            // Repeat a section now and then: only the first one counts.
            std::string name = !sectionNames_.empty() && Chance(25) ? sectionNames_[Pick(static_cast<int>(sectionNames_.size()))]
                                                                    : sectionNames_.emplace_back(From(kSectionNames));
            return Blanks() + "[" + Blanks() + Vary(name) + Blanks() + "]" + junk[Pick(6)];
        }
        if (kind < 17) return "[" + From(kSectionNames);
        if (kind < 25) return Blanks() + ";" + From(kWords) + (Pick(2) ? "=" + From(kWords) : "");
        if (kind < 30) return Blanks() + From(kKeyNames);
        if (kind < 36) return Pick(2) ? "" : Blanks();
        if (kind < 39) return "=" + Value() + (Chance(40) ? LineEnd() + "=" + Value() : "");
        const std::string key = Vary(keyNames_.emplace_back(From(kKeyNames)));
        return Blanks() + key + Blanks() + "=" + Blanks() + Value() + Blanks();
    }

    std::string LineEnd() {
        static const char* const kEnds[] = {"\r\n", "\r\n", "\r\n", "\r\n", "\r\n", "\r\n", "\n", "\r", "\r\r\n"};
        return From(kEnds);
    }

    std::string File() {
        if (Chance(4)) return {};
        std::string text;
        const int lines = Pick(14);
        for (int i = 0; i < lines; ++i) {
            std::string line = codePage_.FromUtf8(Line());
            // Bytes no decoder likes, control characters Windows counts as
            // blanks, and a NUL, which ends a name or value.
            if (Chance(3)) {
                static const char* const kOdd[] = {"\x80", "\xA0", "\xFD", "\x81", "\x85\x40", "\x1A", "\v"};
                line += From(kOdd);
            }
            if (Chance(1)) line.insert(line.size() / 2, 1, '\0');
            text += line;
            if (i + 1 < lines || Chance(80)) text += LineEnd();
        }
        if (Chance(3)) text = "\xEF\xBB\xBF" + codePage_.ToUtf8(text);
        return text;
    }

    // Mostly names the file has, in any case and with blanks around them.
    std::string SectionName() {
        std::string name = !sectionNames_.empty() && Chance(75) ? sectionNames_[Pick(static_cast<int>(sectionNames_.size()))]
                                                                : From(kSectionNames);
        if (Chance(5)) name.clear();
        return Chance(10) ? Blanks() + Vary(name) + Blanks() : Vary(name);
    }

    std::string KeyName() {
        std::string name =
            !keyNames_.empty() && Chance(75) ? keyNames_[Pick(static_cast<int>(keyNames_.size()))] : From(kKeyNames);
        return Chance(10) ? Blanks() + Vary(name) + Blanks() : Vary(name);
    }

    Operation MakeOperation() {
        const int kind = Pick(100);
        if (kind < 45) return {Operation::Get, SectionName(), KeyName(), {}};
        if (kind < 75) {
            // Writing the value a key already has leaves the file untouched.
            std::string value = !values_.empty() && Chance(25) ? values_[Pick(static_cast<int>(values_.size()))] : Value();
            if (Chance(15)) value = Blanks() + value + Blanks();
            if (Chance(5)) value += "\r\n" + KeyName() + "=" + From(kWords);
            const std::string section = SectionName(), key = KeyName();
            if (Chance(30)) sectionNames_.push_back(section);
            if (Chance(30)) keyNames_.push_back(key);
            return {Operation::Write, section, key, value};
        }
        if (kind < 90) return {Operation::DeleteKey, SectionName(), KeyName(), {}};
        return {Operation::DeleteSection, SectionName(), {}, {}};
    }

    uint32_t seed_;
    std::mt19937 random_;
    CodePage& codePage_;
    std::vector<std::string> sectionNames_, keyNames_, values_;
};

// C-style escapes for everything but printable ASCII, and for bytes from
// 0x80 up too unless `keepUtf8` (the arguments are UTF-8, the files are not).
std::string Escaped(std::string_view bytes, bool keepUtf8 = false) {
    std::string out;
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (c == '\\') out += "\\\\";
        else if (c == '"') out += "\\\"";
        else if ((b >= 0x20 && b < 0x7F) || (keepUtf8 && b >= 0x80)) out += c;
        else {
            char hex[8];
            snprintf(hex, sizeof hex, "\\x%02X", b);
            out += hex;
        }
    }
    return out;
}

std::string Quoted(const std::optional<std::string>& bytes) {
    return bytes ? "\"" + Escaped(*bytes) + "\"" : std::string("(no file)");
}

std::string Describe(const Operation& op) {
    static const char* const kNames[] = {"Get", "Write", "DeleteKey", "DeleteSection"};
    std::string text = std::string(kNames[op.kind]) + "(\"" + Escaped(op.section, true) + "\"";
    if (op.kind != Operation::DeleteSection) text += ", \"" + Escaped(op.key, true) + "\"";
    if (op.kind == Operation::Write) text += ", \"" + Escaped(op.value, true) + "\"";
    return text + ")";
}

std::string Apply(Profile& profile, const std::string& file, const Operation& op) {
    switch (op.kind) {
        case Operation::Get: return "\"" + Escaped(profile.GetString(file, op.section, op.key), true) + "\"";
        case Operation::Write: return profile.WriteString(file, op.section, op.key, op.value) ? "true" : "false";
        case Operation::DeleteKey: return profile.DeleteKey(file, op.section, op.key) ? "true" : "false";
        case Operation::DeleteSection: return profile.DeleteSection(file, op.section) ? "true" : "false";
    }
    return {};
}

// Runs one case on two copies; empty when both sides agree at every step,
// else the case and where it went apart. `batched`: our calls are one batch,
// which must answer as the system's calls one by one and write the same file
// at its end.
std::string RunCase(const Case& c, const TempFolder& folder, bool batched) {
    Win32FileSystem files;
    Win32CodePage codePage;
    Win32Profile system;
    IniProfile ours(files, codePage);
    // The system caches recently used files, so every case gets files of its own.
    const std::string name = "case" + std::to_string(c.seed) + (batched ? "_batched" : "");
    const std::string systemFile = folder.PathOf(name + "_system.ini");
    const std::string ourFile = folder.PathOf(name + "_ours.ini");
    if (c.bytes && (!files.ReplaceAll(systemFile, *c.bytes) || !files.ReplaceAll(ourFile, *c.bytes)))
        return "seed " + std::to_string(c.seed) + ": could not create the files";

    std::ostringstream steps;
    std::optional<ProfileBatch> batch;
    if (batched) batch.emplace(ours);
    for (size_t i = 0; i <= c.operations.size(); ++i) {
        const bool last = i == c.operations.size();
        if (last && !batched) break;
        std::string expected = "written", actual = "written";
        if (!last) {
            const Operation& op = c.operations[i];
            expected = Apply(system, systemFile, op);
            actual = Apply(ours, ourFile, op);
            steps << "  " << i + 1 << ". " << Describe(op) << " -> " << expected << "\n";
        } else if (!batch->End()) {
            actual = "not written";
        }
        const std::optional<std::string> expectedBytes = files.ReadAll(systemFile);
        const std::optional<std::string> actualBytes = files.ReadAll(ourFile);
        // A batch writes at its end only.
        if (expected != actual || (expectedBytes != actualBytes && (last || !batched))) {
            std::ostringstream report;
            report << "seed " << c.seed << " differs at step " << i + 1 << "\nfile: " << Quoted(c.bytes) << "\n"
                   << steps.str() << "  system: " << expected << ", file " << Quoted(expectedBytes)
                   << "\n  ours:   " << actual << ", file " << Quoted(actualBytes) << "\n";
            return report.str();
        }
    }
    return {};
}

}  // namespace

TEST(ProfileDifferential, MatchesTheSystemOnGeneratedFiles) {
    // TAVI_PROFILE_SEED=<n> runs that one case, to look into a report.
    uint32_t first = kFirstSeed, count = kCaseCount;
    if (const char* only = std::getenv("TAVI_PROFILE_SEED")) first = static_cast<uint32_t>(std::strtoul(only, nullptr, 10)), count = 1;

    TempFolder folder;
    Win32CodePage codePage;
    std::vector<std::string> differences;
    const auto start = std::chrono::steady_clock::now();
    for (uint32_t seed = first; seed < first + count; ++seed) {
        const Case generated = CaseGenerator(seed, codePage).Make();
        for (const bool batched : {false, true}) {
            const std::string difference = RunCase(generated, folder, batched);
            if (!difference.empty()) differences.push_back((batched ? "batched " : "") + difference);
        }
    }
    const auto seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("%u generated cases in %.1f s\n", count, seconds);

    std::string shown;
    for (size_t i = 0; i < differences.size() && i < 3; ++i) shown += differences[i];
    EXPECT_TRUE(differences.empty()) << differences.size() << " of " << count << " cases differ; the first:\n"
                                     << shown;
}

// What the program writes when a value holds text code page 932 lacks: the
// system's functions read it back whole, and write on in the same form.
TEST(ProfileDifferential, TheSystemReadsTheUnicodeFilesWeWrite) {
    TempFolder folder;
    Win32FileSystem files;
    Win32CodePage codePage;
    IniProfile ours(files, codePage, true);
    Win32Profile system;
    const std::string file = folder.PathOf("TaviMenu2.INI");
    const std::string hangul = "C:\\도구\\편집기 😀.exe", japanese = "ｴｸｽﾌﾟﾛｰﾗ";
    ASSERT_TRUE(ours.WriteString(file, "ExMenu01", "00ExTitle", japanese));
    EXPECT_NE(files.ReadAll(file)->substr(0, 2), std::string("\xFF\xFE")) << "plain while the code page holds the text";
    ASSERT_TRUE(ours.WriteString(file, "ExMenu01", "00ExPathName", hangul));
    EXPECT_EQ(files.ReadAll(file)->substr(0, 2), std::string("\xFF\xFE"));
    EXPECT_EQ(system.GetString(file, "ExMenu01", "00ExPathName"), hangul);
    EXPECT_EQ(system.GetString(file, "ExMenu01", "00ExTitle"), japanese);
    ASSERT_TRUE(system.WriteString(file, "ExMenu01", "01ExTitle", "한"));
    EXPECT_EQ(ours.GetString(file, "ExMenu01", "01ExTitle"), "한");
    EXPECT_EQ(ours.GetString(file, "ExMenu01", "00ExPathName"), hangul);
}
