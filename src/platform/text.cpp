#include "platform/text.h"

#include <cmath>
#include <cstdlib>
#include <limits>

#include "platform/unicode.h"

namespace tavi {

std::vector<std::string_view> FileLines(std::string_view bytes, size_t most) {
    std::vector<std::string_view> lines;
    for (size_t start = 0; start < bytes.size() && lines.size() < most;) {
        size_t end = bytes.find('\n', start);
        if (end == std::string_view::npos) end = bytes.size();
        std::string_view line = bytes.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

std::string AddBackslash(std::string_view path) {
    std::string result(path);
    if (result.empty() || result.back() != '\\') result += '\\';
    return result;
}

std::string QuoteIfSpaced(std::string_view path) {
    if (path.find(' ') == std::string_view::npos) return std::string(path);
    return "\"" + std::string(path) + "\"";
}

std::string GetExtension(std::string_view path) {
    for (size_t i = path.size(); i-- > 0;) {
        if (path[i] == '\\') return {};
        if (path[i] == '.') return std::string(path.substr(i));
    }
    return {};
}

std::string GetFileName(std::string_view path) {
    const size_t slash = path.rfind('\\');
    return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

std::string GetFolderName(std::string_view path, std::string_view currentDirectory) {
    std::string normalised(path);
    for (char& c : normalised)
        if (c == '/') c = '\\';
    const size_t slash = normalised.rfind('\\');
    if (slash == std::string::npos) return std::string(currentDirectory);
    std::string folder = normalised.substr(0, slash);
    while (folder.size() > 2 && folder.back() == '\\') folder.pop_back();
    return folder;
}

std::string TrimLeadingSpaces(std::string_view text) {
    const size_t first = text.find_first_not_of(' ');
    return first == std::string_view::npos ? std::string() : std::string(text.substr(first));
}

std::string TrimSpaces(std::string_view text) {
    const size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    const size_t last = text.find_last_not_of(' ');
    return std::string(text.substr(first, last - first + 1));
}

bool IsBlank(std::string_view text) { return text.find_first_not_of(' ') == std::string_view::npos; }

std::string_view Unquoted(std::string_view text) {
    if (text.size() >= 2 && text.front() == '"' && text.back() == '"') return text.substr(1, text.size() - 2);
    return text;
}

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsNumberBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

// Parses [sign] digits [. digits] [E|D [sign] digits]; blanks between the
// parts are skipped as the old run time did ("1 2" is 12). Returns how many
// characters formed the number (0 when none).
size_t ParseNumber(std::string_view text, double& value) {
    size_t i = 0;
    auto skipBlanks = [&] {
        while (i < text.size() && IsNumberBlank(text[i])) ++i;
    };
    skipBlanks();
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    std::string digits;
    bool anyDigit = false;
    bool seenPoint = false;
    size_t end = 0;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (IsDigit(c)) {
            digits += c;
            anyDigit = true;
            end = i + 1;
        } else if (c == '.' && !seenPoint) {
            digits += c;
            seenPoint = true;
        } else if (!IsNumberBlank(c)) {
            break;
        }
    }
    if (!anyDigit) {
        value = 0;
        return 0;
    }
    if (i < text.size() && (text[i] == 'E' || text[i] == 'e' || text[i] == 'D' || text[i] == 'd')) {
        size_t j = i + 1;
        std::string exponent = "e";
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) exponent += text[j++];
        bool expDigit = false;
        while (j < text.size() && IsDigit(text[j])) {
            exponent += text[j++];
            expDigit = true;
        }
        if (expDigit) {
            digits += exponent;
            end = j;
        }
    }
    value = std::strtod(digits.c_str(), nullptr);
    if (negative) value = -value;
    return end;
}

}  // namespace

double LeadingNumber(std::string_view text) {
    double value = 0;
    ParseNumber(text, value);
    return std::isfinite(value) ? value : 0;
}

bool IsNumeric(std::string_view text) {
    const std::string trimmed = TrimSpaces(text);
    if (trimmed.empty()) return false;
    double value = 0;
    const size_t used = ParseNumber(trimmed, value);
    if (used == 0 || !std::isfinite(value)) return false;
    for (size_t i = used; i < trimmed.size(); ++i)
        if (!IsNumberBlank(trimmed[i])) return false;
    return true;
}

bool RoundToInt32(double value, int32_t& result) {
    if (!std::isfinite(value)) return false;
    const double rounded = std::nearbyint(value);  // default rounding mode: half to even
    if (rounded < std::numeric_limits<int32_t>::min() || rounded > std::numeric_limits<int32_t>::max())
        return false;
    result = static_cast<int32_t>(rounded);
    return true;
}

int32_t LeadingInt(std::string_view text, int32_t fallback) {
    int32_t result = fallback;
    return RoundToInt32(LeadingNumber(text), result) ? result : fallback;
}

namespace {

// Byte offset of character `index`, or the text's size when there are fewer.
size_t ByteOffset(std::string_view utf8, size_t index) {
    size_t offset = 0;
    for (; index > 0 && offset < utf8.size(); --index) NextCodePoint(utf8, offset);
    return offset < utf8.size() ? offset : utf8.size();
}

}  // namespace

size_t CharCount(std::string_view utf8) {
    size_t count = 0;
    for (size_t offset = 0; offset < utf8.size(); ++count) NextCodePoint(utf8, offset);
    return count;
}

std::string CharMid(std::string_view utf8, size_t start, size_t count) {
    const size_t begin = ByteOffset(utf8, start);
    if (count == std::string_view::npos) return std::string(utf8.substr(begin));
    const size_t end = begin + ByteOffset(utf8.substr(begin), count);
    return std::string(utf8.substr(begin, end - begin));
}

std::string FixedWidth(std::string_view utf8, size_t width) {
    std::string result = CharMid(utf8, 0, width);
    const size_t count = CharCount(result);
    if (count < width) result.append(width - count, ' ');
    return result;
}

std::string ReplaceChar(std::string_view utf8, size_t index, std::string_view with) {
    if (with.empty() || index >= CharCount(utf8)) return std::string(utf8);
    const size_t begin = ByteOffset(utf8, index);
    size_t end = begin;
    NextCodePoint(utf8, end);
    return std::string(utf8.substr(0, begin)) + CharMid(with, 0, 1) + std::string(utf8.substr(end));
}

std::string ToUpperAscii(std::string_view text) {
    std::string result(text);
    for (char& c : result)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return result;
}

std::string WithLiteralAmpersands(std::string_view text) {
    std::string shown;
    shown.reserve(text.size());
    for (const char c : text) {
        shown += c;
        if (c == '&') shown += '&';
    }
    return shown;
}

bool SamePathText(std::string_view a, std::string_view b) {
    const auto same = [](char x, char y) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
        const auto separator = [](char c) { return c == '\\' || c == '/'; };
        return lower(x) == lower(y) || (separator(x) && separator(y));
    };
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), same);
}

bool StartsWith(std::string_view text, std::string_view prefix) { return text.substr(0, prefix.size()) == prefix; }
bool EndsWith(std::string_view text, std::string_view suffix) {
    return text.size() >= suffix.size() && text.substr(text.size() - suffix.size()) == suffix;
}
bool Contains(std::string_view text, std::string_view part) { return text.find(part) != std::string_view::npos; }

}  // namespace tavi
