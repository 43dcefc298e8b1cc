#include "menus/folder_menu.h"

#include <algorithm>

#include "app/launcher.h"
#include "platform/messages.h"
#include "platform/text.h"
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

// Where a folded character other than a digit sorts: symbols, then
// (numbers,) then letters, then everything beyond ASCII.
uint32_t Rank(char32_t c) {
    if (c >= 'a' && c <= 'z') return 0x200 + (c - 'a');
    if (c < 0x80) return c;
    return 0x1000 + c;
}

// A name as a sequence that compares, value by value, as the explorer
// orders names. A run of digits becomes a number mark (between the symbols
// and the letters, as a digit is), its count of digits without leading
// zeros, and those digits, so that a longer number sorts after a shorter one.
std::u32string SortKey(std::string_view name) {
    constexpr char32_t kNumber = 0x100;
    std::u32string key;
    key.reserve(name.size());
    for (size_t offset = 0; offset < name.size();) {
        const char32_t c = FoldForSort(NextCodePoint(name, offset));
        if (!IsDigit(c)) {
            key += static_cast<char32_t>(Rank(c));
            continue;
        }
        std::u32string digits;
        if (c != '0') digits += c;
        for (size_t next = offset; next < name.size(); offset = next) {
            const char32_t d = FoldForSort(NextCodePoint(name, next));
            if (!IsDigit(d)) break;
            if (!digits.empty() || d != '0') digits += d;
        }
        key += kNumber;
        key += static_cast<char32_t>(digits.size());
        key += digits;
    }
    return key;
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

// The name fitted to a menu item, "&" doubled so that it shows as itself.
std::string MenuCaption(std::string_view name, bool folder) {
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
    return WithLiteralAmpersands(shown);
}

}  // namespace

std::vector<FolderMenuItem> FolderMenuItems(const std::string& folder, const FolderContents& contents) {
    if (contents.outcome == FolderReadOutcome::Unreadable) return {Placeholder(folder, text::kFolderMenuUnreadable)};
    if (contents.outcome == FolderReadOutcome::TimedOut) return {Placeholder(folder, text::kFolderMenuNoAnswer)};

    struct Row {
        const FolderEntry* entry;
        std::string shown;
        std::u32string key;
    };
    std::vector<Row> rows;
    for (const FolderEntry& entry : contents.entries) {
        if (entry.hidden || entry.system) continue;
        std::string shown = ShownName(entry.name, entry.folder);
        std::u32string key = SortKey(shown);
        rows.push_back({&entry, std::move(shown), std::move(key)});
    }
    if (rows.empty() && !contents.cutShort) return {Placeholder(folder, text::kFolderMenuEmpty)};

    std::sort(rows.begin(), rows.end(), [](const Row& x, const Row& y) {
        if (x.entry->folder != y.entry->folder) return x.entry->folder;
        if (x.key != y.key) return x.key < y.key;
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
                         MenuCaption(entry.name, entry.folder), JoinPath(folder, entry.name), true});
    }
    if (more) items.push_back({FolderMenuKind::More, std::string(text::kFolderMenuMore), folder, true});
    return items;
}

std::vector<FolderMenuItem> ListFolderMenu(FolderContentsReader& reader, const std::string& folder,
                                           std::chrono::milliseconds limit) {
    return FolderMenuItems(folder, reader.Read(folder, kFolderMenuMostItems + 1, limit));
}

bool AwaitsListing(const std::vector<FolderMenuItem>& items) {
    return items.size() == 1 && items[0].kind == FolderMenuKind::Placeholder &&
           items[0].caption == text::kFolderMenuNoAnswer;
}

FolderMenuListings::FolderMenuListings(FolderContentsReader& reader,
                                       std::function<void(const std::string& folder)> arrived)
    : reader_(reader), arrived_(std::move(arrived)) {
    reader_.TellLate(this);
}

FolderMenuListings::~FolderMenuListings() { reader_.TellLate(nullptr); }

std::vector<FolderMenuItem> FolderMenuListings::List(const std::string& folder) {
    FolderContents contents = reader_.Read(folder, kFolderMenuMostItems + 1, kFolderMenuWait);
    const auto kept = std::find_if(late_.begin(), late_.end(), [&](const auto& late) { return late.first == folder; });
    if (kept != late_.end()) {
        // A fresh listing wins; a late one beats none.
        if (contents.outcome == FolderReadOutcome::TimedOut) contents = std::move(kept->second);
        late_.erase(kept);
    }
    return FolderMenuItems(folder, contents);
}

bool FolderMenuListings::HasLate(const std::string& folder) const {
    return std::any_of(late_.begin(), late_.end(), [&](const auto& late) { return late.first == folder; });
}

void FolderMenuListings::LateListing(const std::string& folder, FolderContents contents) {
    std::erase_if(late_, [&](const auto& late) { return late.first == folder; });
    late_.emplace_back(folder, std::move(contents));
    if (late_.size() > kFolderMenuMostLate) late_.pop_front();
    if (arrived_) arrived_(folder);
}

std::string FolderMenuIconKey(const FolderMenuItem& item) {
    if (item.kind == FolderMenuKind::Submenu) return "folder";
    if (item.kind != FolderMenuKind::File) return {};
    static constexpr std::string_view kOwnPictures[] = {".EXE", ".LNK", ".URL", ".ICO", ".CUR", ".ANI", ".SCR", ".CPL"};
    const std::string extension = ToUpperAscii(GetExtension(item.path));
    const bool own = extension.empty() || std::find(std::begin(kOwnPictures), std::end(kOwnPictures), extension) !=
                                              std::end(kOwnPictures);
    return own ? "file:" + ToUpperAscii(item.path) : "type:" + extension;
}

bool OpenFolderMenuItem(Platform& platform, const FolderMenuItem& item) {
    if (item.kind != FolderMenuKind::File && item.kind != FolderMenuKind::More) return false;
    if (!item.enabled || TrimSpaces(item.path).empty()) return false;
    StartEntry(platform, {item.path, "", "0"}, nullptr);
    return true;
}

}  // namespace tavi
