#pragma once
#include <string>
#include <string_view>

namespace tavi {

// Converts between UTF-8 (inside the program) and the system's ANSI code
// page (in its files; 932 on Japanese Windows). Bytes that are not valid in
// the code page become U+FFFD rather than ending the text.
class CodePage {
public:
    virtual ~CodePage() = default;
    virtual std::string ToUtf8(std::string_view ansi) = 0;
    virtual std::string FromUtf8(std::string_view utf8) = 0;
};

}  // namespace tavi
