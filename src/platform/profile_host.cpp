#include <algorithm>
#include <span>
#include <optional>
#include <string_view>
#include <vector>

#include "platform/ini_profile.h"
#include "platform/unicode.h"

namespace tavi {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeBom = "\xFF\xFE";
constexpr std::string_view kUtf16BeBom = "\xFE\xFF";

enum class Encoding { Ansi, Utf8, Utf16Le, Utf16Be };

struct IniKey {
    std::string name;
    std::optional<std::string> value;  // none for a line without "="
    bool operator==(const IniKey&) const = default;
};

struct IniSection {
    std::string name;  // empty for the lines before the first header (and for "[]")
    std::vector<IniKey> keys;
    bool operator==(const IniSection&) const = default;
};

struct IniFile {
    Encoding encoding = Encoding::Ansi;
    std::vector<IniSection> sections;
};

// The profile functions' blanks: ASCII white space and ^Z (DOS end of file).
// The full-width space U+3000 is data.
bool IsProfileSpace(char c) { return (c >= 0x09 && c <= 0x0D) || c == 0x1A || c == ' '; }

std::string_view TrimLeft(std::string_view text) {
    while (!text.empty() && IsProfileSpace(text.front())) text.remove_prefix(1);
    return text;
}

std::string_view TrimRight(std::string_view text) {
    while (!text.empty() && IsProfileSpace(text.back())) text.remove_suffix(1);
    return text;
}

std::string_view Trim(std::string_view text) { return TrimRight(TrimLeft(text)); }

// The system keeps names and values as C strings, so a NUL ends them.
std::string_view UpToNul(std::string_view text) { return text.substr(0, text.find('\0')); }

// Names compare without regard to case for ASCII letters only: "Ａ" and "ａ",
// "Α" and "α" are different names.
bool SameName(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
        return lower(x) == lower(y);
    });
}

std::string SanitizedUtf8(std::string_view bytes) {
    std::string text;
    text.reserve(bytes.size());
    for (size_t offset = 0; offset < bytes.size();) AppendUtf8(text, NextCodePoint(bytes, offset));
    return text;
}

std::string Utf16ToUtf8(std::string_view bytes, bool bigEndian) {
    std::string text;
    const auto unit = [&](size_t i) {
        const auto first = static_cast<unsigned char>(bytes[i]);
        const auto second = static_cast<unsigned char>(bytes[i + 1]);
        return static_cast<char32_t>(bigEndian ? first << 8 | second : second << 8 | first);
    };
    // An odd last byte is no character.
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
        char32_t c = unit(i);
        if (c >= 0xD800 && c <= 0xDBFF && i + 3 < bytes.size()) {
            const char32_t low = unit(i + 2);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
                i += 2;
            }
        }
        AppendUtf8(text, c >= 0xD800 && c <= 0xDFFF ? 0xFFFD : c);
    }
    return text;
}

std::string Utf8ToUtf16(std::string_view text, bool bigEndian) {
    std::string bytes;
    const auto put = [&](char32_t u) {
        const auto high = static_cast<char>(u >> 8), low = static_cast<char>(u & 0xFF);
        bytes += bigEndian ? high : low;
        bytes += bigEndian ? low : high;
    };
    for (size_t offset = 0; offset < text.size();) {
        const char32_t c = NextCodePoint(text, offset);
        if (c >= 0x10000) {
            put(0xD800 + ((c - 0x10000) >> 10));
            put(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            put(c);
        }
    }
    return bytes;
}

// Splits at every run of CR and LF, so blank lines vanish and a lone CR or LF
// ends a line too.
void ParseLines(std::string_view text, IniFile& file) {
    file.sections.push_back({});
    IniSection* section = &file.sections.back();
    size_t position = 0;
    while (position < text.size()) {
        const size_t start = position;
        while (position < text.size() && text[position] != '\r' && text[position] != '\n') ++position;
        const std::string_view line = Trim(text.substr(start, position - start));
        while (position < text.size() && (text[position] == '\r' || text[position] == '\n')) ++position;
        if (line.empty()) continue;

        if (line.front() == '[') {
            // The name runs to the last "]"; anything after it is dropped. A
            // "[" line without "]" is read as a key.
            const size_t close = line.rfind(']');
            if (close != std::string_view::npos) {
                file.sections.push_back({std::string(UpToNul(Trim(line.substr(1, close - 1)))), {}});
                section = &file.sections.back();
                continue;
            }
        }

        std::string_view name = line;
        std::optional<std::string> value;
        if (const size_t equals = line.find('='); equals != std::string_view::npos) {
            name = TrimRight(line.substr(0, equals));
            value = std::string(UpToNul(TrimLeft(line.substr(equals + 1))));
        }
        // Of consecutive lines with an empty name ("=x"), only the first is kept.
        if (!name.empty() || section->keys.empty() || !section->keys.back().name.empty())
            section->keys.push_back({std::string(UpToNul(name)), std::move(value)});
    }
}

IniFile Parse(std::string_view bytes, CodePage& codePage) {
    IniFile file;
    if (bytes.substr(0, kUtf8Bom.size()) == kUtf8Bom) {
        file.encoding = Encoding::Utf8;
        ParseLines(SanitizedUtf8(bytes.substr(kUtf8Bom.size())), file);
    } else if (bytes.substr(0, 2) == kUtf16LeBom) {
        file.encoding = Encoding::Utf16Le;
        ParseLines(Utf16ToUtf8(bytes.substr(2), false), file);
    } else if (bytes.substr(0, 2) == kUtf16BeBom) {
        file.encoding = Encoding::Utf16Be;
        ParseLines(Utf16ToUtf8(bytes.substr(2), true), file);
    } else {
        ParseLines(codePage.ToUtf8(bytes), file);
    }
    return file;
}

std::string Serialize(IniFile& file, CodePage& codePage, bool keepUnicode) {
    std::string text;
    for (const IniSection& section : file.sections) {
        if (!section.name.empty()) text += "[" + section.name + "]\r\n";
        for (const IniKey& key : section.keys) {
            text += key.name;
            if (key.value) text += "=" + *key.value;
            text += "\r\n";
        }
    }
    switch (file.encoding) {
        case Encoding::Utf8: return std::string(kUtf8Bom) + text;
        case Encoding::Utf16Le: return std::string(kUtf16LeBom) + Utf8ToUtf16(text, false);
        case Encoding::Utf16Be: return std::string(kUtf16BeBom) + Utf8ToUtf16(text, true);
        case Encoding::Ansi: break;
    }
    std::string ansi = codePage.FromUtf8(text);
    if (keepUnicode && codePage.ToUtf8(ansi) != text) {
        // From now on the file stays in UTF-16, like one the system made.
        file.encoding = Encoding::Utf16Le;
        return std::string(kUtf16LeBom) + Utf8ToUtf16(text, false);
    }
    return ansi;
}

// The file as parsed; a missing file is an empty one, and the first write
// creates it. Nothing when the file exists but cannot be read, which the
// system reports as a failure.
std::optional<IniFile> Load(const FileContents& contents, CodePage& codePage) {
    switch (contents.outcome) {
        case ReadOutcome::Absent: return IniFile{};
        case ReadOutcome::Whole: return Parse(contents.bytes, codePage);
        case ReadOutcome::Unreadable: break;
    }
    return std::nullopt;
}

// Reads and writes look a name up with the blanks around it ignored, and take
// the first section of that name only, even when a later one repeats it.
IniSection* FindSection(IniFile& file, std::string_view trimmedName) {
    for (IniSection& section : file.sections)
        if (SameName(section.name, trimmedName)) return &section;
    return nullptr;
}

IniKey* FindKey(IniSection& section, std::string_view trimmedName) {
    for (IniKey& key : section.keys)
        if (SameName(key.name, trimmedName)) return &key;
    return nullptr;
}

// One pair of matching outer quotes is not part of the value.
std::string Unquoted(std::string_view value) {
    if (value.size() > 1 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    return std::string(value);
}

// The sections as a reader sees them: a leading unnamed section without keys
// is the same as none.
std::span<const IniSection> Seen(const IniFile& file) {
    std::span<const IniSection> sections(file.sections);
    if (!sections.empty() && sections.front().name.empty() && sections.front().keys.empty())
        sections = sections.subspan(1);
    return sections;
}

// Whether the file, written and read again, holds what it holds now. It does
// not when a "[]" section follows others (its keys join the one before) or
// when names, values or the code page change on the way.
bool ReadsBackWhole(const IniFile& file, CodePage& codePage, bool keepUnicode) {
    IniFile copy = file;
    const IniFile back = Parse(Serialize(copy, codePage, keepUnicode), codePage);
    return std::ranges::equal(Seen(file), Seen(back));
}

// Whether `text`, some lines of an ANSI file, survives the code page
// (a file that keeps Unicode turns to UTF-16 rather than lose a character).
bool FitsCodePage(const IniFile& file, const std::string& text, CodePage& codePage, bool keepUnicode) {
    return file.encoding != Encoding::Ansi || keepUnicode || codePage.ToUtf8(codePage.FromUtf8(text)) == text;
}

// Whether a key's line, written and read again, is that key alone.
bool KeyLineReadsBack(const IniFile& file, const IniKey& key, CodePage& codePage, bool keepUnicode) {
    const std::string line = key.name + (key.value ? "=" + *key.value : "");
    IniFile back;
    ParseLines(line, back);
    return back.sections.size() == 1 && back.sections[0].keys.size() == 1 && back.sections[0].keys[0] == key &&
           FitsCodePage(file, line, codePage, keepUnicode);
}

// Whether a section's header, written and read again, is that header alone.
bool HeaderReadsBack(const IniFile& file, std::string_view name, CodePage& codePage, bool keepUnicode) {
    const std::string line = "[" + std::string(name) + "]";
    IniFile back;
    ParseLines(line, back);
    return back.sections.size() == 2 && back.sections[1].name == name && back.sections[1].keys.empty() &&
           FitsCodePage(file, line, codePage, keepUnicode);
}

}  // namespace

// In a batch the file stays in memory, but each call must answer as the system
// does, which reads the file again at every call: after a change whose lines
// read back otherwise (a name with trailing blanks, a value ending in a blank,
// a key that reads as a header...), `ini` becomes the file as read back, while
// `written` keeps the bytes the change wrote until the next change.
struct IniProfile::CachedFile {
    std::optional<IniFile> ini;  // nothing when the file exists but cannot be read
    ReadOutcome outcome = ReadOutcome::Absent;
    bool changed = false;
    std::optional<bool> readsBack;     // whether `ini` reads back as it is; asked at its first change
    std::optional<std::string> written;
    std::optional<ContentStamp> stamp;  // of the bytes read, when read whole
};

// A file read whole and parsed, kept after its calls with the size and hash
// of its bytes.
struct IniProfile::ParsedFile {
    ContentStamp stamp;
    IniFile ini;
};

IniProfile::IniProfile(FileSystem& files, CodePage& codePage, bool keepUnicode)
    : files_(files), codePage_(codePage), keepUnicode_(keepUnicode) {}

IniProfile::~IniProfile() = default;

// Outside a batch every call loads the file afresh, as the system does; in a
// batch the first call loads it and the others share it. A file whose bytes
// are those parsed last time is not parsed again: a member file of thousands
// of groups costs its reading and hashing at each opening of a group, not
// its parsing.
IniProfile::CachedFile* IniProfile::Open(const std::string& path) {
    std::unique_ptr<CachedFile>& slot = cache_[path];
    if (!slot) {
        const FileContents contents = files_.Read(path);
        slot = std::make_unique<CachedFile>(CachedFile{std::nullopt, contents.outcome, false});
        if (contents.outcome == ReadOutcome::Whole) {
            slot->stamp = StampOf(contents);
            if (const auto kept = parsed_.find(path); kept != parsed_.end() && kept->second->stamp == *slot->stamp)
                slot->ini = std::move(kept->second->ini);
        }
        parsed_.erase(path);
        if (!slot->ini) slot->ini = Load(contents, codePage_);
    }
    if (!slot->ini && batchDepth_ > 0) batchFailed_ = true;
    return slot.get();
}

// A file its calls are done with is kept parsed while it stands as read; a
// changed one is parsed again at its next reading.
void IniProfile::Release(const std::string& path) {
    const auto found = cache_.find(path);
    if (found == cache_.end()) return;
    CachedFile& file = *found->second;
    if (!file.changed && file.stamp && file.ini)
        parsed_[path] = std::make_unique<ParsedFile>(ParsedFile{*file.stamp, std::move(*file.ini)});
    cache_.erase(found);
}

void IniProfile::ReleaseAll() {
    while (!cache_.empty()) Release(cache_.begin()->first);
}

void IniProfile::BeforeChange(CachedFile& file) {
    if (batchDepth_ > 0 && !file.readsBack) file.readsBack = ReadsBackWhole(*file.ini, codePage_, keepUnicode_);
}

bool IniProfile::Changed(const std::string& path, CachedFile& file, bool linesReadBack) {
    if (batchDepth_ > 0) {
        file.changed = true;
        if (linesReadBack && file.readsBack.value_or(true)) {
            file.written.reset();
            return true;
        }
        file.written = Serialize(*file.ini, codePage_, keepUnicode_);
        file.ini = Parse(*file.written, codePage_);
        file.readsBack.reset();
        return true;
    }
    const bool written = files_.ReplaceAll(path, Serialize(*file.ini, codePage_, keepUnicode_));
    file.changed = true;
    Release(path);
    return written;
}

void IniProfile::BeginBatch() { ++batchDepth_; }

bool IniProfile::EndBatch() {
    if (batchDepth_ == 0 || --batchDepth_ > 0) return true;
    bool written = !batchFailed_;
    for (auto& [path, file] : cache_)
        if (file->changed &&
            !files_.ReplaceAll(path, file->written ? *file->written : Serialize(*file->ini, codePage_, keepUnicode_)))
            written = false;
    ReleaseAll();
    batchFailed_ = false;
    return written;
}

ReadOutcome IniProfile::FileOutcome(const std::string& file) {
    const ReadOutcome outcome = Open(file)->outcome;
    if (batchDepth_ == 0) Release(file);
    return outcome;
}

std::string IniProfile::GetString(const std::string& file, const std::string& section, const std::string& key) {
    CachedFile* cached = Open(file);
    std::string value;
    if (cached->ini) {
        if (IniSection* found = FindSection(*cached->ini, Trim(UpToNul(section)))) {
            const IniKey* entry = FindKey(*found, Trim(UpToNul(key)));
            if (entry && entry->value) value = Unquoted(*entry->value);
        }
    }
    if (batchDepth_ == 0) Release(file);
    return value;
}

bool IniProfile::WriteString(const std::string& file, const std::string& section, const std::string& key,
                             const std::string& value) {
    CachedFile* cached = Open(file);
    if (!cached->ini) return Unchanged(file);
    IniFile* ini = &*cached->ini;
    // A new section or key keeps the trailing blanks of the name it was given
    // (they are trimmed when the file is read back); the value loses its
    // leading blanks only.
    const std::string_view sectionName = TrimLeft(UpToNul(section));
    const std::string_view keyName = TrimLeft(UpToNul(key));
    const std::string_view newValue = TrimLeft(UpToNul(value));

    IniSection* target = FindSection(*ini, TrimRight(sectionName));
    IniKey* entry = target ? FindKey(*target, TrimRight(keyName)) : nullptr;
    // Unchanged: the file is left as it is, not rewritten in normal form.
    if (entry && entry->value == newValue) return Unchanged(file, true);
    BeforeChange(*cached);
    bool readsBack = true;
    if (!target && sectionName.empty()) {
        // The leading nameless section was deleted; read again, the file has
        // one more, empty, before the first header.
        target = &*ini->sections.insert(ini->sections.begin(), IniSection{});
    } else if (!target) {
        ini->sections.push_back({std::string(sectionName), {}});
        target = &ini->sections.back();
        readsBack = HeaderReadsBack(*ini, sectionName, codePage_, keepUnicode_);
    }
    if (!entry) {
        // Of two nameless keys in a row, a reader keeps the first.
        if (keyName.empty() && !target->keys.empty() && target->keys.back().name.empty()) readsBack = false;
        target->keys.push_back({std::string(keyName), std::nullopt});
        entry = &target->keys.back();
    }
    entry->value = std::string(newValue);
    readsBack = readsBack && KeyLineReadsBack(*ini, *entry, codePage_, keepUnicode_);
    return Changed(file, *cached, readsBack);
}

bool IniProfile::DeleteKey(const std::string& file, const std::string& section, const std::string& key) {
    CachedFile* cached = Open(file);
    if (!cached->ini) return Unchanged(file);
    // Unlike lookups, deleting compares the names as given, blanks and all,
    // and goes on into later sections of the same name.
    const std::string_view sectionName = UpToNul(section);
    const std::string_view keyName = UpToNul(key);
    for (IniSection& candidate : cached->ini->sections) {
        if (!SameName(candidate.name, sectionName)) continue;
        const auto entry = std::find_if(candidate.keys.begin(), candidate.keys.end(),
                                        [&](const IniKey& k) { return SameName(k.name, keyName); });
        if (entry != candidate.keys.end()) {
            BeforeChange(*cached);
            const auto next = candidate.keys.erase(entry);
            // Two nameless keys brought together: a reader keeps the first.
            const bool readsBack = next == candidate.keys.begin() || next == candidate.keys.end() ||
                                   !next->name.empty() || !std::prev(next)->name.empty();
            return Changed(file, *cached, readsBack);
        }
    }
    return Unchanged(file, true);
}

bool IniProfile::DeleteSection(const std::string& file, const std::string& section) {
    CachedFile* cached = Open(file);
    if (!cached->ini) return Unchanged(file);
    // Only the first section of the name goes; a repeat of it then shows.
    const std::string_view name = UpToNul(section);
    std::vector<IniSection>& sections = cached->ini->sections;
    const auto found = std::find_if(sections.begin(), sections.end(),
                                    [&](const IniSection& s) { return SameName(s.name, name); });
    if (found == sections.end()) return Unchanged(file, true);
    BeforeChange(*cached);
    sections.erase(found);
    return Changed(file, *cached, true);
}

bool IniProfile::Unchanged(const std::string& path, bool result) {
    if (batchDepth_ == 0) Release(path);
    return result;
}

}  // namespace tavi
