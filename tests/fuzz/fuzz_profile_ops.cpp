// The INI reader and writer driven by the input: a starting file (code page
// 932, UTF-8 or UTF-16 with a byte order mark, or anything else), then a run
// of reads, writes and deletions with names and values from the input. A
// plain name and value written must read back as the profile functions give
// them: the blanks around the value and one pair of outer quotes dropped.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdint>
#include <optional>

#include "fuzz/fuzz_support.h"
#include "platform/ini_profile.h"
#include "platform/unicode.h"

using namespace tavi;

namespace {

const std::string kFile = "C:\\Tavi\\test.ini";

// Names and values the reader knows from the program's files, so that the
// operations hit what the file holds as often as what it does not.
constexpr const char* kWords[] = {"IniBuff", "Place", "SaveX", "Time", "Option", "ExMenu05", "00ExTitle",
                                  "ﾃｽﾄ", "日本語", "a", "A", " ", "\"", "'", "=", "[", "]", "\t", "\xe3\x80\x80"};

// Names and values are UTF-8 inside the program (the files' bytes are the
// other targets' matter): bytes that are no character become U+FFFD, and so
// do the private-use characters that stand for code page 932's unassigned
// bytes A0, FD, FE and FF, which no one types.
std::string Utf8(std::string_view bytes) {
    std::string text;
    for (size_t offset = 0; offset < bytes.size();) {
        const char32_t c = NextCodePoint(bytes, offset);
        AppendUtf8(text, c >= 0xF8F0 && c <= 0xF8F3 ? 0xFFFD : c);
    }
    return text;
}

// An ANSI file whose first line begins with the bytes of a byte order mark:
// written again without the blanks before it, it reads as another encoding,
// for the system's functions as for ours, and what was written is gone.
bool TurnsIntoAnotherEncoding(std::string_view bytes) {
    constexpr std::string_view kMarks[] = {"\xEF\xBB\xBF", "\xFF\xFE", "\xFE\xFF"};
    const auto startsWithMark = [&](std::string_view text) {
        return std::any_of(std::begin(kMarks), std::end(kMarks), [&](std::string_view mark) { return text.starts_with(mark); });
    };
    if (startsWithMark(bytes)) return false;
    while (!bytes.empty() && (bytes.front() == 0x1A || bytes.front() == ' ' || (bytes.front() >= 0x09 && bytes.front() <= 0x0D)))
        bytes.remove_prefix(1);
    return startsWithMark(bytes);
}

std::string Text(FuzzedDataProvider& input) {
    if (input.ConsumeBool()) return Utf8(input.ConsumeRandomLengthString(32));
    std::string text;
    for (int n = input.ConsumeIntegralInRange(0, 4); n > 0; --n)
        text += kWords[input.ConsumeIntegralInRange<size_t>(0, std::size(kWords) - 1)];
    return text;
}

bool IsBlank(char c) { return (c >= 0x09 && c <= 0x0D) || c == 0x1A || c == ' '; }

// Printable ASCII without the characters that give a line of the file its shape.
bool IsPlain(std::string_view text, std::string_view reserved) {
    for (const char c : text)
        if (c < 0x20 || c > 0x7E || reserved.find(c) != std::string_view::npos) return false;
    return true;
}

bool IsPlainName(std::string_view name) {
    return !name.empty() && !IsBlank(name.front()) && !IsBlank(name.back()) && IsPlain(name, "[]=");
}

// A value read back: its leading blanks are dropped when it is written, its
// trailing ones when the file is read again (as the system does at every call,
// in a batch too), then one pair of outer quotes.
std::string Expected(std::string_view value) {
    while (!value.empty() && IsBlank(value.front())) value.remove_prefix(1);
    while (!value.empty() && IsBlank(value.back())) value.remove_suffix(1);
    if (value.size() > 1 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    return std::string(value);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    fuzz::MemoryFiles files;
    const bool keepUnicode = input.ConsumeBool();
    if (input.ConsumeBool()) files.files[kFile] = input.ConsumeRandomLengthString(2048);
    if (files.files.contains(kFile) && TurnsIntoAnotherEncoding(files.files[kFile])) return 0;
    IniProfile profile(files, fuzz::Cp932(), keepUnicode);

    // The last plain write, while nothing else has changed the file since.
    struct Written {
        std::string section, key, expected;
    };
    std::optional<Written> last;
    int batches = 0;
    for (int step = 0; step < 24 && input.remaining_bytes() > 0; ++step) {
        const int operation = input.ConsumeIntegralInRange(0, 5);
        if (operation == 4 && batches < 3) {
            profile.BeginBatch();
            ++batches;
            continue;
        }
        if (operation == 5 && batches > 0) {
            fuzz::Check(profile.EndBatch(), "a batch in memory is written");
            --batches;
            continue;
        }
        if (operation >= 4) continue;
        if (operation != 0) last.reset();
        const std::string section = Text(input);
        const std::string key = Text(input);
        switch (operation) {
            case 0: {
                const std::string value = profile.GetString(kFile, section, key);
                fuzz::Check(fuzz::IsWellFormedUtf8(value), "a value read is UTF-8", value);
                break;
            }
            case 1: {
                const std::string value = Text(input);
                const bool written = profile.WriteString(kFile, section, key, value);
                fuzz::Check(written, "a write to memory succeeds");
                if (IsPlainName(section) && IsPlainName(key) && IsPlain(value, "")) {
                    fuzz::Check(profile.GetString(kFile, section, key) == Expected(value),
                                "a written value reads back", section + "|" + key + "|" + value);
                    last = Written{section, key, Expected(value)};
                }
                break;
            }
            case 2: fuzz::Check(profile.DeleteKey(kFile, section, key), "a key deletion in memory succeeds"); break;
            case 3: fuzz::Check(profile.DeleteSection(kFile, section), "a section deletion in memory succeeds"); break;
        }
    }
    while (batches-- > 0) fuzz::Check(profile.EndBatch(), "a batch in memory is written");
    // What the batches kept in memory is what the file holds.
    if (last) {
        IniProfile fresh(files, fuzz::Cp932(), keepUnicode);
        fuzz::Check(fresh.GetString(kFile, last->section, last->key) == last->expected, "the file holds the last write",
                    last->section + "|" + last->key + "|" + last->expected);
    }
    return 0;
}
