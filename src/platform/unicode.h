#pragma once
#include <string>
#include <string_view>

namespace tavi {

// The code point at `offset` in UTF-8 text, advancing `offset` past it. A
// byte that does not start a well-formed sequence gives U+FFFD and costs one
// byte, so bad input never stops a loop.
char32_t NextCodePoint(std::string_view utf8, size_t& offset);
void AppendUtf8(std::string& out, char32_t codePoint);
// True when every byte belongs to a well-formed UTF-8 sequence.
bool IsValidUtf8(std::string_view text);

}  // namespace tavi
