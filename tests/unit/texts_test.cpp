// The languages of the interface: every table complete, the language a
// start chooses, and texts with placeholders filled.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>

#include "dialogs/entry_search_box.h"
#include "dialogs/file_information.h"
#include "platform/messages.h"
#include "platform/unicode.h"

using namespace tavi;

namespace {

// Kana, the CJK punctuation and ideographs, and the full- and half-width forms.
bool IsJapaneseCharacter(char32_t c) {
    return (c >= 0x3000 && c <= 0x30FF) || (c >= 0x31F0 && c <= 0x31FF) || (c >= 0x3400 && c <= 0x4DBF) ||
           (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFF00 && c <= 0xFFEF);
}

bool HoldsJapanese(std::string_view text) {
    for (size_t at = 0; at < text.size();)
        if (IsJapaneseCharacter(NextCodePoint(text, at))) return true;
    return false;
}

std::vector<std::string_view> SortedPlaceholders(std::string_view text) {
    std::vector<std::string_view> names = PlaceholdersOf(text);
    std::sort(names.begin(), names.end());
    return names;
}

// The language of each test is the one it chooses; the others find Japanese.
class InLanguage : public ::testing::Test {
protected:
    void TearDown() override { UseLanguage(0); }
    static void Use(std::string_view code) { UseLanguage(*LanguageNamed(code)); }
};

}  // namespace

TEST(LanguageTables, JapaneseFirstThenEnglish) {
    ASSERT_GE(LanguageTables().size(), 2u);
    EXPECT_EQ(LanguageTables()[0].code, "ja");
    EXPECT_TRUE(LanguageNamed("en").has_value());
}

// What the test command asks of every language: a text for each key of the
// Japanese table and no key beyond them, the same placeholders, and no
// Japanese in a translation. One line per fault, naming key and language.
TEST(LanguageTables, EveryLanguageHasEveryTextWithTheSamePlaceholders) {
    const auto tables = LanguageTables();
    const auto names = TextNames();
    std::ostringstream faults;
    for (const LanguageTable& language : tables) {
        for (std::string_view beyond : language.beyond)
            faults << language.code << ": " << beyond << " is no key of the Japanese table\n";
        for (size_t id = 0; id < names.size(); ++id) {
            const std::string_view text = language.texts[id];
            if (!text.data()) {
                faults << language.code << ": " << names[id] << " has no text\n";
                continue;
            }
            if (SortedPlaceholders(text) != SortedPlaceholders(tables[0].texts[id]))
                faults << language.code << ": " << names[id] << " has other placeholders than in Japanese\n";
            if (language.code != "ja" && HoldsJapanese(text))
                faults << language.code << ": " << names[id] << " holds Japanese characters\n";
        }
    }
    EXPECT_EQ(faults.str(), "");
}

// A text added the way texts were once added, straight into the header,
// would have no translation: the header holds none.
TEST(LanguageTables, TheHeaderOfTextsHoldsNoJapaneseText) {
    std::ifstream header(TAVI_SOURCE_DIR "/src/platform/messages.h", std::ios::binary);
    ASSERT_TRUE(header) << "src/platform/messages.h";
    const std::string content((std::istreambuf_iterator<char>(header)), std::istreambuf_iterator<char>());
    std::istringstream lines(content);
    std::string line;
    for (int number = 1; std::getline(lines, line); ++number)
        EXPECT_FALSE(HoldsJapanese(line)) << "messages.h:" << number << ": " << line
                                          << " belongs in res/lang/ja/texts.txt and its translations";
}

TEST(LanguageChoice, TheSettingThenWindowsPrimaryLanguageThenEnglish) {
    const struct {
        uint16_t windows;  // GetUserDefaultUILanguage
        const char* setting;
        const char* chosen;
    } cases[] = {
        {0x0411, "", "ja"},     // Japanese Windows
        {0x0409, "", "en"},     // English (United States)
        {0x0809, "", "en"},     // English (United Kingdom): the primary language decides
        {0x0407, "", "en"},     // German: no table, English
        {0x0401, "", "en"},     // Arabic, right to left: English, left to right
        {0x040D, "", "en"},     // Hebrew, right to left
        {0x0804, "", "en"},     // Chinese (Simplified)
        {0x0000, "", "en"},     // a language Windows did not name
        {0x0411, "en", "en"},   // the setting overrides Windows
        {0x0409, "ja", "ja"},
        {0x0409, " JA ", "ja"},  // as an INI value may be written
        {0x0411, "fr", "ja"},   // an unknown value follows Windows
        {0x0409, "fr", "en"},
        {0x0409, "日本語", "en"},
        {0x0411, "e", "ja"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(LanguageTables()[LanguageFor(c.windows, c.setting)].code, c.chosen)
            << std::hex << c.windows << " with \"" << c.setting << "\"";
}

TEST_F(InLanguage, TextsFollowTheLanguageInUse) {
    const std::string_view title = "メモ帳　C:\\Program Files\\한국어";
    const struct {
        const char* code;
        const char* exit;
        std::string date;
        std::string where;
    } cases[] = {
        {"ja", "終了(&X)", "2003年4月5日 土曜日 9:5:7", "2ﾍﾟｰｼﾞの3番目"},
        {"en", "E&xit", "Saturday, 4/5/2003 9:05:07", "Page 2, button 3"},
    };
    for (const auto& c : cases) {
        Use(c.code);
        EXPECT_EQ(text::kMenuExit, c.exit) << c.code;
        EXPECT_EQ(FormatFileTime({2003, 4, 5, 6, 9, 5, 7}), c.date) << c.code;
        EXPECT_EQ(SearchWhereOnBar(14, 12), c.where) << c.code;
        // Titles and paths in any script come through unchanged.
        EXPECT_NE(Fill(text::kConfirmDelete, {{"title", title}}).find(title), std::string::npos) << c.code;
    }
}

TEST(Fill, PlaceholdersTakeTheirValuesOnce) {
    const struct {
        const char* format;
        const char* expected;
    } cases[] = {
        {"{title} を {target} へ移動します", "\"A\" を {title} へ移動します"},
        {"Move {title} to {target}?", "Move \"A\" to {title}?"},
        {"{target}{title}", "{title}\"A\""},  // another order, nothing between
        {"{minute:02}:{second:02}", "05:12"},
        {"{minute}:{second}", "5:12"},
        {"{unknown} stays", "{unknown} stays"},
        {"{title", "{title"},
        {"{}{:02}{title:2}{title:00}", "{}{:02}{title:2}{title:00}"},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Fill(c.format, {{"title", "\"A\""}, {"target", "{title}"}, {"minute", "5"}, {"second", "12"}}),
                  c.expected)
            << c.format;
}
