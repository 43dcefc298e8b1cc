#include <gtest/gtest.h>

#include "bar/bar_keys.h"

using namespace tavi;

namespace {

// Three pages of four buttons:
//   page 0: [Alpha] [beta] [    ] [Games*]     (* a group)
//   page 4: [ｶﾞｲﾄﾞ] [Ｚｅｔａ] [    ] [カメラ]
//   page 8: [    ] [Docs+] [Set*] [    ]  (+ a folder shown as a menu; Set has the menu's run type)
EntryStore Store() {
    EntryStore store;
    store.slots = {
        {"Alpha", "C:\\a.exe", "", "0", "", "0"},   {"beta", "C:\\b.exe", "", "0", "", "0"},
        {"", "", "", "", "", ""},                   {"Games", " [Games] ", "", "0", "", "0"},
        {"ｶﾞｲﾄﾞ", "C:\\g.exe", "", "0", "", "0"},   {"Ｚｅｔａ", "C:\\z.exe", "", "0", "", "0"},
        {"", "", "", "", "", ""},                   {"カメラ", "C:\\c.exe", "", "0", "", "0"},
        {"", "", "", "", "", ""},                   {"Docs", "C:\\Docs\\", "", "3", "", "0"},
        {"Set", "[Set]", "", "3", "", "0"},          {"", "", "", "", "", ""},
    };
    store.LastEntryIndex = 11;
    return store;
}

constexpr auto kNext = PageCommand::Next;
constexpr auto kPrevious = PageCommand::Previous;
constexpr auto kNoPage = std::nullopt;

struct KeyCase {
    const char* name;
    int offset;
    int focused;
    BarKey key;
    char32_t typed;
    KeyResult expected;
};

}  // namespace

TEST(BarKeys, KeysOverPositionsAndPages) {
    const EntryStore store = Store();
    const KeyCase cases[] = {
        {"forward from nothing focused", 0, -1, BarKey::Forward, 0, {0, kNoPage, {}, KeyAction::None}},
        {"forward from the first button", 0, 0, BarKey::Forward, 0, {1, kNoPage, {}, KeyAction::None}},
        {"forward onto an empty slot", 0, 1, BarKey::Forward, 0, {2, kNoPage, {}, KeyAction::None}},
        {"forward from the last button pages on", 0, 3, BarKey::Forward, 0, {0, kNext, {}, KeyAction::None}},
        {"forward past the last entries still pages", 8, 3, BarKey::Forward, 0, {0, kNext, {}, KeyAction::None}},
        {"back from the middle", 4, 2, BarKey::Back, 0, {1, kNoPage, {}, KeyAction::None}},
        {"back from the first button pages back", 4, 0, BarKey::Back, 0, {3, kPrevious, {}, KeyAction::None}},
        {"back onto a page that started short", 2, 0, BarKey::Back, 0, {1, kPrevious, {}, KeyAction::None}},
        {"back on the first page stays", 0, 0, BarKey::Back, 0, {0, kNoPage, {}, KeyAction::None}},
        {"back from nothing focused", 4, -1, BarKey::Back, 0, {0, kNoPage, {}, KeyAction::None}},
        {"page up keeps the position", 4, 2, BarKey::PageUp, 0, {2, kPrevious, {}, KeyAction::None}},
        {"page up on the first page as F1", 0, 1, BarKey::PageUp, 0, {1, kPrevious, {}, KeyAction::None}},
        {"page down on the last page as F2", 8, 3, BarKey::PageDown, 0, {3, kNext, {}, KeyAction::None}},
        {"page down with nothing focused", 0, -1, BarKey::PageDown, 0, {0, kNext, {}, KeyAction::None}},
        {"home on the first page", 0, 3, BarKey::Home, 0, {0, kNoPage, {}, KeyAction::None}},
        {"home from the last page", 8, 2, BarKey::Home, 0, {0, kNoPage, 0, KeyAction::None}},
        {"end goes to the last registered entry", 0, 0, BarKey::End, 0, {2, kNoPage, 8, KeyAction::None}},
        {"end on its own page", 8, 0, BarKey::End, 0, {2, kNoPage, {}, KeyAction::None}},
        {"enter starts an entry", 0, 1, BarKey::Enter, 0, {1, kNoPage, {}, KeyAction::StartEntry}},
        {"enter on an empty slot clicks it", 0, 2, BarKey::Enter, 0, {2, kNoPage, {}, KeyAction::StartEntry}},
        {"enter on a group opens its box", 0, 3, BarKey::Enter, 0, {3, kNoPage, {}, KeyAction::OpenGroup}},
        {"enter past the entries clicks the free slot", 8, 0, BarKey::Enter, 0,
         {0, kNoPage, {}, KeyAction::StartEntry}},
        {"enter with nothing focused", 0, -1, BarKey::Enter, 0, {-1, kNoPage, {}, KeyAction::None}},
        {"enter on a folder shown as a menu opens it", 8, 1, BarKey::Enter, 0,
         {1, kNoPage, {}, KeyAction::OpenFolderMenu}},
        {"enter on a group with the menu's run type opens its box", 8, 2, BarKey::Enter, 0,
         {2, kNoPage, {}, KeyAction::OpenGroup}},
        {"menu key at the focused button", 4, 1, BarKey::Menu, 0, {1, kNoPage, {}, KeyAction::EntryMenu}},
        {"menu key on an empty slot", 4, 2, BarKey::Menu, 0, {2, kNoPage, {}, KeyAction::EntryMenu}},
        {"menu key with nothing focused", 4, -1, BarKey::Menu, 0, {-1, kNoPage, {}, KeyAction::None}},
        {"escape lets go", 0, 2, BarKey::Escape, 0, {2, kNoPage, {}, KeyAction::Release}},
        {"escape with nothing focused", 0, -1, BarKey::Escape, 0, {-1, kNoPage, {}, KeyAction::Release}},
        {"letter on the same page", 0, 0, BarKey::Character, U'b', {1, kNoPage, {}, KeyAction::None}},
        {"capital letter matches lower case", 0, 0, BarKey::Character, U'B', {1, kNoPage, {}, KeyAction::None}},
        {"letter on another page", 0, 0, BarKey::Character, U'z', {1, kNoPage, 4, KeyAction::None}},
        {"letter wraps round to the start", 4, 3, BarKey::Character, U'a', {0, kNoPage, 0, KeyAction::None}},
        {"letter of the focused entry only", 0, 0, BarKey::Character, U'a', {0, kNoPage, {}, KeyAction::None}},
        {"letter of nothing", 0, 1, BarKey::Character, U'q', {1, kNoPage, {}, KeyAction::None}},
        {"letter skips empty slots titled alike", 0, 1, BarKey::Character, U'g', {3, kNoPage, {}, KeyAction::None}},
        {"half-width kana typed", 0, 0, BarKey::Character, U'ｶ', {3, kNoPage, 4, KeyAction::None}},
        {"full-width voiced kana typed", 0, 0, BarKey::Character, U'ガ', {0, kNoPage, 4, KeyAction::None}},
        {"full-width letter typed", 0, 0, BarKey::Character, U'Ｂ', {1, kNoPage, {}, KeyAction::None}},
        {"home with nothing focused", 4, -1, BarKey::Home, 0, {0, kNoPage, 0, KeyAction::None}},
    };
    for (const KeyCase& c : cases) {
        const KeyResult got = HandleBarKey({4, c.offset, c.focused}, store, c.key, c.typed);
        EXPECT_EQ(got.focus, c.expected.focus) << c.name;
        EXPECT_EQ(got.page, c.expected.page) << c.name;
        EXPECT_EQ(got.offset, c.expected.offset) << c.name;
        EXPECT_EQ(got.action, c.expected.action) << c.name;
    }
}

TEST(BarKeys, NothingRegisteredOrNoButtons) {
    EntryStore empty;
    empty.slots.resize(4);
    EXPECT_EQ(HandleBarKey({4, 0, 1}, empty, BarKey::Home), (KeyResult{1, {}, {}, KeyAction::None}));
    EXPECT_EQ(HandleBarKey({4, 0, 1}, empty, BarKey::End), (KeyResult{1, {}, {}, KeyAction::None}));
    EXPECT_EQ(HandleBarKey({4, 0, 1}, empty, BarKey::Character, U'a'), (KeyResult{1, {}, {}, KeyAction::None}));
    EXPECT_EQ(HandleBarKey({0, 0, -1}, Store(), BarKey::Forward), (KeyResult{-1, {}, {}, KeyAction::None}))
        << "a bar without buttons has nothing to focus";
    EXPECT_EQ(HandleBarKey({4, 0, 9}, Store(), BarKey::Back).focus, 2) << "a stale focus past the page is clamped";
}

TEST(BarKeys, KeysAlongTheBarOnly) {
    const struct {
        int key;
        bool shift;
        bool horizontal;
        std::optional<BarKey> expected;
    } cases[] = {
        {0x25, false, true, BarKey::Back},     {0x27, false, true, BarKey::Forward},
        {0x26, false, true, std::nullopt},     {0x28, false, true, std::nullopt},
        {0x26, false, false, BarKey::Back},    {0x28, false, false, BarKey::Forward},
        {0x25, false, false, std::nullopt},    {0x27, false, false, std::nullopt},
        {0x24, false, false, BarKey::Home},    {0x23, false, true, BarKey::End},
        {0x21, false, false, BarKey::PageUp},  {0x22, false, false, BarKey::PageDown},
        {0x0D, false, false, BarKey::Enter},   {0x5D, false, false, BarKey::Menu},
        {0x79, true, false, BarKey::Menu},     {0x79, false, false, std::nullopt},
        {0x1B, false, true, BarKey::Escape},   {0x70, false, true, std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(BarKeyOf(c.key, c.shift, c.horizontal), c.expected)
            << "key " << c.key << " shift " << c.shift << " horizontal " << c.horizontal;
}

TEST(BarKeys, TitleMatchingAcrossWidthsAndCase) {
    const struct {
        const char* title;
        char32_t typed;
        bool matches;
    } cases[] = {
        {"Alpha", U'a', true},        {"alpha", U'A', true},        {"Alpha", U'ａ', true},
        {"Ａlpha", U'a', true},        {"ａlpha", U'Ａ', true},       {"Alpha", U'b', false},
        {"ｶﾒﾗ", U'カ', true},          {"カメラ", U'ｶ', true},         {"ｶﾒﾗ", U'ｶ', true},
        {"ｶﾞｲﾄﾞ", U'ガ', true},        {"ｶﾞｲﾄﾞ", U'カ', false},       {"ガイド", U'ｶ', false},
        {"ﾊﾟﾝ", U'パ', true},          {"ﾊﾞｽ", U'バ', true},          {"ﾊﾟﾝ", U'バ', false},
        {"ｳﾞｨｰﾅｽ", U'ヴ', true},       {"ｦﾀ", U'ヲ', true},           {"ｯﾄ", U'ッ', true},
        {"ｰﾊﾞｰ", U'ー', true},         {"かめら", U'カ', true},        {"", U'a', false},
        {"1st", U'１', true},          {"\xff", U'a', false},          {"Alpha", 0, false},
        // Hiragana are their katakana; the voiced marks still tell kana apart.
        {"ヒント", U'ひ', true},       {"ﾋﾝﾄ", U'ひ', true},          {"ひらがな", U'ﾋ', true},
        {"ひらがな", U'ヒ', true},     {"ﾋﾞﾃﾞｵ", U'び', true},        {"ﾋﾞﾃﾞｵ", U'ひ', false},
        {"ビデオ", U'ひ', false},      {"ぴあの", U'ピ', true},        {"ぴあの", U'ビ', false},
        {"ﾊﾟﾝ", U'ぱ', true},          {"ﾊﾟﾝ", U'ば', false},         {"ゔぁ", U'ヴ', true},
        {"ぁ", U'ァ', true},           {"ぁ", U'ア', false},          {"ゞ", U'ヾ', true},
        {"ゟ", U'ヿ', false},          {"ん", U'ﾝ', true},            {"ゖ", U'ヶ', true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TitleStartsWith(c.title, c.typed), c.matches)
            << c.title << " typed U+" << std::hex << static_cast<uint32_t>(c.typed);
}

TEST(BarKeys, AnUntitledEntryIsFoundByItsFileName) {
    EntryStore store;
    store.slots = {
        {"", "C:\\Tools\\Xedit.exe", "", "0", "", "0"}, {"", " [ｸﾞﾙｰﾌﾟ] ", "", "0", "", "0"},
        {"", "D:\\Docs\\", "", "0", "", "0"},            {"Stale", "  ", "", "", "", ""},
    };
    store.LastEntryIndex = 3;
    const struct {
        int focused;
        char32_t typed;
        int expected;
    } cases[] = {
        {2, U'x', 0},   // its program's file name, not the empty title
        {0, U'ぐ', 1},  // a group by its name without the brackets
        {1, U'c', 1},   // not by the drive the path starts with
        {1, U'D', 2},   // a folder by its own name
        {2, U's', 2},   // a blank path is a free slot, whatever its title
    };
    for (const auto& c : cases)
        EXPECT_EQ(HandleBarKey({4, 0, c.focused}, store, BarKey::Character, c.typed).focus, c.expected)
            << "typed U+" << std::hex << static_cast<uint32_t>(c.typed);
}

TEST(BarKeys, TypeAheadTakesCharactersButNotControlsOrHalfPairs) {
    const struct {
        char32_t c;
        bool taken;
    } cases[] = {
        {U'a', true},   {U' ', true},    {U'ｶ', true},    {0x1F600, true},  {0x08, false},
        {0x0D, false},  {0x1B, false},   {0x7F, false},   {0xD83D, false},  {0xDE00, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsTypeAheadCharacter(c.c), c.taken) << "U+" << std::hex << static_cast<uint32_t>(c.c);
    int asked = 0;
    EXPECT_EQ(NextStartingWith(3, 0, 0x08, [&](int) { return ++asked, std::string("x"); }), std::nullopt);
    EXPECT_EQ(asked, 0) << "a control character looks at no name";
    EXPECT_EQ(NextStartingWith(0, -1, U'a', [](int) { return std::string("a"); }), std::nullopt);
}
