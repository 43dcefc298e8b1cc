#pragma once
#include <string_view>

// How Windows converts code page 932, checked against the host codec in the
// unit tests and against the system in the Windows tests.
namespace tavi::code_page_cases {

using namespace std::string_view_literals;

struct Case {
    const char* what;
    std::string_view ansi;
    std::string_view utf8;
};

// Converts both ways unchanged.
inline constexpr Case kRoundTrips[] = {
    {"half-width katakana", "\xB4\xB8\xBD\xCC\xDF\xDB\xB0\xD7", "ｴｸｽﾌﾟﾛｰﾗ"},
    {"kanji and kana", "\x90\xDD\x92\xE8\x83\x74\x83\x40\x83\x43\x83\x8B", "設定ファイル"},
    {"full-width space", "a\x81\x40z", "a\u3000z"},
    {"backslash and tilde stay ASCII", "C:\\~1", "C:\\~1"},
    {"wave dash", "\x81\x60", "\uFF5E"},
    {"NEC special character", "\x87\x40", "\u2460"},
    {"IBM extension", "\xFA\x40", "\u2170"},
    {"user-defined area", "\xF0\x40", "\uE000"},
    {"single bytes that are no character", "\x80\xA0\xFD\xFE\xFF", "\u0080\uF8F0\uF8F1\uF8F2\uF8F3"},
};

// Bytes that are not valid: one U+30FB for a lead byte and the byte after it,
// and the text goes on.
inline constexpr Case kBadBytes[] = {
    {"lead byte before a space", "a\x81 b", "a\u30FBb"},
    {"lead byte before a line feed", "\x81\nb", "\u30FBb"},
    {"lead byte at the end", "ab\x81", "ab\u30FB"},
    {"lead byte before NUL", "\x81\0z"sv, "\u30FB\0z"sv},
    {"unassigned row", "\x85\x40z", "\u30FBz"},
};

// Characters the code page lacks.
inline constexpr Case kUnmappable[] = {
    {"e acute as e", "e", "\u00E9"},
    {"yen sign as backslash", "\\", "\u00A5"},
    {"hiragana vu as katakana vu", "\x83\x94", "\u3094"},
    {"JIS wave dash", "?", "\u301C"},
    {"minus sign", "?", "\u2212"},
    {"check mark", "?", "\u2713"},
    {"emoji, two UTF-16 units", "??", "\U0001F600"},
};

}  // namespace tavi::code_page_cases
