#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Text helpers shared by the whole program. Text is UTF-8; "characters" are
// Unicode code points, as the files' users count them.
namespace tavi {

// The path with one "\" appended when its last character is not "\".
std::string AddBackslash(std::string_view path);
// The lines of a file of ours, LF or CR LF ended; a last line break ends the
// last line. `most`: no more than these first lines.
std::vector<std::string_view> FileLines(std::string_view bytes, size_t most = SIZE_MAX);
// The path in double quotes when it contains a space, else unchanged.
std::string QuoteIfSpaced(std::string_view path);
// From the last "." to the end, dot included; empty when a "\" comes first or there is no ".".
std::string GetExtension(std::string_view path);
// The part after the last "\"; the whole text when there is none.
std::string GetFileName(std::string_view path);
// The folder of a path ("/" read as "\"), without a trailing "\"; a drive root
// gives "C:"; a bare name gives `currentDirectory`.
std::string GetFolderName(std::string_view path, std::string_view currentDirectory);

// Spaces only, as the settings and entry files are trimmed; tabs are data.
std::string TrimSpaces(std::string_view text);
std::string TrimLeadingSpaces(std::string_view text);
bool IsBlank(std::string_view text);
// A text written in double quotes, without them; as it stands otherwise.
std::string_view Unquoted(std::string_view text);

// The leading decimal number of a text: blanks are skipped, a sign, digits, a
// fraction and an exponent are taken; text that starts otherwise gives 0.
double LeadingNumber(std::string_view text);
// A whole text that reads as a number (surrounding spaces allowed).
bool IsNumeric(std::string_view text);
// Rounds half to even into [min, max]; false when out of range or not finite.
bool RoundToInt32(double value, int32_t& result);
// LeadingNumber rounded half to even, or `fallback` when it does not fit 32 bits.
int32_t LeadingInt(std::string_view text, int32_t fallback = 0);

size_t CharCount(std::string_view utf8);
// Up to `count` characters from character `start` (0-based).
std::string CharMid(std::string_view utf8, size_t start, size_t count = std::string_view::npos);
// The text cut or padded with spaces to exactly `width` characters.
std::string FixedWidth(std::string_view utf8, size_t width);
// Replaces the character at `index` with the first character of `with`
// (nothing happens when either is out of range).
std::string ReplaceChar(std::string_view utf8, size_t index, std::string_view with);

// ASCII letters upper-cased; everything else kept.
std::string ToUpperAscii(std::string_view text);
// Whether two file names or paths are the same as the file system has them:
// ASCII letters without case, and either slash as a separator.
bool SamePathText(std::string_view a, std::string_view b);
// A name shown in a menu as it is: each "&" doubled, so that none is taken
// for an access key ("Tom & Jerry" would show "Tom _Jerry").
std::string WithLiteralAmpersands(std::string_view text);
bool StartsWith(std::string_view text, std::string_view prefix);
bool EndsWith(std::string_view text, std::string_view suffix);
bool Contains(std::string_view text, std::string_view part);

}  // namespace tavi
