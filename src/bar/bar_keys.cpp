#include "bar/bar_keys.h"

#include <algorithm>

#include "app/launcher.h"
#include "app/menu_main.h"
#include "platform/text.h"
#include "bar/accessible_names.h"
#include "platform/unicode.h"

namespace tavi {
namespace {

// Virtual-key codes, as the system numbers them.
constexpr int kReturn = 0x0D, kEscape = 0x1B, kPrior = 0x21, kNext = 0x22, kEnd = 0x23, kHome = 0x24;
constexpr int kLeft = 0x25, kUp = 0x26, kRight = 0x27, kDown = 0x28, kApps = 0x5D, kF10 = 0x79;

// Full-width forms of U+FF61..U+FF9F, in order.
constexpr char16_t kHalfWidthKana[] = {
    0x3002, 0x300C, 0x300D, 0x3001, 0x30FB, 0x30F2, 0x30A1, 0x30A3, 0x30A5, 0x30A7, 0x30A9, 0x30E3, 0x30E5,
    0x30E7, 0x30C3, 0x30FC, 0x30A2, 0x30A4, 0x30A6, 0x30A8, 0x30AA, 0x30AB, 0x30AD, 0x30AF, 0x30B1, 0x30B3,
    0x30B5, 0x30B7, 0x30B9, 0x30BB, 0x30BD, 0x30BF, 0x30C1, 0x30C4, 0x30C6, 0x30C8, 0x30CA, 0x30CB, 0x30CC,
    0x30CD, 0x30CE, 0x30CF, 0x30D2, 0x30D5, 0x30D8, 0x30DB, 0x30DE, 0x30DF, 0x30E0, 0x30E1, 0x30E2, 0x30E4,
    0x30E6, 0x30E8, 0x30E9, 0x30EA, 0x30EB, 0x30EC, 0x30ED, 0x30EF, 0x30F3, 0x309B, 0x309C};
constexpr char32_t kNotUtf8 = 0xFFFD;  // what a byte outside any sequence decodes to
constexpr char32_t kHiraganaFirst = 0x3041, kHiraganaLast = 0x3096, kKatakanaFirst = 0x30A1;

bool Registered(const EntryStore& entries, int index) {
    return entries.Has(index) && !TrimSpaces(entries.slots[index].PathName).empty();
}

KeyResult FocusOnEntry(const KeyPage& page, int index) {
    KeyResult result;
    if (index >= page.entryOffset && index < page.entryOffset + page.visibleCount) {
        result.focus = index - page.entryOffset;
        return result;
    }
    const int offset = index / page.visibleCount * page.visibleCount;
    result.offset = offset;
    result.focus = index - offset;
    return result;
}

std::optional<int> FirstRegistered(const EntryStore& entries) {
    for (int i = 0; i <= entries.UpperBound(); ++i)
        if (Registered(entries, i)) return i;
    return std::nullopt;
}

std::optional<int> LastRegistered(const EntryStore& entries) {
    for (int i = entries.UpperBound(); i >= 0; --i)
        if (Registered(entries, i)) return i;
    return std::nullopt;
}

// The next registered entry after `from` whose name, as screen readers
// hear it, begins with `typed`: an untitled entry by its file name.
std::optional<int> NextByTitle(const EntryStore& entries, int from, char32_t typed) {
    return NextStartingWith(entries.UpperBound() + 1, from, typed, [&entries](int index) {
        return Registered(entries, index) ? AccessibleEntryName(entries.slots[index]) : std::string();
    });
}

}  // namespace

std::optional<BarKey> BarKeyOf(int virtualKey, bool shift, bool horizontal) {
    switch (virtualKey) {
        case kLeft: return horizontal ? std::optional(BarKey::Back) : std::nullopt;
        case kRight: return horizontal ? std::optional(BarKey::Forward) : std::nullopt;
        case kUp: return horizontal ? std::nullopt : std::optional(BarKey::Back);
        case kDown: return horizontal ? std::nullopt : std::optional(BarKey::Forward);
        case kHome: return BarKey::Home;
        case kEnd: return BarKey::End;
        case kPrior: return BarKey::PageUp;
        case kNext: return BarKey::PageDown;
        case kReturn: return BarKey::Enter;
        case kApps: return BarKey::Menu;
        case kF10: return shift ? std::optional(BarKey::Menu) : std::nullopt;
        case kEscape: return BarKey::Escape;
        default: return std::nullopt;
    }
}

KeyResult HandleBarKey(const KeyPage& page, const EntryStore& entries, BarKey key, char32_t typed) {
    KeyResult result;
    result.focus = page.focused;
    if (page.visibleCount <= 0) return result;
    const int last = page.visibleCount - 1;
    const int focus = std::clamp(page.focused, -1, last);
    result.focus = focus;
    switch (key) {
        case BarKey::Forward:
            if (focus < last) {
                result.focus = focus + 1;
            } else {
                result.page = PageCommand::Next;
                result.focus = 0;
            }
            break;
        case BarKey::Back:
            if (focus > 0) {
                result.focus = focus - 1;
            } else if (focus < 0) {
                result.focus = 0;
            } else if (page.entryOffset > 0) {
                // The entry before the first one, wherever the previous page starts.
                result.page = PageCommand::Previous;
                result.focus = page.entryOffset - 1 - std::max(0, page.entryOffset - page.visibleCount);
            }
            break;
        case BarKey::PageUp:
        case BarKey::PageDown:
            result.page = key == BarKey::PageUp ? PageCommand::Previous : PageCommand::Next;
            result.focus = std::max(0, focus);
            break;
        case BarKey::Home:
        case BarKey::End:
            if (const auto index = key == BarKey::Home ? FirstRegistered(entries) : LastRegistered(entries))
                result = FocusOnEntry(page, *index);
            break;
        case BarKey::Enter:
            if (focus >= 0) {
                const int index = page.entryOffset + focus;
                const LaunchEntry* entry = entries.Has(index) ? &entries.slots[index] : nullptr;
                if (entry && IsGroupPath(TrimSpaces(entry->PathName)))
                    result.action = KeyAction::OpenGroup;
                else if (entry && OpensAsMenu(entry->PathName, entry->RunType))
                    result.action = KeyAction::OpenFolderMenu;
                else
                    result.action = KeyAction::StartEntry;
            }
            break;
        case BarKey::Menu:
            if (focus >= 0) result.action = KeyAction::EntryMenu;
            break;
        case BarKey::Escape: result.action = KeyAction::Release; break;
        case BarKey::Character: {
            const int from = focus >= 0 ? page.entryOffset + focus : page.entryOffset - 1;
            if (const auto index = NextByTitle(entries, from, typed)) result = FocusOnEntry(page, *index);
            break;
        }
    }
    return result;
}

char32_t FoldForMatch(char32_t c) {
    if (c >= 0xFF01 && c <= 0xFF5E) c -= 0xFF01 - 0x21;
    if (c >= 0xFF61 && c <= 0xFF9F) c = kHalfWidthKana[c - 0xFF61];
    // ぁ..ゖ and the iteration marks ゝゞ sit 0x60 below their katakana.
    if ((c >= kHiraganaFirst && c <= kHiraganaLast) || c == 0x309D || c == 0x309E)
        c += kKatakanaFirst - kHiraganaFirst;
    if (c >= 'A' && c <= 'Z') c += 'a' - 'A';
    return c;
}

char32_t JoinVoicedMark(char32_t kana, char32_t mark) {
    // Half-width, spacing and combining forms of each mark.
    const bool voiced = mark == 0xFF9E || mark == 0x309B || mark == 0x3099;
    const bool semiVoiced = mark == 0xFF9F || mark == 0x309C || mark == 0x309A;
    if (voiced) {
        if (kana == 0x30A6) return 0x30F4;  // ウ゛ is ヴ
        if ((kana >= 0x30AB && kana <= 0x30C1 && (kana - 0x30AB) % 2 == 0) || kana == 0x30C4 || kana == 0x30C6 ||
            kana == 0x30C8)
            return kana + 1;
    }
    if (voiced || semiVoiced)
        if (kana >= 0x30CF && kana <= 0x30DB && (kana - 0x30CF) % 3 == 0) return kana + (voiced ? 1 : 2);
    return kana;
}

bool TitleStartsWith(std::string_view title, char32_t typed) {
    if (title.empty() || typed == 0) return false;
    size_t offset = 0;
    const char32_t first = NextCodePoint(title, offset);
    if (first == kNotUtf8) return false;
    char32_t folded = FoldForMatch(first);
    if (first >= 0xFF61 && first <= 0xFF9F && offset < title.size())
        folded = JoinVoicedMark(folded, NextCodePoint(title, offset));
    return folded == FoldForMatch(typed);
}

bool IsTypeAheadCharacter(char32_t c) { return c >= 0x20 && c != 0x7F && !(c >= 0xD800 && c <= 0xDFFF); }

std::optional<int> NextStartingWith(int count, int from, char32_t typed,
                                    const std::function<std::string(int)>& nameOf) {
    if (count <= 0 || !IsTypeAheadCharacter(typed)) return std::nullopt;
    for (int step = 1; step <= count; ++step) {
        const int index = ((from + step) % count + count) % count;
        const std::string name = nameOf(index);
        if (!name.empty() && TitleStartsWith(name, typed)) return index;
    }
    return std::nullopt;
}

void ShowPageAt(MenuMain& state, int offset) {
    state.EntryOffset = std::clamp(offset, 0, kEntryLimit);
    const int wanted = state.EntryOffset + state.VisibleCount;
    state.entries.Reserve(wanted);
}

}  // namespace tavi
