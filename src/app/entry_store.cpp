#include "platform/fnv_hash.h"
#include "app/entry_store.h"

#include "app/settings.h"

#include <algorithm>
#include <cstdint>
#include <array>
#include <optional>

#include "platform/messages.h"
#include "platform/text.h"
#include "platform/unicode.h"

namespace tavi {
namespace {

// Appends a field as one line: each line break inside it becomes a space.
void AppendLine(std::string& text, std::string_view field) {
    size_t start = 0;
    for (size_t i = 0; i < field.size(); ++i) {
        if (field[i] != '\r' && field[i] != '\n') continue;
        text.append(field.substr(start, i - start));
        text += ' ';
        if (field[i] == '\r' && i + 1 < field.size() && field[i + 1] == '\n') ++i;
        start = i + 1;
    }
    text.append(field.substr(start));
    text += "\r\n";
}

// A slot is worth writing when it has a title or something to open; a
// title-less entry at the end must not vanish on the next save.
bool IsUsed(const LaunchEntry& entry) { return !IsBlank(entry.Title) || !IsBlank(entry.PathName); }

// The last line of a companion this program writes: the list it belongs to,
// by a hash of the list's bytes. Older versions read the companion line by
// line of the list, and the list has no line there.
constexpr std::string_view kCompanionMark = ";TaviMenu2 Launch.ini ";

std::string CompanionMark(std::string_view list) {
    const uint64_t hash = Fnv1a64(list);
    static constexpr char kHex[] = "0123456789abcdef";
    std::string mark(kCompanionMark);
    for (int shift = 60; shift >= 0; shift -= 4) mark += kHex[(hash >> shift) & 0xF];
    return mark;
}

}  // namespace

bool IsGroupPath(std::string_view pathName) {
    return pathName.size() >= 2 && pathName.front() == '[' && pathName.back() == ']';
}

void EntryStore::ResizeEntryArrays(int n) {
    // Only ever grows: shrinking would drop entries that are still wanted.
    const size_t wanted = n < 0 ? 0 : static_cast<size_t>(n) + 1;
    if (wanted > slots.size()) slots.resize(wanted);
    LastEntryIndex = n;
}

void EntryStore::MoveEntry(int from, int to) {
    if (!Has(from) || to < 0 || from == to) return;
    if (!Has(to)) ResizeEntryArrays(to);
    slots[to] = slots[from];
    slots[from] = LaunchEntry{};
}

void EntryStore::ClearEntry(int index) {
    if (Has(index)) slots[index] = LaunchEntry{};
}

std::string EntryFilePath(const std::string& applicationPath) { return AddBackslash(applicationPath) + "Launch.ini"; }

std::string FormatEntries(const EntryStore& store) {
    int last = store.UpperBound();
    // Before what lies past the limit every slot is written, so it stays in its place.
    while (last > 0 && store.pastLimit.empty() && !IsUsed(store.slots[last])) --last;
    std::string text;
    for (int i = 0; i <= last; ++i) {
        const LaunchEntry& e = store.slots[i];
        for (const std::string* field : {&e.Title, &e.PathName, &e.Command, &e.RunType, &e.IconPath, &e.IconIndex})
            AppendLine(text, *field);
    }
    return text;
}

namespace {

// Hand-edited files may end lines with CR LF, LF or CR alone. Splitting works
// on the raw bytes: CR and LF never occur inside a valid code page 932
// character, and decoding line by line keeps a stray lead byte at the end of
// one line from swallowing the line break and shifting every record after it.
// The lines are taken one at a time: a list of the six thousand of a full bar
// would be left behind as freed memory at every start.
class Lines {
public:
    explicit Lines(std::string_view text) : text_(text) {}
    // The next line, without its end; nothing after the last.
    std::optional<std::string_view> Next() {
        if (start_ >= text_.size()) return std::nullopt;
        size_t end = start_;
        while (end < text_.size() && text_[end] != '\r' && text_[end] != '\n') ++end;
        const std::string_view line = text_.substr(start_, end - start_);
        const bool crLf = end + 1 < text_.size() && text_[end] == '\r' && text_[end + 1] == '\n';
        start_ = end == text_.size() ? end : end + (crLf ? 2 : 1);
        return line;
    }

private:
    std::string_view text_;
    size_t start_ = 0;
};

// The lines a list of the bar's limit can have, and no more.
constexpr size_t kListLineLimit = (static_cast<size_t>(kEntryLimit) + 1) * 6;

std::vector<std::string_view> LeadingLines(std::string_view text, size_t limit) {
    std::vector<std::string_view> all;
    Lines lines(text);
    while (all.size() < limit)
        if (const std::optional<std::string_view> line = lines.Next()) all.push_back(*line);
        else break;
    return all;
}

bool HoldsText(std::string_view bytes) {
    return bytes.find_first_not_of(" \t\r\n\x1A") != std::string_view::npos;
}

// `decode(line, n)` makes the text of line n.
template <typename Decode>
EntryStore EntriesFromText(std::string_view text, Decode decode) {
    EntryStore store;
    // Six lines an entry, CR LF ended as the program writes them; a hint only.
    const auto lineFeeds = static_cast<size_t>(std::count(text.begin(), text.end(), '\n'));
    store.slots.reserve(std::min<size_t>(lineFeeds / 6 + 1, kEntryLimit));
    Lines lines(text);
    size_t n = 0;
    std::optional<std::string_view> line = lines.Next();
    // Paging shows index kEntryLimit last (then warns), so that many and one are read.
    for (; line && store.slots.size() <= static_cast<size_t>(kEntryLimit);) {
        LaunchEntry e;
        std::array<std::string*, 6> fields = {&e.Title, &e.PathName, &e.Command, &e.RunType, &e.IconPath, &e.IconIndex};
        for (size_t f = 0; f < fields.size() && line; ++f, ++n, line = lines.Next()) *fields[f] = decode(*line, n);
        store.slots.push_back(std::move(e));
    }
    store.LastEntryIndex = static_cast<int>(store.slots.size());
    // What lies past the bar's last entry is not read, and not lost: a save
    // writes it back as it was. Blank lines are nothing to keep.
    if (line) {
        const std::string_view rest = text.substr(static_cast<size_t>(line->data() - text.data()));
        if (HoldsText(rest)) store.pastLimit = std::string(rest);
    }
    return store;
}

}  // namespace

EntryStore ParseEntries(std::string_view text) {
    return EntriesFromText(text, [](std::string_view line, size_t) { return std::string(line); });
}

std::string EntryUnicodeFilePath(const std::string& applicationPath) { return EntryFilePath(applicationPath) + ".utf8"; }

EntryStore DecodeEntries(std::string_view list, std::optional<std::string_view> unicode, CodePage& codePage) {
    const std::vector<std::string_view> unicodeLines =
        unicode ? LeadingLines(*unicode, kListLineLimit) : std::vector<std::string_view>();
    return EntriesFromText(list, [&](std::string_view line, size_t n) {
        // The UTF-8 line stands for its line of the list only while it still
        // says the same there: a program that knows only the list may have
        // changed it since.
        if (n < unicodeLines.size() && IsValidUtf8(unicodeLines[n]) && codePage.FromUtf8(unicodeLines[n]) == line)
            return std::string(unicodeLines[n]);
        return codePage.ToUtf8(line);
    });
}

bool CompanionBelongs(std::string_view list, std::string_view unicode, CodePage& codePage) {
    std::string_view last = unicode;
    while (!last.empty() && (last.back() == '\r' || last.back() == '\n')) last.remove_suffix(1);
    last = last.substr(last.find_last_of("\r\n") == std::string_view::npos ? 0 : last.find_last_of("\r\n") + 1);
    if (last.starts_with(kCompanionMark)) return last == CompanionMark(list);
    // Unmarked, from an older version: it belongs while every line still says what the list says.
    Lines lines(unicode), listLines(list);
    for (;;) {
        const std::optional<std::string_view> line = lines.Next(), listLine = listLines.Next();
        if (!line || !listLine) return !line && !listLine;
        if (!IsValidUtf8(*line) || codePage.FromUtf8(*line) != *listLine) return false;
    }
}

EntryStore EntriesFromFiles(std::string_view list, std::optional<std::string_view> unicode, CodePage& codePage,
                            bool* strayCompanion) {
    const bool stray = unicode && !CompanionBelongs(list, *unicode, codePage);
    if (strayCompanion) *strayCompanion = stray;
    return DecodeEntries(list, stray ? std::nullopt : unicode, codePage);
}

std::string StrayCompanionPath(const std::string& applicationPath) {
    return EntryUnicodeFilePath(applicationPath) + ".stray";
}

LoadedEntries LoadEntries(FileSystem& files, CodePage& codePage, const std::string& applicationPath) {
    LoadedEntries loaded;
    const FileContents list = files.Read(EntryFilePath(applicationPath));
    loaded.outcome = list.outcome;
    if (list.outcome == ReadOutcome::Unreadable) {
        loaded.unreadPath = EntryFilePath(applicationPath);
        return loaded;
    }
    if (list.outcome == ReadOutcome::Absent) return loaded;
    if (list.bytes.empty() && !files.FileExists(EntryUnicodeFilePath(applicationPath))) {
        // An empty list beside settings never written is one a package
        // manager made to keep for the user (Scoop makes each file it keeps
        // before the program first runs): this is the first run. The program
        // writes its settings at its first close, so a list the user emptied
        // has them beside it.
        const FileContents settings = files.Read(SettingsFilePath(applicationPath));
        if (settings.outcome == ReadOutcome::Absent || (settings.outcome == ReadOutcome::Whole && settings.bytes.empty())) {
            loaded.outcome = ReadOutcome::Absent;
            return loaded;
        }
    }
    const FileContents unicode = files.Read(EntryUnicodeFilePath(applicationPath));
    if (unicode.outcome == ReadOutcome::Unreadable) {
        loaded.outcome = ReadOutcome::Unreadable;
        loaded.unreadPath = EntryUnicodeFilePath(applicationPath);
        return loaded;
    }
    loaded.store = EntriesFromFiles(
        list.bytes, unicode.outcome == ReadOutcome::Whole ? std::optional<std::string_view>(unicode.bytes) : std::nullopt,
        codePage, &loaded.strayCompanion);
    return loaded;
}

EntryStore FirstRunEntries(SystemInfo& system, FileSystem& files) {
    EntryStore store;
    const std::string windows = AddBackslash(system.WindowsDirectory());
    if (!files.FileExists(windows + "EXPLORER.EXE")) return store;
    const std::string root = CharMid(windows, 0, 3);
    store.slots = {
        LaunchEntry{root, root, "", "0", root, "0"},
        LaunchEntry{std::string(text::kExplorerTitle), windows + "EXPLORER.EXE", "", "0", windows + "EXPLORER.EXE",
                    "0"},
    };
    store.LastEntryIndex = 2;
    return store;
}

bool SaveEntries(const EntryStore& store, Platform& platform, const std::string& applicationPath) {
    const std::string text = FormatEntries(store);
    const std::string shown = platform.codePage.FromUtf8(text);
    const std::string ansi = shown + store.pastLimit;
    const std::string unicodePath = EntryUnicodeFilePath(applicationPath);
    if (platform.codePage.ToUtf8(shown) == text) {
        if (!platform.files.ReplaceAll(EntryFilePath(applicationPath), ansi)) return false;
        // Nothing the code page lacks is left. A copy that cannot be removed
        // is read only for lines where it still says what the list says.
        (void)platform.files.RemoveFile(unicodePath);
        return true;
    }
    // The UTF-8 copy goes first, marked with the list it belongs to: should
    // the list not follow, the old list is read alone.
    return platform.files.ReplaceAll(unicodePath, text + CompanionMark(ansi) + "\r\n") &&
           platform.files.ReplaceAll(EntryFilePath(applicationPath), ansi);
}

}  // namespace tavi
