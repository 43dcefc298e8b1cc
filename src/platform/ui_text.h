#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// The texts of the user interface in every language the program speaks,
// from the tables under res/lang/ (cmake/make_texts.py compiles them).
namespace tavi {

// One text of the interface, shown in the language chosen for this run.
// Keep the UiText, not what it reads now, in anything made before the
// language is chosen (tables initialised at start-up).
class UiText {
public:
    constexpr explicit UiText(uint16_t id) : id_(id) {}
    operator std::string_view() const;
    std::string_view View() const { return *this; }
    friend bool operator==(UiText text, std::string_view other) { return text.View() == other; }

private:
    uint16_t id_;
};

// One language's table, as compiled from its texts.txt.
struct LanguageTable {
    std::string_view code;     // "ja", "en": the value of the setting Language
    std::string_view name;     // the language's name in itself, for the options dialog
    uint16_t windowsLanguage;  // the LANGID of its dialog templates
    const std::string_view* texts;  // one a key; no data where the language has none
    std::span<const std::string_view> beyond;  // keys the Japanese table does not have
};

// Every language, Japanese first.
std::span<const LanguageTable> LanguageTables();
// The keys of the texts, in the order of their ids ("MenuExit", "OptionPositions[2]").
std::span<const std::string_view> TextNames();

// The language of a code such as "en" (blanks and case aside), if there is one.
std::optional<size_t> LanguageNamed(std::string_view code);
// The language for a Windows user-interface language (a LANGID) and the
// setting Language: the setting's language when it names one, else the one
// of Windows' primary language, else English. Returns an index into
// LanguageTables().
size_t LanguageFor(uint16_t windowsUiLanguage, std::string_view setting);
// The language every UiText reads from now on; Japanese until set.
void UseLanguage(size_t index);
size_t LanguageInUse();
const LanguageTable& CurrentLanguage();
// Where what a language lacks (a text, a dialog template) comes from, in
// order: the language itself, English, Japanese.
std::array<size_t, 3> FallbacksOf(size_t language);

// A text with placeholders filled: "{title} を削除します" with {"title", "メモ帳"}.
// "{minute:02}" pads the value with zeros to two characters. A placeholder
// without a value stays as written; values are put in as they are, never
// read for placeholders themselves.
std::string Fill(std::string_view format,
                 std::initializer_list<std::pair<std::string_view, std::string_view>> values);
// The names of the placeholders of a text, in order ("{minute:02}" is "minute").
std::vector<std::string_view> PlaceholdersOf(std::string_view format);

}  // namespace tavi
