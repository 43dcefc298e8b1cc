#include "platform/ui_text.h"

#include <algorithm>
#include <optional>

#include "platform/text.h"

namespace tavi {
namespace {

size_t current = 0;

// The language shown where a table lacks a text, and where Windows speaks
// none of the tables' languages.
constexpr std::string_view kFallbackCode = "en";

constexpr uint16_t PrimaryLanguage(uint16_t langId) { return langId & 0x3FF; }

// "{name}" or "{name:0N}" at `at`: its name, its width, and its length.
struct Placeholder {
    std::string_view name;
    size_t width = 0;
    size_t length = 0;
};

std::optional<Placeholder> PlaceholderAt(std::string_view text, size_t at) {
    if (text[at] != '{') return std::nullopt;
    const size_t close = text.find('}', at + 1);
    if (close == std::string_view::npos) return std::nullopt;
    std::string_view inside = text.substr(at + 1, close - at - 1);
    Placeholder found;
    found.length = close - at + 1;
    if (const size_t colon = inside.find(':'); colon != std::string_view::npos) {
        const std::string_view width = inside.substr(colon + 1);
        if (width.size() != 2 || width[0] != '0' || width[1] < '1' || width[1] > '9') return std::nullopt;
        found.width = static_cast<size_t>(width[1] - '0');
        inside = inside.substr(0, colon);
    }
    if (inside.empty() || !std::all_of(inside.begin(), inside.end(), [](char c) {
            return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
        }))
        return std::nullopt;
    found.name = inside;
    return found;
}

// The text `id` of a language, from the first of its fallbacks that has it.
std::string_view TextIn(size_t language, uint16_t id) {
    if (id >= TextNames().size()) return {};
    for (const size_t from : FallbacksOf(language))
        if (const std::string_view text = LanguageTables()[from].texts[id]; text.data()) return text;
    return {};
}

}  // namespace

UiText::operator std::string_view() const { return TextIn(current, id_); }

std::optional<size_t> LanguageNamed(std::string_view code) {
    const std::string wanted = ToUpperAscii(TrimSpaces(code));
    const auto tables = LanguageTables();
    for (size_t i = 0; i < tables.size(); ++i)
        if (ToUpperAscii(tables[i].code) == wanted) return i;
    return std::nullopt;
}

size_t LanguageFor(uint16_t windowsUiLanguage, std::string_view setting) {
    if (const auto chosen = LanguageNamed(setting)) return *chosen;
    const auto tables = LanguageTables();
    for (size_t i = 0; i < tables.size(); ++i)
        if (PrimaryLanguage(tables[i].windowsLanguage) == PrimaryLanguage(windowsUiLanguage)) return i;
    return LanguageNamed(kFallbackCode).value_or(0);
}

void UseLanguage(size_t index) { current = index < LanguageTables().size() ? index : 0; }

size_t LanguageInUse() { return current; }

const LanguageTable& CurrentLanguage() { return LanguageTables()[current]; }

std::array<size_t, 3> FallbacksOf(size_t language) {
    return {language < LanguageTables().size() ? language : 0, LanguageNamed(kFallbackCode).value_or(0), 0};
}

std::string Fill(std::string_view format,
                 std::initializer_list<std::pair<std::string_view, std::string_view>> values) {
    std::string out;
    size_t at = 0;
    while (at < format.size()) {
        const auto placeholder = PlaceholderAt(format, at);
        const auto value = placeholder ? std::find_if(values.begin(), values.end(),
                                                      [&](const auto& v) { return v.first == placeholder->name; })
                                       : values.end();
        if (value == values.end()) {
            out += format[at++];
            continue;
        }
        if (value->second.size() < placeholder->width) out.append(placeholder->width - value->second.size(), '0');
        out += value->second;
        at += placeholder->length;
    }
    return out;
}

std::vector<std::string_view> PlaceholdersOf(std::string_view format) {
    std::vector<std::string_view> names;
    for (size_t at = 0; at < format.size(); ++at)
        if (const auto placeholder = PlaceholderAt(format, at)) {
            names.push_back(placeholder->name);
            at += placeholder->length - 1;
        }
    return names;
}

}  // namespace tavi
