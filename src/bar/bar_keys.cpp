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

constexpr char32_t kNotUtf8 = 0xFFFD;  // what a byte outside any sequence decodes to

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
    state.page.ShowFrom(offset);
    state.entries.Reserve(state.page.End());
}

}  // namespace tavi
