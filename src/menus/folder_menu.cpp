#include "menus/folder_menu.h"

#include <algorithm>

#include "app/messages.h"
#include "app/text.h"
#include "platform/unicode.h"

namespace tavi {
namespace {

// Case and width folded away, as the explorer compares names.
char32_t FoldForSort(char32_t c) {
    if (c >= 0xFF01 && c <= 0xFF5E) c -= 0xFF01 - 0x21;  // full-width ASCII
    if (c >= 'A' && c <= 'Z') return c + ('a' - 'A');
    if ((c >= 0xC0 && c <= 0xDE && c != 0xD7) || (c >= 0x391 && c <= 0x3A9) || (c >= 0x410 && c <= 0x42F))
        return c + 0x20;
    if (c >= 0x400 && c <= 0x40F) return c + 0x50;
    // Hiragana sort with their katakana.
    if (c >= 0x3041 && c <= 0x3096) return c + 0x60;
    return c;
}

bool IsDigit(char32_t c) { return c >= '0' && c <= '9'; }

// Where a folded character sorts: symbols, then digits, then letters, then
// everything beyond ASCII.
uint32_t Rank(char32_t c) {
    if (IsDigit(c)) return 0x100 + (c - '0');
    if (c >= 'a' && c <= 'z') return 0x200 + (c - 'a');
    if (c < 0x80) return c;
    return 0x1000 + c;
}

struct NameCursor {
    std::string_view text;
    size_t offset = 0;

    bool AtEnd() const { return offset >= text.size(); }
    char32_t Peek() const {
        size_t at = offset;
        return FoldForSort(NextCodePoint(text, at));
    }
    void Skip() { NextCodePoint(text, offset); }
    // The run of digits from here without its leading zeros.
    std::string Number() {
        std::string digits;
        while (!AtEnd() && IsDigit(Peek())) {
            const char digit = static_cast<char>(Peek());
            Skip();
            if (digits.empty() && digit == '0') continue;
            digits += digit;
        }
        return digits;
    }
};

// <0, 0 or >0 as a comes before, ties with or comes after b, before the
// byte-wise tie break.
int CompareFolded(std::string_view a, std::string_view b) {
    NameCursor x{a}, y{b};
    while (!x.AtEnd() && !y.AtEnd()) {
        const char32_t cx = x.Peek(), cy = y.Peek();
        if (IsDigit(cx) && IsDigit(cy)) {
            const std::string nx = x.Number(), ny = y.Number();
            if (nx.size() != ny.size()) return nx.size() < ny.size() ? -1 : 1;
            if (const int order = nx.compare(ny); order != 0) return order;
            continue;
        }
        if (Rank(cx) != Rank(cy)) return Rank(cx) < Rank(cy) ? -1 : 1;
        x.Skip();
        y.Skip();
    }
    return x.AtEnd() == y.AtEnd() ? 0 : (x.AtEnd() ? -1 : 1);
}

bool EndsWithNoCase(std::string_view text, std::string_view suffix) {
    return text.size() > suffix.size() && ToUpperAscii(text.substr(text.size() - suffix.size())) == suffix;
}

// The name as the shell shows it, before it is fitted to a menu.
std::string ShownName(std::string_view name, bool folder) {
    if (!folder && (EndsWithNoCase(name, ".LNK") || EndsWithNoCase(name, ".URL")))
        name.remove_suffix(4);
    return std::string(name);
}

std::string JoinPath(const std::string& folder, const std::string& name) { return AddBackslash(folder) + name; }

FolderMenuItem Placeholder(const std::string& folder, std::string_view caption) {
    return {FolderMenuKind::Placeholder, std::string(caption), folder, false};
}

}  // namespace

bool ExplorerNameLess(std::string_view a, std::string_view b) {
    const int order = CompareFolded(a, b);
    return order != 0 ? order < 0 : a < b;
}

std::string FolderMenuCaption(std::string_view name, bool folder) {
    std::string shown;
    const std::string base = ShownName(name, folder);
    for (size_t offset = 0; offset < base.size();) {
        const char32_t c = NextCodePoint(base, offset);
        // A tab would start the menu's shortcut column.
        AppendUtf8(shown, c < 0x20 || c == 0x7F ? U' ' : c);
    }
    if (const size_t count = CharCount(shown); count > kFolderMenuLongestCaption) {
        constexpr std::string_view kCut = "...";
        const size_t kept = kFolderMenuLongestCaption - kCut.size();
        const size_t head = kept / 2;
        shown = CharMid(shown, 0, head) + std::string(kCut) + CharMid(shown, count - (kept - head));
    }
    std::string caption;
    for (const char c : shown) {
        caption += c;
        if (c == '&') caption += '&';
    }
    return caption;
}

std::vector<FolderMenuItem> FolderMenuItems(const std::string& folder, const FolderContents& contents) {
    if (contents.outcome == FolderReadOutcome::Unreadable) return {Placeholder(folder, text::kFolderMenuUnreadable)};
    if (contents.outcome == FolderReadOutcome::TimedOut) return {Placeholder(folder, text::kFolderMenuNoAnswer)};

    struct Row {
        const FolderEntry* entry;
        std::string shown;
    };
    std::vector<Row> rows;
    for (const FolderEntry& entry : contents.entries)
        if (!entry.hidden && !entry.system) rows.push_back({&entry, ShownName(entry.name, entry.folder)});
    if (rows.empty() && !contents.cutShort) return {Placeholder(folder, text::kFolderMenuEmpty)};

    std::sort(rows.begin(), rows.end(), [](const Row& x, const Row& y) {
        if (x.entry->folder != y.entry->folder) return x.entry->folder;
        if (const int order = CompareFolded(x.shown, y.shown); order != 0) return order < 0;
        if (x.shown != y.shown) return x.shown < y.shown;
        return x.entry->name < y.entry->name;
    });
    const bool more = contents.cutShort || rows.size() > kFolderMenuMostItems;
    if (rows.size() > kFolderMenuMostItems) rows.resize(kFolderMenuMostItems);

    std::vector<FolderMenuItem> items;
    items.reserve(rows.size() + 1);
    for (const Row& row : rows) {
        const FolderEntry& entry = *row.entry;
        const bool submenu = entry.folder && !entry.link;
        items.push_back({submenu ? FolderMenuKind::Submenu : FolderMenuKind::File,
                         FolderMenuCaption(entry.name, entry.folder), JoinPath(folder, entry.name), true});
    }
    if (more) items.push_back({FolderMenuKind::More, std::string(text::kFolderMenuMore), folder, true});
    return items;
}

std::vector<FolderMenuItem> ListFolderMenu(FolderContentsReader& reader, const std::string& folder,
                                           std::chrono::milliseconds limit) {
    return FolderMenuItems(folder, reader.Read(folder, kFolderMenuMostItems + 1, limit));
}

}  // namespace tavi
